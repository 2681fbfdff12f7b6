// Wide text streams and the program's own path. A stream holds the whole decoded file: skin files
// are small and read line by line from the start, again for every lookup. So the decoded text of
// the last file read is kept and shared by the streams opened on it while the file is unchanged.
#include "platform/files.h"

#include "platform/faults.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "platform/text.h"
#include "platform/unicode.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

// A file's decoded text and the position of each of its line feeds, so that reading a line is
// one copy.
struct DecodedText {
    std::u16string text;
    std::vector<uint32_t> lineFeeds;   // a text holds at most TextFileMaxBytes units
};
using SharedText = std::shared_ptr<const DecodedText>;

struct WFILE {
    SharedText decoded;
    size_t position = 0;
    size_t nextLineFeed = 0;   // the first of lineFeeds at or after position
};

namespace {

#include "platform/kernel/cp932_table.inc"

constexpr char16_t Replacement = 0xFFFD;
int openFiles = 0;
std::optional<std::string> moduleFileOverride;

// The whole content of a regular file of at most TextFileMaxBytes, or nothing; `info` is the
// file's status taken before reading. Opening does not block on a FIFO, and the size is checked
// before reading, so a huge file is refused at once.
std::optional<std::string> ReadSmallFile(const std::string& hostPath, struct stat& info)
{
    int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > TextFileMaxBytes) {
        close(fd);
        return std::nullopt;
    }
    std::string bytes(size_t(info.st_size) + 1, '\0');   // one more to notice a file that grew
    size_t filled = 0;
    while (filled < bytes.size()) {
        ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            close(fd);
            return std::nullopt;
        }
        if (got == 0) break;
        filled += size_t(got);
        if (filled == bytes.size() && bytes.size() <= size_t(TextFileMaxBytes)) {
            bytes.resize(std::min(bytes.size() * 2, size_t(TextFileMaxBytes) + 1));
        }
    }
    close(fd);
    if (filled > size_t(TextFileMaxBytes)) return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::u16string text;
    text.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned first = (unsigned char)bytes[i];
        unsigned second = (unsigned char)bytes[i + 1];
        text += char16_t(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0) text += Replacement;   // a dangling odd byte
    return text;
}

// Code page 932 by the table of the C library's iconv (cp932_table.inc). A byte at which no
// character begins, or an incomplete character at the end, becomes one U+FFFD and decoding goes on
// with the next byte, as iconv's caller does after each error.
std::u16string DecodeCp932(std::string_view bytes)
{
    static const std::array<int8_t, 256> leadRow = [] {
        std::array<int8_t, 256> rows;
        rows.fill(-1);
        for (int byte = 0, row = 0; byte < 256; ++byte)
            if (Cp932Single[byte] == Cp932Lead) rows[size_t(byte)] = int8_t(row++);
        return rows;
    }();
    std::u16string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t byte = uint8_t(bytes[i]);
        uint16_t unit = Cp932Single[byte];
        if (unit == Cp932Lead)
            unit = i + 1 < bytes.size() ? Cp932Pairs[leadRow[byte]][uint8_t(bytes[i + 1])] : Cp932None;
        if (unit == Cp932None) {
            text += Replacement;
            continue;
        }
        text += char16_t(unit);
        if (Cp932Single[byte] == Cp932Lead) ++i;
    }
    return text;
}

std::u16string DecodeText(std::string_view bytes)
{
    auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (startsWith("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
    if (startsWith("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
    std::u16string text;
    if (startsWith("\xEF\xBB\xBF")) {
        Utf16FromValidUtf8(bytes.substr(3), text);
        return text;
    }
    if (Utf16FromValidUtf8(bytes, text)) return text;
    return DecodeCp932(bytes);
}

// Text mode: a CR directly before an LF is dropped; any other CR stays.
// Through plain pointers: the string's checked accessors made this most of the time of a debug
// build's skin load.
void DropCarriageReturnsBeforeLineFeeds(std::u16string& text)
{
    char16_t* units = text.data();
    const size_t size = text.size();
    size_t kept = 0;
    for (size_t i = 0; i < size; ++i) {
        if (units[i] == u'\r' && i + 1 < size && units[i + 1] == u'\n') continue;
        units[kept++] = units[i];
    }
    text.resize(kept);
}

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The last file read: its identity when it was read, and its decoded text.
struct LastRead {
    std::string hostPath;
    struct stat identity {};
    SharedText decoded;

    bool Matches(const std::string& path, const struct stat& now) const
    {
        return decoded && path == hostPath && now.st_dev == identity.st_dev && now.st_ino == identity.st_ino &&
               now.st_size == identity.st_size && SameTime(now.st_mtim, identity.st_mtim) &&
               SameTime(now.st_ctim, identity.st_ctim);
    }
};
LastRead lastRead;

// A file is only worth remembering when any later change must show in its status. The kernel
// stamps a change with a time no earlier than its coarse clock; a file changed before the clock
// read now, and unchanged since, gets a different change time at its next change, even one
// within the same clock tick as this read.
bool ChangesWillShow(const struct stat& info, const timespec& before)
{
    return info.st_ctim.tv_sec < before.tv_sec ||
           (info.st_ctim.tv_sec == before.tv_sec && info.st_ctim.tv_nsec < before.tv_nsec);
}

SharedText ReadAndDecode(const std::string& hostPath)
{
    struct stat info {};
    timespec before{};
    // Without a coarse clock (the web's C library), the start of this second: file systems that
    // stamp whole seconds give the next change another stamp once this second is over.
    if (clock_gettime(CLOCK_REALTIME_COARSE, &before) != 0) {
        clock_gettime(CLOCK_REALTIME, &before);
        before.tv_nsec = 0;
    }
    std::optional<std::string> bytes = ReadSmallFile(hostPath, info);
    if (!bytes) return nullptr;
    auto decoded = std::make_shared<DecodedText>();
    decoded->text = DecodeText(*bytes);
    DropCarriageReturnsBeforeLineFeeds(decoded->text);
    for (size_t i = 0; i < decoded->text.size(); ++i)
        if (decoded->text[i] == u'\n') decoded->lineFeeds.push_back(uint32_t(i));
    if (ChangesWillShow(info, before)) lastRead = LastRead{hostPath, info, decoded};
    return decoded;
}

// The file's decoded text: the one kept from the last read while the file has the same path,
// device, inode, size and modification and change times; otherwise read again. What reading
// would refuse (a missing file, one that is not a regular file or is too large) is refused from
// its status alone.
SharedText TextOfFile(const std::string& hostPath)
{
    struct stat now;
    if (stat(hostPath.c_str(), &now) != 0 || !S_ISREG(now.st_mode) || now.st_size > TextFileMaxBytes) return nullptr;
    if (lastRead.Matches(hostPath, now)) return lastRead.decoded;
    return ReadAndDecode(hostPath);
}

std::string ExecutablePath()
{
    std::string path(256, '\0');
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) return std::string();
        if (size_t(length) < path.size()) {
            path.resize(size_t(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

WFILE* _wfopen(LPCWSTR path, LPCWSTR mode)
{
    if (!mode || wcscmp(mode, u"rt") != 0) NotImplemented("_wfopen");
    if (ShouldFail("_wfopen") || !path) return nullptr;
    SharedText decoded = TextOfFile(HostPathFromDevice(path));
    if (!decoded) return nullptr;
    ++openFiles;
    return new WFILE{std::move(decoded)};
}

// At most capacity - 1 units, up to and including a line feed, then the terminator. Null at the
// end of the file when nothing was read.
WCHAR* fgetws(WCHAR* buffer, int capacity, WFILE* file)
{
    if (!buffer || !file || capacity <= 0) return nullptr;
    const std::u16string& text = file->decoded->text;
    const std::vector<uint32_t>& lineFeeds = file->decoded->lineFeeds;
    if (file->position >= text.size()) return nullptr;
    while (file->nextLineFeed < lineFeeds.size() && lineFeeds[file->nextLineFeed] < file->position)
        ++file->nextLineFeed;
    size_t lineEnd = file->nextLineFeed < lineFeeds.size() ? lineFeeds[file->nextLineFeed] + 1 : text.size();
    size_t count = std::min(lineEnd - file->position, size_t(capacity) - 1);
    std::copy_n(text.data() + file->position, count, buffer);
    buffer[count] = 0;
    file->position += count;
    return buffer;
}

int fclose(WFILE* file)
{
    if (!file) return -1;
    delete file;
    --openFiles;
    return 0;
}

int OpenWideFileCount()
{
    return openFiles;
}

void OverrideModuleFileName(const char* hostPath)
{
    if (hostPath) moduleFileOverride = hostPath;
    else moduleFileOverride.reset();
}

// A path that does not fit in size units with its terminator is not truncated: the result is 0
// and the buffer holds an empty text, so no caller mistakes a cut path for the program's own.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size)
{
    if (module) NotImplemented("GetModuleFileNameW");   // only the program itself is asked for
    if (size > 0) buffer[0] = 0;
    if (ShouldFail("GetModuleFileNameW")) return 0;
    std::string host = moduleFileOverride ? *moduleFileOverride : ExecutablePath();
    if (host.empty()) return 0;
    std::u16string device = DevicePathFromHost(host);
    if (device.size() + 1 > size) return 0;
    device.copy(buffer, device.size());
    buffer[device.size()] = 0;
    return DWORD(device.size());
}
