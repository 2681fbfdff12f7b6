// The files that a skin names: whether their full paths fit, whether they are there, whether the
// calculator's own decoders read them, and the transparent colour of the parts image.
#include "platform/gdi.h"
#include "platform/host_paths.h"
#include "platform/wav.h"
#include "skin/skin_loader.h"
#include "skin/check/skin_check_internal.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace skintool {

namespace {

std::string Lowered(std::string text)
{
    for (char& c : text) c = char(std::tolower((unsigned char)c));
    return text;
}

// Why a named file is not found, where that can be told.
std::string MissingFileHint(const SkinFacts& facts, const std::u16string& name, const std::string& hostPath)
{
    fs::path path(hostPath);
    std::error_code error;
    if (!fs::is_directory(path.parent_path(), error))
        return "; the directory " + path.parent_path().string() + "/ does not exist";
    std::string wanted = Lowered(path.filename().string());
    for (const fs::directory_entry& entry : fs::directory_iterator(path.parent_path(), error)) {
        std::string other = entry.path().filename().string();
        if (Lowered(other) == wanted)
            return "; there is \"" + other + "\", which differs in letter case, and file names are matched exactly";
    }
    if (!name.empty() && (name[0] == u' ' || name[0] == u'\t')) return "; the name begins with a blank, which is part of it";
    if (name.find(u'\r') != std::u16string::npos) return "; the name ends in a carriage return";
    if (facts.source.encoding == SkinEncoding::CodePage932 && facts.source.nonAscii)
        return "; the skin file is not UTF-8 and is read as code page 932 (Shift JIS)";
    return "";
}

// The full path of a named file, or empty after an error or warning that says why there is none.
std::u16string MemberPath(SkinFacts& facts, const std::string& key, int line, const std::u16string& name,
                          const std::string& consequence, bool errorIfLong)
{
    std::u16string path;
    if (SkinMemberPath(*facts.location, name, &path)) return path;
    size_t length = facts.location->filesFolder.size() + facts.location->skinName.size() + 1 + name.size();
    std::u16string shown = name.size() > 40 ? name.substr(0, 20) + u"..." + name.substr(name.size() - 12) : name;
    std::string text = "the full path of " + Quoted(shown) + " would have " + std::to_string(length) +
                       " characters, more than the 259 the calculator allows; " + consequence;
    if (errorIfLong) facts.Error(line, key, text);
    else facts.Warning(line, key, text);
    return u"";
}

// True when the file is there; otherwise says why not.
bool FilePresent(SkinFacts& facts, const std::string& key, int line, const std::u16string& name,
                 const std::u16string& devicePath, const char* what)
{
    std::string host = HostPathFromDevice(devicePath.c_str());
    std::error_code error;
    fs::file_status status = fs::status(host, error);
    if (fs::is_directory(status)) {
        facts.Error(line, key, Quoted(name) + " names a directory, not " + std::string(what));
        return false;
    }
    if (!fs::exists(status)) {
        facts.Error(line, key, std::string(what) + " " + host + " is missing" + MissingFileHint(facts, name, host));
        return false;
    }
    if (!fs::is_regular_file(status)) {   // a pipe or a device would keep the reader waiting
        facts.Error(line, key, Quoted(name) + " is not a regular file");
        return false;
    }
    return true;
}

std::string KindOfImageFile(const std::string& hostPath)
{
    char head[8] = {};
    size_t got = 0;
    if (FILE* in = std::fopen(hostPath.c_str(), "rb")) {
        got = std::fread(head, 1, sizeof head, in);
        std::fclose(in);
    }
    std::string start(head, got);
    if (start.rfind("\x89PNG", 0) == 0) return "a PNG image, not a Windows bitmap";
    if (start.rfind("\xFF\xD8", 0) == 0) return "a JPEG image, not a Windows bitmap";
    if (start.rfind("GIF8", 0) == 0) return "a GIF image, not a Windows bitmap";
    if (start.rfind("BM", 0) == 0) return "a Windows bitmap that is damaged or of a kind the calculator does not read";
    return "not a Windows bitmap";
}

// The pixels of a bitmap, read back through a memory DC as the program's drawing sees them.
Picture PixelsOf(HBITMAP bitmap)
{
    Picture picture;
    BITMAP info;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc || GetObjectW(bitmap, sizeof info, &info) == 0) {
        if (dc) DeleteDC(dc);
        return picture;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    picture.pixels.resize(size_t(picture.width) * size_t(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)] =
                uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
        }
    }
    picture.loaded = previous != nullptr;
    if (previous) SelectObject(dc, previous);
    DeleteDC(dc);
    return picture;
}

Picture LoadPicture(SkinFacts& facts, const char* key, int line, const std::u16string& name, const char* what)
{
    std::u16string path = MemberPath(facts, key, line, name, "the skin does not load", true);
    if (path.empty() || !FilePresent(facts, key, line, name, path, what)) return Picture();
    HBITMAP bitmap = SHLoadDIBitmap(path.c_str());
    if (!bitmap) {
        facts.Error(line, key, Quoted(name) + " is " + KindOfImageFile(HostPathFromDevice(path.c_str())));
        return Picture();
    }
    Picture picture = PixelsOf(bitmap);
    DeleteObject(bitmap);
    return picture;
}

}  // namespace

void CheckImages(SkinFacts& facts, const std::u16string& backImage, int backLine, const std::u16string& partsImage,
                 int partsLine)
{
    if (backLine >= 0) facts.background = LoadPicture(facts, "BACKIMAGE", backLine, backImage, "the background image");
    if (partsLine >= 0) facts.parts = LoadPicture(facts, "PARTSIMAGE", partsLine, partsImage, "the parts image");
    const Picture& back = facts.background;
    if (back.loaded && (back.width < FaceWidth || back.height < FaceHeight))
        facts.Warning(backLine, "BACKIMAGE",
                      "the background image is " + std::to_string(back.width) + "x" + std::to_string(back.height) +
                          ", smaller than the " + FaceSizeText() + " face; the rest of the face is left black");
    else if (back.loaded && (back.width > FaceWidth || back.height > FaceHeight))
        facts.Warning(backLine, "BACKIMAGE",
                      "the background image is " + std::to_string(back.width) + "x" + std::to_string(back.height) +
                          "; only its top-left " + FaceSizeText() + " pixels are seen");
    const Picture& parts = facts.parts;
    if (parts.loaded) {
        bool anyTransparent = false;
        for (uint32_t pixel : parts.pixels) anyTransparent = anyTransparent || pixel == TransparentPixel;
        if (!anyTransparent)
            facts.Warning(partsLine, "PARTSIMAGE",
                          "the parts image has no pixel of the transparent colour (red 100, green 100, blue 100), "
                          "so every cell is drawn as a solid rectangle");
    }
}

void CheckSound(SkinFacts& facts, int sound, const std::u16string& value, int line)
{
    std::string key = SoundKey(sound);
    if (value.empty()) {
        facts.Warning(line, key, "is empty, which names the skin's directory: no sound plays (leave the key out instead)");
        return;
    }
    std::u16string path = MemberPath(facts, key, line, value, "the sound stays silent", true);
    if (path.empty() || !FilePresent(facts, key, line, value, path, "the sound")) return;
    AudioFormat format = {22050, SamplesS16, 1};
    std::vector<uint8_t> pcm;
    if (!LoadWavConverted(path.c_str(), format, pcm))
        facts.Error(line, key, Quoted(value) + " is not a wave file that the calculator can play");
}

void CheckCellContents(SkinFacts& facts)
{
    const Picture& parts = facts.parts;
    if (!parts.loaded) return;
    for (int cell = 0; cell < CellCount; ++cell) {
        const EntryFacts& entry = facts.cells[cell];
        if (!entry.complete || CellNeverDrawn(cell) || entry.rect.width <= 0 || entry.rect.height <= 0) continue;
        Box box = Intersect(BoxOf(entry.rect), Box{0, 0, parts.width, parts.height});
        if (box.Empty()) continue;
        bool drawsSomething = false;
        for (int64_t y = box.top; y < box.bottom && !drawsSomething; ++y)
            for (int64_t x = box.left; x < box.right && !drawsSomething; ++x)
                drawsSomething = parts.at(int(x), int(y)) != TransparentPixel;
        if (!drawsSomething)
            facts.Warning(entry.line, CellKey(cell),
                          "is all of the transparent colour, so the " + CellRole(cell) + " draws nothing");
    }
}

}  // namespace skintool
