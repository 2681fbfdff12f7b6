#include "tools/skin_tool/new_skin.h"

#include "platform/host_paths.h"
#include "platform/unicode.h"
#include "skin/skin_ini.h"
#include "tools/skin_tool/calculator_session.h"
#include "skin/check/skin_check_internal.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace skintool {

namespace {

constexpr char16_t Absent[] = u"---";
constexpr size_t RemarkColumn = 28;
constexpr size_t NameMaxBytes = 255;   // of one file name, on the host

// What the new skin is made of: the source's files and values, as the calculator reads them.
struct SkinValues {
    std::u16string backImage, partsImage;
    std::u16string cells[CellCount], areas[AreaCount], sounds[SoundCount];   // empty sound: none

    std::vector<std::u16string> Files() const
    {
        std::vector<std::u16string> files = {backImage, partsImage};
        for (const std::u16string& sound : sounds)
            if (!sound.empty()) files.push_back(sound);
        return files;
    }
};

std::u16string Read(const SkinLocation& source, const char16_t* section, const std::string& key)
{
    WCHAR value[SkinFieldSize];
    ReadSkinValue(section, Utf16Of(key).c_str(), Absent, value, source.devicePath.c_str());
    return value;
}

SkinValues ReadValues(const SkinLocation& source)
{
    SkinValues values;
    values.backImage = Read(source, u"FILE", "BACKIMAGE");
    values.partsImage = Read(source, u"FILE", "PARTSIMAGE");
    for (int cell = 0; cell < CellCount; ++cell) values.cells[cell] = Read(source, u"CHARACTER", CellKey(cell));
    for (int area = 0; area < AreaCount; ++area) values.areas[area] = Read(source, u"AREA", AreaKey(area));
    for (int sound = 0; sound < SoundCount; ++sound) {
        values.sounds[sound] = Read(source, u"SOUND", SoundKey(sound));
        if (values.sounds[sound] == Absent) values.sounds[sound].clear();
    }
    return values;
}

// ---- The skin file's text ----

class SkinText {
public:
    void Remark(const std::string& text) { text_ += text.empty() ? "\n" : "; " + text + "\n"; }
    void Header(const std::string& section) { text_ += "[" + section + "]\n"; }
    void Entry(const std::string& key, const std::u16string& value, const std::string& role)
    {
        std::string line = key + "=" + Utf8Of(value);
        line += std::string(line.size() < RemarkColumn ? RemarkColumn - line.size() : 1, ' ');
        text_ += line + "# " + role + "\n";
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

void WriteCells(SkinText& text, const SkinValues& values)
{
    struct Group {
        int first, last;
        std::vector<std::string> remark;
    };
    const Group groups[] = {
        {0, CellFirstDown - 1,
         {"The keys' up faces, in this order: the digits 0-9 and A-F, point, sign, subtract, multiply,",
          "divide, clear all, clear entry, backspace, add, equals, HEX, DEC, BIN."}},
        {CellFirstDown, CellFirstDisabled - 1,
         {"The down faces (a key held down, and the key of the current mode), in the same order."}},
        {CellFirstDisabled, CellPanel - 1,
         {"The disabled faces (keys that the current mode does not use), in the same order; the",
          "last eleven are never shown."}},
        {CellPanel, CellFirstIndicator - 1,
         {"The display: its panel, the glyphs 0-9, the error sign, the glyphs point, minus, comma",
          "and a-f."}},
        {CellFirstIndicator, CellCount - 1, {"The operator indicators: add, subtract, multiply, divide."}},
    };
    for (const Group& group : groups) {
        for (const std::string& line : group.remark) text.Remark(line);
        for (int cell = group.first; cell <= group.last; ++cell) text.Entry(CellKey(cell), values.cells[cell], CellRole(cell));
    }
}

void WriteAreas(SkinText& text, const SkinValues& values)
{
    text.Remark("The keys: a key's face is drawn at its area's top-left corner, and a press inside the");
    text.Remark("area presses it (where areas overlap, the lower number takes the press).");
    for (int area = 0; area < KeyCount; ++area) text.Entry(AreaKey(area), values.areas[area], AreaRole(area));
    text.Remark("The display panel, the twelve character positions from the rightmost leftwards (the");
    text.Remark("rightmost also shows the error sign) and the operator indicator: only their top-left");
    text.Remark("corners are used.");
    for (int area = KeyCount; area < AreaCount; ++area) text.Entry(AreaKey(area), values.areas[area], AreaRole(area));
}

std::string NewSkinText(const std::string& name, const std::string& from, const SkinValues& values)
{
    SkinText text;
    text.Remark("Numbrix skin \"" + name + "\", begun with numbrix-skin new from " + from + ".");
    text.Remark("");
    text.Remark("Each section holds lines KEY=VALUE; what follows \"#\" on a line is a remark, and so is");
    text.Remark("a line that begins with \";\". Rectangles are x,y,width,height in pixels, x and y those of");
    text.Remark("the top-left corner. The images and sounds lie in the directory " + name + "/ beside this file.");
    text.Remark("numbrix-skin guide shows where every cell and area lies, numbrix-skin check what is wrong,");
    text.Remark("and numbrix --skin " + name + ".skn --watch shows every save at once.");
    text.Remark("");
    text.Remark("[FILE]: the two images, Windows bitmaps (BMP).");
    text.Header("FILE");
    text.Entry("BACKIMAGE", values.backImage, "the background, drawn at the top-left corner of the " + FaceSizeText() + " face");
    text.Entry("PARTSIMAGE", values.partsImage, "every cell is cut from here; grey 100,100,100 is transparent");
    text.Remark("");
    text.Remark("[CHARACTER]: the cells, rectangles on the parts image; every one is needed.");
    text.Header("CHARACTER");
    WriteCells(text, values);
    text.Remark("");
    text.Remark("[AREA]: where things go on the " + FaceSizeText() + " face; every one is needed.");
    text.Header("AREA");
    WriteAreas(text, values);
    text.Remark("");
    text.Remark("[SOUND]: wave sounds, each optional.");
    text.Header("SOUND");
    for (int sound = 0; sound < SoundCount; ++sound) {
        if (values.sounds[sound].empty()) text.Remark("(no " + SoundKey(sound) + ": " + SoundRole(sound) + ")");
        else text.Entry(SoundKey(sound), values.sounds[sound], "when " + SoundRole(sound));
    }
    return text.Text();
}

// ---- What may be written ----

// Why the calculator could not load a skin of this name from the target's directory; empty when
// it could.
std::string NameProblem(const std::string& name, const SkinLocation& target, const SkinValues& values)
{
    std::u16string wide;
    if (name.empty()) return "a skin needs a name";
    if (name.find_first_of("/\\") != std::string::npos) return "a skin's name holds no path separators (/ or \\)";
    if (!Utf16FromValidUtf8(name, wide)) return "the name is not UTF-8 text";
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F) return "the name holds control characters";
    if (name == "." || name == "..") return "\"" + name + "\" names a directory";
    if (name.size() + 4 > NameMaxBytes) return "the name is too long for a file name";
    if (target.devicePath.size() >= MAX_PATH)
        return "the skin file's path would have " + std::to_string(target.devicePath.size()) +
               " characters; the calculator holds at most 259";
    if (target.skinName != wide)
        return "the calculator would take the skin's name to be \"" + Utf8Of(target.skinName) + "\"";
    for (const std::u16string& file : values.Files()) {
        std::u16string path;
        if (!SkinMemberPath(target, file, &path))
            return "the path of " + name + "/" + Utf8Of(file) + " would be longer than the 259 characters the calculator holds";
    }
    return "";
}

bool Exists(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

int Refuse(const std::string& reason)
{
    std::fprintf(stderr, "numbrix-skin: %s\n", reason.c_str());
    return 1;
}

bool WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return bool(out);
}

// Copies the source's images and sounds; false with the reason when one cannot be copied.
bool CopyFiles(const SkinLocation& source, const SkinLocation& target, const SkinValues& values, std::string* problem)
{
    for (const std::u16string& file : values.Files()) {
        std::u16string from, to;
        SkinMemberPath(source, file, &from);
        SkinMemberPath(target, file, &to);
        fs::path fromHost = HostPathFromDevice(from.c_str()), toHost = HostPathFromDevice(to.c_str());
        std::error_code error;
        if (!fs::is_regular_file(fromHost, error)) continue;   // a sound the source lacks stays silent here too
        fs::create_directories(toHost.parent_path(), error);
        if (!error) fs::copy_file(fromHost, toHost, error);
        if (error) {
            *problem = "cannot copy " + fromHost.string() + " to " + toHost.string() + ": " + error.message();
            return false;
        }
    }
    return true;
}

}  // namespace

std::string DefaultSkinBesideTool()
{
    std::error_code error;
    fs::path tool = fs::read_symlink("/proc/self/exe", error);
    if (error) return "";
    for (const fs::path& directory : {tool.parent_path(), tool.parent_path().parent_path()}) {
        fs::path skin = directory / "skin" / "default.skn";
        if (fs::is_regular_file(skin, error)) return skin.string();
    }
    return "";
}

int NewSkin(const std::string& name, const std::string& from, const std::string& directoryName)
{
    fs::path directory = fs::absolute(directoryName).lexically_normal();
    std::error_code error;
    if (!fs::is_directory(directory, error)) return Refuse(directory.string() + " is not a directory");
    SkinLocation source = LocateSkin(from, "");
    std::u16string message;
    if (!TrialLoad(source, &message))
        return Refuse(from + " does not load in the calculator (\"" + Utf8Of(message) + "\"); numbrix-skin check tells why");
    SkinValues values = ReadValues(source);

    fs::path skinFile = directory / (name + ".skn"), imageDir = directory / name;
    SkinLocation target = LocateSkin(skinFile.string(), "");
    if (std::string problem = NameProblem(name, target, values); !problem.empty()) return Refuse(problem);
    for (const fs::path& path : {skinFile, imageDir})
        if (Exists(path)) return Refuse(path.string() + " exists; new never overwrites anything");

    fs::create_directories(imageDir, error);
    std::string problem = error ? "cannot create " + imageDir.string() + ": " + error.message() : "";
    if (problem.empty() && CopyFiles(source, target, values, &problem) &&
        !WriteText(skinFile, NewSkinText(name, fs::path(from).filename().string(), values)))
        problem = "cannot write " + skinFile.string();
    if (problem.empty() && !TrialLoad(target, &message))
        problem = "the new skin does not load (\"" + Utf8Of(message) + "\")";
    if (!problem.empty()) {
        fs::remove(skinFile, error);
        fs::remove_all(imageDir, error);
        return Refuse(problem);
    }
    std::printf("numbrix-skin: wrote %s and %s/ from %s\n", skinFile.c_str(), imageDir.c_str(), from.c_str());
    return 0;
}

}  // namespace skintool
