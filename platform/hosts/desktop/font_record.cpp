// The remembered font file (see font_record.h). The record is a text file: a header line, the
// watched environment variables, one line of state for the font file and for each path it
// depends on, and a closing line with a checksum of all before it, so that a record cut short or
// damaged is refused. It is valid when it is whole and writing it again now, for the paths it
// names, gives the same text.
#include "platform/hosts/desktop/font_record.h"

#include "platform/kernel/host_files.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char Header[] = "numbrix font record 1\n";
constexpr size_t MaxRecordBytes = 64 * 1024;
constexpr int FieldsBeforePath = 6;   // tag, kind, size, seconds, nanoseconds, inode
// What moves fontconfig's configuration and the user's own font files.
constexpr const char* WatchedVariables[] = {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT",
                                            "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"};

bool FitsOnALine(std::string_view text)
{
    return text.find('\n') == std::string_view::npos && text.find('\0') == std::string_view::npos;
}

char KindOf(const struct stat& info)
{
    return S_ISREG(info.st_mode) ? 'f' : S_ISDIR(info.st_mode) ? 'd' : 'o';
}

// "TAG KIND SIZE SECONDS NANOSECONDS INODE PATH": a missing path is of kind "-" with zeros.
std::string StateLine(const char* tag, const std::string& path)
{
    struct stat info;
    char state[160];
    if (stat(path.c_str(), &info) != 0) {
        std::snprintf(state, sizeof state, "%s - 0 0 0 0 ", tag);
    } else {
        std::snprintf(state, sizeof state, "%s %c %jd %jd %ld %ju ", tag, KindOf(info), intmax_t(info.st_size),
                      intmax_t(info.st_mtim.tv_sec), long(info.st_mtim.tv_nsec), uintmax_t(info.st_ino));
    }
    return state + path + "\n";
}

// The record's text for these paths as they are now, without its closing line; nothing when a
// path or a variable's value cannot be written on one line.
std::optional<std::string> RecordBody(const std::string& fontFile, const std::vector<std::string>& dependsOn)
{
    std::string body = Header;
    for (const char* name : WatchedVariables) {
        const char* value = std::getenv(name);
        if (value && !FitsOnALine(value)) return std::nullopt;
        body += std::string("env ") + name + (value ? std::string("=") + value : std::string()) + "\n";
    }
    if (!FitsOnALine(fontFile)) return std::nullopt;
    body += StateLine("font", fontFile);
    for (const std::string& path : dependsOn) {
        if (!FitsOnALine(path)) return std::nullopt;
        body += StateLine("watch", path);
    }
    return body;
}

std::string ClosingLine(std::string_view body)
{
    uint64_t hash = 0xCBF29CE484222325ull;   // FNV-1a
    for (unsigned char c : body) hash = (hash ^ c) * 0x100000001B3ull;
    char line[32];
    std::snprintf(line, sizeof line, "end %016" PRIx64 "\n", hash);
    return line;
}

// The path at the end of a state line, after its fields; empty when the line has too few.
std::string_view PathOfStateLine(std::string_view line)
{
    size_t at = 0;
    for (int field = 0; field < FieldsBeforePath; ++field) {
        at = line.find(' ', at);
        if (at == std::string_view::npos) return {};
        ++at;
    }
    return line.substr(at);
}

// The font file and the watched paths a record's body names; false when its lines are not those
// of a record.
bool PathsOf(std::string_view body, std::string& fontFile, std::vector<std::string>& dependsOn)
{
    if (body.substr(0, sizeof Header - 1) != Header) return false;
    body.remove_prefix(sizeof Header - 1);
    bool sawFont = false;
    while (!body.empty()) {
        size_t end = body.find('\n');
        if (end == std::string_view::npos) return false;
        std::string_view line = body.substr(0, end);
        body.remove_prefix(end + 1);
        if (line.substr(0, 4) == "env ") continue;   // compared whole with the environment's
        bool isFont = line.substr(0, 5) == "font ";
        if (!isFont && line.substr(0, 6) != "watch ") return false;
        std::string_view path = PathOfStateLine(line);
        if (path.empty() || isFont == sawFont) return false;   // one font line, before the others
        if (isFont) fontFile = path;
        else dependsOn.emplace_back(path);
        sawFont = true;
    }
    return sawFont;
}

std::optional<std::string> ReadRecord(const std::string& path, size_t maxBytes = MaxRecordBytes)
{
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info;
    std::string text;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && size_t(info.st_size) <= maxBytes) {
        text.resize(size_t(info.st_size));
        size_t filled = 0;
        while (filled < text.size()) {
            ssize_t got = read(fd, text.data() + filled, text.size() - filled);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            filled += size_t(got);
        }
        text.resize(filled);
    }
    close(fd);
    if (text.empty()) return std::nullopt;
    return text;
}

// Writes a record whole or not at all: into a new file beside it, then renamed over it.
void WriteRecord(const std::string& recordPath, const std::string& text)
{
    if (!MakeDirectories(recordPath.substr(0, recordPath.find_last_of('/')))) return;
    std::string temp = recordPath + ".new-XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return;
    bool written = WriteAll(fd, text);
    if (close(fd) != 0 || !written || rename(temp.c_str(), recordPath.c_str()) != 0) unlink(temp.c_str());
}

// The text record: a header line, the state lines of the font file and of the library, the lines
// in binary ("H" size, height; "L" size, text length, its UTF-16 units, width, height, coverage;
// numbers as 32-bit integers in this machine's order: the record never leaves it), a newline and
// the closing line.
constexpr char TextHeader[] = "numbrix text record 1\n";
constexpr size_t MaxTextRecordBytes = 1 << 20;
constexpr int32_t MaxLineSide = 4096;

void Put(std::string& out, int32_t value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads the binary lines after the state lines; false at anything that is not whole.
struct Reader {
    std::string_view data;
    bool Take(void* out, size_t bytes)
    {
        if (data.size() < bytes) return false;
        std::memcpy(out, data.data(), bytes);
        data.remove_prefix(bytes);
        return true;
    }
    bool Number(int32_t* value, int32_t limit)
    {
        return Take(value, sizeof *value) && *value >= 0 && *value <= limit;
    }
};

bool ReadLines(std::string_view data, RememberedTexts* texts)
{
    Reader in{data};
    while (!in.data.empty()) {
        char kind = 0;
        int32_t size = 0, width = 0, height = 0, units = 0;
        if (!in.Take(&kind, 1) || !in.Number(&size, MaxLineSide)) return false;
        if (kind == 'H') {
            if (!in.Number(&height, MaxLineSide)) return false;
            texts->lineHeights[size] = height;
            continue;
        }
        if (kind != 'L' || !in.Number(&units, MaxLineSide)) return false;
        std::u16string text(size_t(units), u'\0');
        if (!in.Take(text.data(), size_t(units) * 2) || !in.Number(&width, MaxLineSide) ||
            !in.Number(&height, MaxLineSide) || size_t(width) * size_t(height) > in.data.size())
            return false;
        RememberedLine line{width, height, std::vector<uint8_t>(size_t(width) * size_t(height))};
        if (!in.Take(line.coverage.data(), line.coverage.size())) return false;
        texts->lines[{size, text}] = std::move(line);
    }
    return true;
}

}  // namespace

std::string TextRecordPath()
{
    std::string cache = UserDirectory("CACHE", ".cache");
    return cache.empty() ? cache : cache + "/numbrix/text-record";
}

bool ReadRememberedTexts(const std::string& fontFile, RememberedTexts* texts)
{
    std::string recordPath = TextRecordPath();
    std::optional<std::string> text = recordPath.empty() ? std::nullopt : ReadRecord(recordPath, MaxTextRecordBytes);
    size_t closing = text && text->back() == '\n' ? text->rfind('\n', text->size() - 2) : std::string::npos;
    if (closing == std::string::npos) return false;
    std::string_view body = std::string_view(*text).substr(0, closing + 1);
    if (std::string_view(*text).substr(closing + 1) != ClosingLine(body)) return false;
    // The header, the font's state line as it is now, and the library's as it is now.
    std::string expected = TextHeader + StateLine("font", fontFile);
    if (body.substr(0, expected.size()) != expected) return false;
    body.remove_prefix(expected.size());
    size_t end = body.find('\n');
    if (end == std::string_view::npos || body.substr(0, 8) != "library ") return false;
    std::string library(PathOfStateLine(body.substr(0, end)));
    if (library.empty() || StateLine("library", library) != body.substr(0, end + 1) ||
        body.substr(0, 10) != "library f ")
        return false;
    body.remove_prefix(end + 1);
    RememberedTexts read;
    if (body.empty() || body.back() != '\n' || !ReadLines(body.substr(0, body.size() - 1), &read)) return false;
    *texts = std::move(read);
    return true;
}

void RememberTexts(const std::string& fontFile, const std::string& library, const RememberedTexts& texts)
{
    std::string recordPath = TextRecordPath();
    if (recordPath.empty() || !FitsOnALine(fontFile) || !FitsOnALine(library) || library.empty()) return;
    std::string body = TextHeader + StateLine("font", fontFile) + StateLine("library", library);
    if (body.find("\nfont f ") == std::string::npos || body.find("\nlibrary f ") == std::string::npos) return;
    for (const auto& [size, height] : texts.lineHeights) {
        body += 'H';
        Put(body, size);
        Put(body, height);
    }
    for (const auto& [key, line] : texts.lines) {
        body += 'L';
        Put(body, key.first);
        Put(body, int32_t(key.second.size()));
        body.append(reinterpret_cast<const char*>(key.second.data()), key.second.size() * 2);
        Put(body, line.width);
        Put(body, line.height);
        body.append(line.coverage.begin(), line.coverage.end());
    }
    body += '\n';
    if (body.size() > MaxTextRecordBytes) return;
    WriteRecord(recordPath, body + ClosingLine(body));
}

std::string FontRecordPath()
{
    std::string cache = UserDirectory("CACHE", ".cache");
    return cache.empty() ? cache : cache + "/numbrix/font-record";
}

std::string RememberedFontFile()
{
    std::string recordPath = FontRecordPath();
    std::optional<std::string> text = recordPath.empty() ? std::nullopt : ReadRecord(recordPath);
    if (!text || text->back() != '\n') return std::string();
    size_t closing = text->rfind('\n', text->size() - 2);
    if (closing == std::string::npos) return std::string();
    std::string_view body = std::string_view(*text).substr(0, closing + 1);
    if (std::string_view(*text).substr(closing + 1) != ClosingLine(body)) return std::string();
    std::string fontFile;
    std::vector<std::string> dependsOn;
    if (!PathsOf(body, fontFile, dependsOn) || fontFile.front() != '/') return std::string();
    std::optional<std::string> now = RecordBody(fontFile, dependsOn);
    if (!now || *now != body || now->find("\nfont f ") == std::string::npos) return std::string();
    return fontFile;
}

void RememberFontFile(const std::string& fontFile, const std::vector<std::string>& dependsOn)
{
    std::string recordPath = FontRecordPath();
    if (recordPath.empty() || fontFile.empty() || fontFile.front() != '/') return;
    std::optional<std::string> body = RecordBody(fontFile, dependsOn);
    if (!body || body->find("\nfont f ") == std::string::npos) return;
    WriteRecord(recordPath, *body + ClosingLine(*body));
}
