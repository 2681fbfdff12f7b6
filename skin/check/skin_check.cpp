// The skin check: the text of the skin file (encoding, sections, keys, values), then the files,
// cells and areas it names, and last the calculator's own loader.
#include "skin/check/skin_check.h"

#include "engine/key_table.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "platform/text.h"
#include "skin/skin_ini.h"
#include "skin/surface_bank.h"
#include "skin/check/key_words.h"
#include "skin/check/skin_check_internal.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <set>

namespace skintool {

namespace {

constexpr char16_t Absent[] = u"---";

struct KeyFamily {
    const char16_t* section;
    const char* prefix;   // key names: prefix and a number of `digits` digits, 1 to `count`
    int digits;
    int count;
};
constexpr KeyFamily CharKeys = {u"CHARACTER", "CHAR", 3, CellCount};
constexpr KeyFamily AreaKeys = {u"AREA", "AREA", 2, AreaCount};
constexpr KeyFamily SoundKeys = {u"SOUND", "SOUND", 2, SoundCount};

std::string NumberedKey(const char* prefix, int digits, int n)
{
    std::string number = std::to_string(n);
    return prefix + std::string(number.size() < size_t(digits) ? size_t(digits) - number.size() : 0, '0') + number;
}

std::u16string ReadValue(const SkinFacts& facts, const char16_t* section, const std::string& key)
{
    WCHAR value[SkinFieldSize];
    std::u16string wideKey = Utf16Of(key);
    ReadSkinValue(section, wideKey.c_str(), Absent, value, facts.location->devicePath.c_str());
    return value;
}

std::string LinesText(const std::vector<int>& lines)
{
    if (lines.size() == 1) return "";
    return " (and " + std::to_string(lines.size() - 1) + " more line" + (lines.size() > 2 ? "s" : "") + ")";
}

// ---- The text of the file ----

std::string EncodingName(SkinEncoding encoding)
{
    switch (encoding) {
    case SkinEncoding::Utf16Le: return "UTF-16 (little-endian)";
    case SkinEncoding::Utf16Be: return "UTF-16 (big-endian)";
    case SkinEncoding::Utf8WithMark:
    case SkinEncoding::Utf8: return "UTF-8";
    case SkinEncoding::CodePage932: return "code page 932 (Shift JIS)";
    }
    return "";
}

void CheckEncoding(SkinFacts& facts)
{
    const SkinSource& source = facts.source;
    if (!source.undecodedLines.empty()) {
        std::string what = source.encoding == SkinEncoding::CodePage932
                               ? "bytes that are neither UTF-8 nor code page 932 (Shift JIS)"
                               : "bytes that are not valid " + EncodingName(source.encoding);
        facts.Error(source.undecodedLines[0], "",
                    "holds " + what + "; the calculator reads them as U+FFFD" + LinesText(source.undecodedLines));
    }
    if (!source.nulLines.empty()) {
        bool wide = source.encoding != SkinEncoding::Utf16Le && source.encoding != SkinEncoding::Utf16Be &&
                    source.nulLines.size() * 2 >= size_t(source.pieces.empty() ? 1 : source.pieces.back().line);
        facts.Error(source.nulLines[0], "",
                    "holds NUL characters, where the reader's line ends" + LinesText(source.nulLines) +
                        (wide ? "; UTF-16 text needs a byte-order mark" : ""));
    }
    if (!source.loneReturnLines.empty())
        facts.Warning(source.loneReturnLines[0], "",
                      "holds a carriage return that is not part of a CR LF line end; the reader keeps it as part of "
                      "the text, and a line ended by a carriage return alone runs on" +
                          LinesText(source.loneReturnLines));
    for (int line : source.longLines)
        facts.Warning(line, "", "is longer than 259 characters; the reader takes what follows the 259th character "
                                "as a line of its own");
}

// "char5" or " AREA05" as the key it was probably meant to be; empty when it is none.
std::string IntendedKey(const std::u16string& written, const KeyFamily& family)
{
    std::string upper;
    for (char16_t c : written) {
        if (c == u' ' || c == u'\t') continue;
        if (c >= 0x80) return "";
        upper += char(std::toupper(int(c)));
    }
    size_t length = std::strlen(family.prefix);
    if (upper.compare(0, length, family.prefix) != 0 || upper.size() == length || upper.size() > length + 6) return "";
    int n = 0;
    for (size_t i = length; i < upper.size(); ++i) {
        if (!std::isdigit((unsigned char)upper[i])) return "";
        n = n * 10 + (upper[i] - '0');
    }
    if (n < 1 || n > family.count) return "";
    return NumberedKey(family.prefix, family.digits, n);
}

// "BACKIMAGE" written "backimage": the same key in other letter case or with blanks inside.
bool IntendedKeyIgnoringCase(const std::u16string& written, const std::string& key)
{
    std::string upper;
    for (char16_t c : written) {
        if (c == u' ' || c == u'\t') continue;
        if (c >= 0x80) return false;
        upper += char(std::toupper(int(c)));
    }
    return upper == key;
}

bool IsRemarkKey(const std::u16string& key)
{
    size_t first = key.find_first_not_of(u" \t");
    return first != std::u16string::npos && (key[first] == u';' || key[first] == u'#');
}

// Keys of a section that the calculator does not read, and keys written twice.
void CheckSectionKeys(SkinFacts& facts, const SectionView& view, const std::string& sectionName,
                      const std::set<std::string>& expected, const KeyFamily* family)
{
    std::set<std::u16string> seen;
    for (const KeyLine& line : view.keys) {
        std::string key = Utf8Of(line.key);
        if (expected.count(key)) {
            if (!seen.insert(line.key).second)
                facts.Warning(line.line, key,
                              "is written again; only its first line, " + std::to_string(FindKey(view, line.key)->line) +
                                  ", is read");
            continue;
        }
        if (IsRemarkKey(line.key)) continue;
        if (line.key.empty()) {
            facts.Warning(line.line, "", "begins with \"=\": a line without a key, ignored");
            continue;
        }
        std::string intended = family ? IntendedKey(line.key, *family) : "";
        if (!family) {
            for (const std::string& name : expected)
                if (IntendedKeyIgnoringCase(line.key, name)) intended = name;
        }
        facts.Warning(line.line, "",
                      "the key " + Quoted(line.key) + " is not one that [" + sectionName + "] holds; it is ignored" +
                          (intended.empty() ? "" : " (the calculator reads " + intended + ", written exactly so)"));
    }
    for (int line : view.linesWithoutEquals)
        facts.Warning(line, "", "is neither a key line (no \"=\"), a blank line nor a remark; it is ignored");
    for (int line : view.repeatedHeaders)
        facts.Warning(line, "", "repeats the header [" + sectionName + "]; the reader only searches the first, at line " +
                                    std::to_string(view.headerLine) + ", so the keys after this one are not read");
}

void CheckSectionPresent(SkinFacts& facts, const SectionView& view, const std::string& name, bool required)
{
    for (const NearHeader& near : NearHeaders(facts.source, Utf16Of(name))) {
        if (view.headerLine != 0 && near.line > view.headerLine) continue;
        facts.Warning(near.line, "", "is not read as the header [" + name + "]: " + near.problem);
    }
    if (view.headerLine == 0 && required)
        facts.Error(0, "", "there is no section [" + name + "] (a line that is exactly \"[" + name + "]\")");
}

// Why a key that the reader does not find is missing, where the file shows it.
std::string MissingKeyHint(const SectionView& view, const std::string& key, const KeyFamily* family)
{
    std::u16string wide = Utf16Of(key);
    if (const KeyLine* line = FindKey(view, wide))
        return "; line " + std::to_string(line->line) + " gives it the value \"---\", which counts as missing";
    for (const KeyLine& line : view.unreadKeys)
        if (line.key == wide)
            return "; line " + std::to_string(line.line) + " has it in a repeated section that is never read";
    for (const KeyLine& line : view.keys) {
        bool near = family ? IntendedKey(line.key, *family) == key : IntendedKeyIgnoringCase(line.key, key);
        if (near) return "; line " + std::to_string(line.line) + " writes it " + Quoted(line.key);
    }
    return "";
}

// ---- Values ----

bool IsSpaceUnit(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Where the reading of "%d,%d,%d,%d" stops, and numbers beyond 32 bits, found the way the
// device's runtime reads; the count itself always comes from swscanf.
struct NumberText {
    size_t end = 0;                   // where the reading stopped
    std::vector<std::string> wrapped; // numbers that do not fit in 32 bits
};

NumberText ScanNumberText(const std::u16string& value)
{
    NumberText scan;
    size_t i = 0;
    for (int n = 0; n < 4; ++n) {
        if (n > 0) {
            if (i >= value.size() || value[i] != u',') break;
            ++i;
        }
        size_t start = i;
        while (i < value.size() && IsSpaceUnit(value[i])) ++i;
        size_t sign = i;
        if (i < value.size() && (value[i] == u'+' || value[i] == u'-')) ++i;
        if (i >= value.size() || value[i] < u'0' || value[i] > u'9') {
            i = start;
            break;
        }
        uint64_t magnitude = 0;
        while (i < value.size() && value[i] >= u'0' && value[i] <= u'9') {
            if (magnitude < (uint64_t(1) << 40)) magnitude = magnitude * 10 + uint64_t(value[i] - u'0');
            ++i;
        }
        uint64_t limit = value[sign] == u'-' ? 2147483648u : 2147483647u;
        if (magnitude > limit) scan.wrapped.push_back(Utf8Of(value.substr(sign, i - sign)));
    }
    scan.end = i;
    return scan;
}

std::string ShortfallHint(const std::u16string& value, size_t stop)
{
    if (stop < value.size()) {
        char16_t c = value[stop];
        if (IsSpaceUnit(c)) return "; a blank between a number and its comma ends the reading";
        if (c == u'.') return "; numbers are whole numbers";
        if (c == u';') return "; numbers are separated by commas";
    }
    return "";
}

// Reads the four numbers of a CHAR or AREA value; true when all that the calculator uses are
// there: all four, or for an area that uses only its corner, the first two (whose width and height
// are then 0).
bool ReadFourNumbers(SkinFacts& facts, const std::string& key, int line, const std::u16string& value,
                     const std::string& consequence, bool cornerOnly, Area* rect)
{
    int numbers[4] = {0, 0, 0, 0};
    int count = swscanf(value.c_str(), u"%d,%d,%d,%d", &numbers[0], &numbers[1], &numbers[2], &numbers[3]);
    NumberText scan = ScanNumberText(value);
    if (count < 4) {
        std::string given = count <= 0 ? "gives no number" : "gives " + std::to_string(count) + " number" +
                                                                 (count > 1 ? "s" : "") + ", not four";
        std::string text = given + ", from " + Quoted(value) + ShortfallHint(value, scan.end) + "; " + consequence;
        if (!cornerOnly || count < 2) {
            facts.Error(line, key, text);
            return false;
        }
        facts.Warning(line, key, text + " (only the first two are used here)");
        *rect = Area{numbers[0], numbers[1], 0, 0};
        return true;
    }
    for (const std::string& number : scan.wrapped)
        facts.Warning(line, key, "the number " + number + " does not fit in 32 bits; it is read modulo 2^32");
    if (scan.end < value.size())
        facts.Warning(line, key, "the text after the fourth number, " + Quoted(value.substr(scan.end)) + ", is ignored");
    *rect = Area{numbers[0], numbers[1], numbers[2], numbers[3]};
    return true;
}

void CheckEntries(SkinFacts& facts, const KeyFamily& family, const SectionView& view, EntryFacts* entries)
{
    for (int n = 1; n <= family.count; ++n) {
        std::string key = NumberedKey(family.prefix, family.digits, n);
        EntryFacts& entry = entries[n - 1];
        std::u16string value = ReadValue(facts, family.section, key);
        const KeyLine* line = FindKey(view, Utf16Of(key));
        entry.line = line ? line->line : 0;
        std::string role = &family == &CharKeys ? CellRole(n - 1) : AreaRole(n - 1);
        if (value == Absent) {
            if (view.headerLine != 0)
                facts.Error(entry.line, key, "is missing (" + role + ")" + MissingKeyHint(view, key, &family));
            continue;
        }
        entry.present = true;
        std::string consequence =
            &family == &CharKeys
                ? (n == 1 ? "the calculator takes 0 for the numbers it lacks"
                          : "the calculator takes the numbers it lacks from " +
                                NumberedKey(family.prefix, family.digits, n - 1))
                : "the numbers it lacks keep the values of the skin loaded before";
        bool cornerOnly = &family == &AreaKeys && n - 1 >= AreaPanel;
        entry.complete = ReadFourNumbers(facts, key, entry.line, value, consequence, cornerOnly, &entry.rect);
    }
}

void CheckFileSection(SkinFacts& facts)
{
    std::u16string names[2];
    int lines[2] = {0, 0};
    const char* keys[2] = {"BACKIMAGE", "PARTSIMAGE"};
    for (int i = 0; i < 2; ++i) {
        names[i] = ReadValue(facts, u"FILE", keys[i]);
        const KeyLine* line = FindKey(facts.file, Utf16Of(keys[i]));
        lines[i] = line ? line->line : 0;
        if (names[i] == Absent) {
            if (facts.file.headerLine != 0)
                facts.Error(lines[i], keys[i],
                            std::string("is missing (the ") + (i == 0 ? "background" : "parts") + " image)" +
                                MissingKeyHint(facts.file, keys[i], nullptr));
            names[i].clear();
            lines[i] = -1;
        } else if (names[i].empty()) {
            facts.Error(lines[i], keys[i], "is empty; it names the skin's directory, not an image");
            lines[i] = -1;
        }
    }
    CheckImages(facts, names[0], lines[0], names[1], lines[1]);
}

void CheckSounds(SkinFacts& facts)
{
    for (int n = 1; n <= SoundCount; ++n) {
        std::string key = SoundKey(n - 1);
        std::u16string value = ReadValue(facts, u"SOUND", key);
        if (value == Absent) continue;
        const KeyLine* line = FindKey(facts.sound, Utf16Of(key));
        CheckSound(facts, n - 1, value, line ? line->line : 0);
    }
}

std::set<std::string> FamilyKeys(const KeyFamily& family)
{
    std::set<std::string> keys;
    for (int n = 1; n <= family.count; ++n) keys.insert(NumberedKey(family.prefix, family.digits, n));
    return keys;
}

void CheckText(SkinFacts& facts)
{
    CheckEncoding(facts);
    CheckSectionPresent(facts, facts.file, "FILE", true);
    CheckSectionPresent(facts, facts.character, "CHARACTER", true);
    CheckSectionPresent(facts, facts.area, "AREA", true);
    CheckSectionPresent(facts, facts.sound, "SOUND", false);
    CheckSectionKeys(facts, facts.file, "FILE", {"BACKIMAGE", "PARTSIMAGE"}, nullptr);
    CheckSectionKeys(facts, facts.character, "CHARACTER", FamilyKeys(CharKeys), &CharKeys);
    CheckSectionKeys(facts, facts.area, "AREA", FamilyKeys(AreaKeys), &AreaKeys);
    CheckSectionKeys(facts, facts.sound, "SOUND", FamilyKeys(SoundKeys), &SoundKeys);
}

// ---- The calculator's loader ----

// The meaning of the calculator's own Japanese message; a message shown in English needs none.
std::string LoaderMessageMeaning(const std::u16string& text)
{
    static const std::u16string damaged = u"スキンファイルが壊れている、又はありません。";
    if (text.compare(0, damaged.size(), damaged) == 0)
        return "the skin file is damaged or missing " + Utf8Of(text.substr(damaged.size()));
    static const char* const surfaces[] = {"the face's drawing surface", "the background image", "the parts image",
                                           "the parts image's mask"};
    for (int slot = SlotComposition; slot <= SlotPartsMask; ++slot) {
        std::u16string failed = u"仮想画面(" + std::u16string(1, char16_t(u'0' + slot)) + u")の作成に失敗しました。";
        if (text == failed) return std::string("creating virtual screen (") + char('0' + slot) + ") failed: " + surfaces[slot];
    }
    return "";
}

// The calculator's loader on the skin: its message when it refuses the skin, else nothing.
std::vector<Finding> RunLoader(const LoaderVerdict& verdict)
{
    std::u16string message;
    if (verdict(&message)) return {};
    std::string meaning = LoaderMessageMeaning(message);
    return {Finding{Severity::Error, 0, "",
                    "the calculator does not load this skin; it shows \"" + Utf8Of(message) + "\"" +
                        (meaning.empty() ? "" : " (" + meaning + ")")}};
}

// The file's bytes when it is a regular file that the calculator would read (16 MiB at most).
std::string RawBytes(const std::string& hostPath, bool* readable)
{
    std::error_code error;
    *readable = std::filesystem::is_regular_file(hostPath, error) &&
                std::filesystem::file_size(hostPath, error) <= TextFileMaxBytes && !error;
    if (!*readable) return "";
    FILE* in = std::fopen(hostPath.c_str(), "rb");
    *readable = in != nullptr;
    if (!in) return "";
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
    *readable = !std::ferror(in);
    std::fclose(in);
    return bytes;
}

}  // namespace

void SkinFacts::Error(int line, const std::string& key, const std::string& text)
{
    findings.push_back(Finding{Severity::Error, line, key, text});
}

void SkinFacts::Warning(int line, const std::string& key, const std::string& text)
{
    findings.push_back(Finding{Severity::Warning, line, key, text});
}

CheckReport CheckSkin(const SkinLocation& location, const LoaderVerdict& verdict, SkinFacts* factsOut)
{
    SkinFacts facts;
    facts.location = &location;
    for (const std::string& warning : location.warnings) facts.Warning(0, "", warning);
    std::vector<Finding> loaderFindings;   // reported last
    bool readable = false;
    std::string bytes = RawBytes(location.hostPath, &readable);
    facts.source = ScanSkinSource(location.devicePath, bytes);
    bool directoryFits = location.appDirectory.size() < MAX_PATH;
    if (!directoryFits)
        facts.Error(0, "", "the program's directory " + HostPathFromDevice(location.appDirectory.c_str()) +
                               " is too long a path for the calculator");
    if (location.devicePath.size() >= MAX_PATH)
        facts.Error(0, "", "the skin file's path has " + std::to_string(location.devicePath.size()) +
                               " characters; the calculator holds at most 259");
    if (!readable || !facts.source.readable) {
        facts.Error(0, "", "the skin file cannot be read (missing, not a regular file, or larger than 16 MiB)");
    } else {
        facts.file = ViewSection(facts.source, u"FILE");
        facts.character = ViewSection(facts.source, u"CHARACTER");
        facts.area = ViewSection(facts.source, u"AREA");
        facts.sound = ViewSection(facts.source, u"SOUND");
        CheckText(facts);
        CheckFileSection(facts);
        CheckEntries(facts, CharKeys, facts.character, facts.cells);
        CheckEntries(facts, AreaKeys, facts.area, facts.areas);
        CheckSounds(facts);
        CheckCells(facts);
        CheckCellContents(facts);
        CheckAreas(facts);
        CheckCornerAreas(facts);
        CheckKeyOverlaps(facts);
        CheckPanel(facts);
        CheckDisplayPositions(facts);
        CheckErrorSign(facts);
        CheckOperatorIndicators(facts);
        if (directoryFits && location.devicePath.size() < MAX_PATH) loaderFindings = RunLoader(verdict);
    }

    CheckReport report;
    report.findings = std::move(facts.findings);
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    report.findings.insert(report.findings.end(), loaderFindings.begin(), loaderFindings.end());
    for (const Finding& finding : report.findings)
        (finding.severity == Severity::Error ? report.errors : report.warnings)++;
    if (factsOut) *factsOut = std::move(facts);
    return report;
}

void PrintReport(const CheckReport& report, const std::string& name, const SkinLocation& location, FILE* out)
{
    for (const Finding& finding : report.findings) {
        std::string place = name + (finding.line > 0 ? ":" + std::to_string(finding.line) : "");
        std::string key = finding.key.empty() ? "" : finding.key + ": ";
        std::fprintf(out, "%s: %s: %s%s\n", place.c_str(), finding.severity == Severity::Error ? "error" : "warning",
                     key.c_str(), finding.text.c_str());
    }
    auto count = [](int n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); };
    std::fprintf(out, "%s: %s, %s (images and sounds in %s/)\n", name.c_str(), count(report.errors, "error").c_str(),
                 count(report.warnings, "warning").c_str(), location.imageHostDir.c_str());
}

// ---- Names of keys, cells and areas ----

std::string CellKey(int cell)
{
    return NumberedKey("CHAR", 3, cell + 1);
}

std::string AreaKey(int area)
{
    return NumberedKey("AREA", 2, area + 1);
}

std::string SoundKey(int sound)
{
    return NumberedKey("SOUND", 2, sound + 1);
}

std::string CellRole(int cell)
{
    static const char* const looks[] = {"up", "down", "disabled"};
    auto glyph = [](char c) { return std::string("glyph \"") + c + "\""; };
    if (cell < CellPanel)
        return std::string(looks[cell / FaceCount]) + " face of the " + KeyDescription(KeyOfFace(cell % FaceCount)) + " key";
    if (cell == CellPanel) return "display panel";
    if (cell < CellErrorSign) return glyph(char('0' + cell - CellFirstDigit));
    if (cell == CellErrorSign) return "error sign";
    if (cell < CellFirstLetter) return glyph(".-,"[cell - CellPoint]);
    if (cell < CellFirstIndicator) return glyph(char('a' + cell - CellFirstLetter));
    static const char* const operators[] = {"add", "subtract", "multiply", "divide"};
    return std::string(operators[cell - CellFirstIndicator]) + " indicator";
}

std::string AreaRole(int area)
{
    if (area < KeyCount) return "the " + KeyDescription(area) + " key";
    if (area == AreaPanel) return "display panel";
    if (area < AreaOperator) {
        int position = area - AreaFirstPosition;
        return "display position " + std::to_string(position) + (position == 0 ? ", the rightmost" : "");
    }
    return "operator indicator";
}

std::string SoundRole(int sound)
{
    static const char* const roles[SoundCount] = {
        "the skin is loaded", "digits, point and sign", "mode keys", "clear all", "clear entry",
        "backspace",          "operators",              "equals",    "the program ends"};
    return roles[sound];
}

bool CellNeverDrawn(int cell)
{
    if (cell < CellFirstDisabled || cell >= CellPanel) return false;
    int key = KeyOfFace(cell - CellFirstDisabled);
    return IsKeyEnabled(key, Hex) && IsKeyEnabled(key, Dec) && IsKeyEnabled(key, Bin);
}

std::string Quoted(const std::u16string& text)
{
    return "\"" + Utf8Of(text) + "\"";
}

Box BoxOf(const Area& area)
{
    return Box{area.x, area.y, int64_t(area.x) + area.width, int64_t(area.y) + area.height};
}

Box Intersect(const Box& a, const Box& b)
{
    return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool Inside(const Box& inner, const Box& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

std::string BoxText(const Box& box)
{
    return std::to_string(box.left) + "," + std::to_string(box.top) + " " + std::to_string(box.right - box.left) + "x" +
           std::to_string(box.bottom - box.top);
}

std::string RectText(const Area& rect)
{
    return BoxText(BoxOf(rect));
}

std::string FaceSizeText()
{
    return std::to_string(FaceWidth) + " x " + std::to_string(FaceHeight);
}

}  // namespace skintool
