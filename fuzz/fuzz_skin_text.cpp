// The skin text reader over arbitrary file bytes. The first byte picks how the rest becomes the
// file: as it stands (UTF-8, code page 932 or a UTF-16 file with its own mark), after a UTF-8
// mark, or re-encoded as UTF-16 LE or BE after their marks. Checked: decoding gives the text the
// encoding promises, lines arrive the same whatever the read capacity, every lookup gives what a
// plain model of the line rules gives, and no stream stays open.
#include "fuzz_support.h"

#include "platform/files.h"
#include "platform/inspect.h"
#include "platform/unicode.h"
#include "skin/skin_ini.h"

#include <optional>
#include <vector>

namespace {

enum Encoding { AsItStands, Utf8Mark, Utf16Le, Utf16Be };

std::string Utf16Bytes(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = char(unit >> 8), low = char(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::u16string WithoutCarriageReturnsBeforeLineFeeds(const std::u16string& text)
{
    std::u16string kept;
    for (size_t i = 0; i < text.size(); i++)
        if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) kept += text[i];
    return kept;
}

// The file's bytes, and the text that reading it must give when the encoding fixes it.
std::string FileBytes(Encoding encoding, const uint8_t* data, size_t size, std::optional<std::u16string>* expected)
{
    std::string rest(reinterpret_cast<const char*>(data), size);
    std::u16string text;
    bool wellFormed = Utf16FromValidUtf8(rest, text);
    switch (encoding) {
    case AsItStands:
        // Well-formed UTF-8 without a mark is read as UTF-8 (neither UTF-16 mark is UTF-8); the
        // rest is code page 932, which has no reading fixed here.
        if (wellFormed && rest.rfind("\xEF\xBB\xBF", 0) != 0) *expected = text;
        return rest;
    case Utf8Mark: *expected = text; return "\xEF\xBB\xBF" + rest;
    case Utf16Le: *expected = text; return Utf16Bytes(text, false);
    case Utf16Be: *expected = text; return Utf16Bytes(text, true);
    }
    return rest;
}

// Every piece fgetws gives at this capacity (at least 2). Two streams of the file are read in
// step into buffers filled with different patterns, so the units written (the piece and its
// terminator) show where the buffers agree, whatever NULs the file itself holds.
std::vector<std::u16string> ReadPieces(const std::u16string& path, size_t capacity)
{
    std::vector<std::u16string> pieces;
    WFILE* first = _wfopen(path.c_str(), u"rt");
    WFILE* second = _wfopen(path.c_str(), u"rt");
    FUZZ_CHECK(first && second);
    std::vector<WCHAR> one(capacity + 1), other(capacity + 1);
    for (;;) {
        std::fill(one.begin(), one.end(), u'\x5A5A');
        std::fill(other.begin(), other.end(), u'\xA5A5');
        WCHAR* got = fgetws(one.data(), int(capacity), first);
        WCHAR* gotToo = fgetws(other.data(), int(capacity), second);
        FUZZ_CHECK((got == nullptr) == (gotToo == nullptr));
        if (!got) break;
        FUZZ_CHECK(got == one.data());
        size_t written = 0;
        while (written <= capacity && one[written] == other[written]) written++;
        FUZZ_CHECK(written >= 1 && written <= capacity && one[written - 1] == 0);
        std::u16string piece(one.data(), written - 1);
        FUZZ_CHECK(!piece.empty());
        // A line feed ends a piece; a piece that does not end with one fills the capacity,
        // unless the file ends with it.
        size_t lineFeed = piece.find(u'\n');
        FUZZ_CHECK(lineFeed == std::u16string::npos || lineFeed + 1 == piece.size());
        if (!pieces.empty())
            FUZZ_CHECK(pieces.back().back() == u'\n' || pieces.back().size() + 1 == capacity);
        pieces.push_back(piece);
    }
    fclose(first);
    fclose(second);
    return pieces;
}

std::u16string Joined(const std::vector<std::u16string>& pieces)
{
    std::u16string text;
    for (const std::u16string& piece : pieces) text += piece;
    return text;
}

// A field as the C string functions see it: up to its first NUL.
std::u16string UpToNul(const std::u16string& text)
{
    return text.substr(0, text.find(u'\0'));
}

std::u16string TrimmedOfTrailingBlanks(std::u16string text)
{
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t' || text.back() == u'\n')) text.pop_back();
    return text;
}

// The line rules of the reader, written plainly over the lines it reads (pieces of 259 units).
std::u16string ModelLookup(const std::vector<std::u16string>& lines, const std::u16string& section,
                           const std::u16string& key, const std::u16string& defaultText)
{
    std::u16string result = defaultText.substr(0, SkinFieldSize - 1);
    if (section.size() + 2 >= SkinFieldSize) return result;
    const std::u16string header = u"[" + section + u"]";
    size_t i = 0;
    while (i < lines.size() && TrimmedOfTrailingBlanks(UpToNul(lines[i])) != header) i++;
    for (i++; i < lines.size(); i++) {
        std::u16string line = UpToNul(lines[i]);
        if (!line.empty() && line[0] == u'[') break;
        size_t equals = line.find(u'=');
        std::u16string keyPart = equals == std::u16string::npos ? u"" : line.substr(0, equals);
        std::u16string valuePart = equals == std::u16string::npos ? u"" : line.substr(equals + 1);
        if (TrimmedOfTrailingBlanks(keyPart) != key) continue;
        return TrimmedOfTrailingBlanks(valuePart.substr(0, valuePart.find(u'#')));
    }
    return result;
}

void CheckLookup(const std::vector<std::u16string>& lines, const std::u16string& path, const std::u16string& section,
                 const std::u16string& key)
{
    const std::u16string defaultText = u"---";
    std::vector<WCHAR> output(SkinFieldSize + 8, u'\x5A5A');
    ReadSkinValue(section.c_str(), key.c_str(), defaultText.c_str(), output.data(), path.c_str());
    for (size_t i = SkinFieldSize; i < output.size(); i++) FUZZ_CHECK(output[i] == u'\x5A5A');
    FUZZ_CHECK(std::u16string(output.data(), SkinFieldSize).find(u'\0') != std::u16string::npos);
    FUZZ_CHECK(std::u16string(output.data()) == ModelLookup(lines, section, key, defaultText));
}

// A section and a key that the file itself names, so lookups also find what mutations made.
void NamesInText(const std::vector<std::u16string>& lines, std::u16string* section, std::u16string* key)
{
    for (const std::u16string& piece : lines) {
        std::u16string line = TrimmedOfTrailingBlanks(UpToNul(piece));
        if (section->empty() && line.size() > 2 && line.front() == u'[' && line.back() == u']') {
            *section = line.substr(1, line.size() - 2);
        } else if (!section->empty() && key->empty() && line.find(u'=') != std::u16string::npos) {
            *key = TrimmedOfTrailingBlanks(line.substr(0, line.find(u'=')));
            return;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return -1;
    static const std::string hostPath = ScratchPath("input.skn");
    static const std::u16string path = ScratchDevicePath("input.skn");
    std::optional<std::u16string> expected;
    WriteScratchFile(hostPath, FileBytes(Encoding(data[0] & 3), data + 1, size - 1, &expected));

    std::vector<std::u16string> lines = ReadPieces(path, SkinFieldSize);
    const std::u16string text = Joined(lines);
    if (expected) FUZZ_CHECK(text == WithoutCarriageReturnsBeforeLineFeeds(*expected));
    for (size_t capacity : {size_t(2), size_t(4096)})
        FUZZ_CHECK(Joined(ReadPieces(path, capacity)) == text);

    std::u16string section, key;
    NamesInText(lines, &section, &key);
    const std::u16string lookups[][2] = {
        {u"FILE", u"BACKIMAGE"}, {u"CHARACTER", u"CHAR001"}, {u"AREA", u"AREA43"}, {u"SOUND", u"SOUND09"},
        {section, key},          {section, u""},
    };
    for (const auto& lookup : lookups) CheckLookup(lines, path, lookup[0], lookup[1]);
    FUZZ_CHECK(OpenWideFileCount() == 0);
    return 0;
}
