#include "platform/registry.h"

#include "platform/faults.h"
#include "platform/inspect.h"
#include "platform/kernel/host_files.h"
#include "platform/unicode.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

namespace {

constexpr char16_t kRootName[] = u"HKEY_LOCAL_MACHINE";
// Our own file holds a few short strings; anything beyond this is not ours or is damaged, and
// only its beginning is read.
constexpr size_t kMaxFileBytes = size_t(16) << 20;

struct RegValue {
    std::u16string name;   // empty: the key's default value, written as @
    std::u16string data;
};
struct RegKey {
    std::u16string path;   // full path from the root name, as first written
    std::vector<RegValue> values;
};
struct RegistryImage {
    std::vector<RegKey> keys;
};

// Open key handles and the full key path each stands for.
std::map<uintptr_t, std::u16string> openKeys;
uintptr_t nextKeyHandle = 0x4000;

// ---- Names ----

// Windows compares registry names by upper-casing each UTF-16 unit.
char16_t FoldCase(char16_t c)
{
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
    if (c >= 0xD800 && c < 0xE000) return c;
    static locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    if (!unicode) return c;
    wint_t upper = towupper_l(wint_t(c), unicode);
    return upper <= 0xFFFF ? char16_t(upper) : c;
}

bool SameName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

// A sub-key path: backslash-separated names, none empty, nothing that would break a line.
bool ValidSubKey(LPCWSTR subKey)
{
    if (!subKey || !*subKey) return false;
    std::u16string_view path(subKey);
    if (path.front() == u'\\' || path.back() == u'\\') return false;
    if (path.find(u"\\\\") != std::u16string_view::npos) return false;
    return path.find_first_of(u"\r\n") == std::u16string_view::npos;
}

RegKey* FindKey(RegistryImage& image, std::u16string_view path)
{
    for (RegKey& key : image.keys) {
        if (SameName(key.path, path)) return &key;
    }
    return nullptr;
}

// A key exists when the file names it or any key below it (a file may name only the deepest).
bool KeyExists(const RegistryImage& image, std::u16string_view path)
{
    for (const RegKey& key : image.keys) {
        std::u16string_view held(key.path);
        if (held.size() < path.size()) continue;
        if (held.size() > path.size() && held[path.size()] != u'\\') continue;
        if (SameName(held.substr(0, path.size()), path)) return true;
    }
    return false;
}

RegValue* FindValue(RegKey& key, std::u16string_view name)
{
    for (RegValue& value : key.values) {
        if (SameName(value.name, name)) return &value;
    }
    return nullptr;
}

void SetValue(RegKey& key, const std::u16string& name, const std::u16string& data)
{
    if (RegValue* value = FindValue(key, name)) value->data = data;
    else key.values.push_back(RegValue{name, data});
}

// ---- File text ----

bool ValidUtf8(std::string_view text)
{
    return Utf8FromUtf16(Utf16FromUtf8(std::string(text))) == text;
}

// Reads a quoted string at `text[pos]`, undoing the escapes; pos ends after the closing quote.
// Besides \\ and \" the escapes \n and \r keep a value with line breaks on one line; any other
// backslash stands for itself.
bool ReadQuoted(std::string_view text, size_t& pos, std::string& out)
{
    if (pos >= text.size() || text[pos] != '"') return false;
    out.clear();
    for (size_t i = pos + 1; i < text.size(); i++) {
        char c = text[i];
        if (c == '"') {
            pos = i + 1;
            return true;
        }
        if (c == '\\' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == '\\' || next == '"') c = next, i++;
            else if (next == 'n') c = '\n', i++;
            else if (next == 'r') c = '\r', i++;
        }
        out += c;
    }
    return false;   // no closing quote: a truncated line
}

bool OnlySpaceFrom(std::string_view text, size_t pos)
{
    return text.find_first_not_of(" \t", pos) == std::string_view::npos;
}

// One line of the file; lines that are not understood change nothing.
// One line of the file; lines that are not understood change nothing. A damaged key line ends
// the current key, so that the values after it are not taken for another key's.
void ParseLine(std::string_view line, RegistryImage& image, int& currentKey)
{
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;
    bool sound = line.find('\0') == std::string_view::npos && ValidUtf8(line);
    if (line.front() == '[') {
        currentKey = -1;
        size_t close = line.find_last_of(']');
        if (!sound || close == std::string_view::npos || close < 2 || !OnlySpaceFrom(line, close + 1)) return;
        std::u16string path = Utf16FromUtf8(std::string(line.substr(1, close - 1)));
        if (RegKey* key = FindKey(image, path)) {
            currentKey = int(key - image.keys.data());
        } else {
            image.keys.push_back(RegKey{path, {}});
            currentKey = int(image.keys.size()) - 1;
        }
        return;
    }
    if (!sound || currentKey < 0) return;
    size_t pos = 0;
    std::string name;
    if (line.front() == '@') pos = 1;
    else if (!ReadQuoted(line, pos, name)) return;
    if (pos >= line.size() || line[pos] != '=') return;
    pos++;
    std::string data;
    // Only string values are ours; dword:, hex: and the like are skipped.
    if (!ReadQuoted(line, pos, data) || !OnlySpaceFrom(line, pos)) return;
    SetValue(image.keys[size_t(currentKey)], Utf16FromUtf8(name), Utf16FromUtf8(data));
}

// The header line is not demanded: a file whose first line was damaged still yields its keys.
RegistryImage ParseRegistry(std::string_view text)
{
    RegistryImage image;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int currentKey = -1;
    while (!text.empty()) {
        size_t end = text.find('\n');
        ParseLine(text.substr(0, end), image, currentKey);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return image;
}

std::string Quoted(const std::u16string& text)
{
    std::string out = "\"";
    for (char c : Utf8FromUtf16(text)) {
        if (c == '\\') out += "\\\\";
        else if (c == '"') out += "\\\"";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out + "\"";
}

std::string FormatRegistry(const RegistryImage& image)
{
    std::string text = "REGEDIT4\n\n";
    for (const RegKey& key : image.keys) {
        text += "[" + Utf8FromUtf16(key.path) + "]\n";
        for (const RegValue& value : key.values) {
            text += value.name.empty() ? std::string("@") : Quoted(value.name);
            text += "=" + Quoted(value.data) + "\n";
        }
        text += "\n";
    }
    return text;
}

// ---- The file ----

std::string RegistryPath()
{
    if (const char* path = std::getenv("NUMBRIX_REGISTRY"); path && *path) return path;
    std::string config = UserDirectory("CONFIG", ".config");
    return config.empty() ? config : config + "/numbrix/registry.reg";
}

// A change that cannot be saved is told on standard error, once for each file and reason: the
// device has no console, but on the desktop that is where a user looks when settings are lost.
void ReportUnsaved(const std::string& path, const std::string& reason)
{
    static std::set<std::string> reported;
    std::string line = path.empty() ? "numbrix: cannot save the settings: " + reason
                                    : "numbrix: cannot save the settings in " + path + ": " + reason;
    if (reported.insert(line).second) std::fprintf(stderr, "%s\n", line.c_str());
}

// Fills `image` from the file. A missing file is an empty registry; false when the file is there
// but cannot be read (then it must not be overwritten either; *problem says why). A FIFO or a
// device is not read, so that a stray path can never block the program.
bool ReadRegistry(const std::string& path, RegistryImage& image, std::string* problem = nullptr)
{
    image = RegistryImage();
    std::string ignored;
    std::string& why = problem ? *problem : ignored;
    if (path.empty()) {
        why = "neither NUMBRIX_REGISTRY, XDG_CONFIG_HOME nor HOME names a place for them";
        return false;
    }
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = std::strerror(errno);
        return errno == ENOENT;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = "it is not a regular file";
        close(fd);
        return false;
    }
    std::string text;
    text.resize(std::min(size_t(info.st_size), kMaxFileBytes));
    size_t filled = 0;
    bool ok = true;
    while (filled < text.size()) {
        ssize_t got = read(fd, text.data() + filled, text.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ok = false, why = std::strerror(errno);
        if (got <= 0) break;
        filled += size_t(got);
    }
    close(fd);
    text.resize(filled);
    image = ParseRegistry(text);
    return ok;
}

LONG ErrorFromErrno(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOENT:
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    default:
        return ERROR_WRITE_FAULT;
    }
}

bool Injected(const char* step)
{
    if (!ShouldFail(step)) return false;
    errno = EIO;
    return true;
}

LONG Unsaved(const std::string& path, int error)
{
    ReportUnsaved(path, std::strerror(error));
    return ErrorFromErrno(error);
}

// Replaces the file in one step: the new text goes to a temporary file beside it, reaches the
// disk (unless not `durable`), and is renamed over the old one. Whatever fails, the old file stays
// as it was and the temporary file is removed. A symbolic link is followed, so the file it points
// at is replaced.
LONG WriteRegistry(const std::string& path, const RegistryImage& image, bool durable)
{
    if (path.empty()) return ERROR_PATH_NOT_FOUND;
    std::string target = path;
    if (char* real = realpath(path.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    size_t slash = target.find_last_of('/');
    std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash ? slash : 1);
    if (!MakeDirectories(dir)) return Unsaved(path, errno);

    std::string temp = target + ".new-XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return Unsaved(path, errno);
    // The temporary file is private (0600); a file that was shared keeps its permissions.
    if (struct stat old; stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
    int failure = 0;
    if (Injected("RegistryWrite") || !WriteAll(fd, FormatRegistry(image))) failure = errno;
    else if (durable && (Injected("RegistryFlush") || fsync(fd) != 0)) failure = errno;
    if (close(fd) != 0 && !failure) failure = errno;
    if (!failure && (Injected("RegistryRename") || rename(temp.c_str(), target.c_str()) != 0)) failure = errno;
    if (failure) {
        unlink(temp.c_str());
        return Unsaved(path, failure);
    }
    if (!durable) return ERROR_SUCCESS;
    // The rename itself reaches the disk with the directory.
    if (int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return ERROR_SUCCESS;
}

// ---- Handles ----

bool IsPredefinedKey(HKEY key)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(key);
    return value >= 0x80000000u && value <= 0x80000006u;
}

// The full path of an open key, or null for a handle that is not one. Values straight under a
// root key are not emulated.
const std::u16string* OpenKeyPath(HKEY key, const char* service)
{
    if (IsPredefinedKey(key)) NotImplemented(service);
    auto it = openKeys.find(reinterpret_cast<uintptr_t>(key));
    return it == openKeys.end() ? nullptr : &it->second;
}

// RegCreateKeyExW and RegOpenKeyExW: a key that does not exist is created only when `create`.
LONG OpenKey(const char* service, HKEY parent, LPCWSTR subKey, DWORD options, bool create, HKEY* result,
             DWORD* disposition)
{
    if (parent != HKEY_LOCAL_MACHINE) {
        if (IsPredefinedKey(parent) || openKeys.count(reinterpret_cast<uintptr_t>(parent)))
            NotImplemented((std::string(service) + " under a key other than HKEY_LOCAL_MACHINE").c_str());
        return ERROR_INVALID_HANDLE;
    }
    if (options != REG_OPTION_NON_VOLATILE) NotImplemented((std::string(service) + " with options").c_str());
    if (!result || !ValidSubKey(subKey)) return ERROR_INVALID_PARAMETER;

    std::u16string path = std::u16string(kRootName) + u"\\" + subKey;
    std::string file = RegistryPath();
    RegistryImage image;
    std::string problem;
    bool readable = ReadRegistry(file, image, &problem);
    DWORD how = REG_OPENED_EXISTING_KEY;
    if (!KeyExists(image, path)) {
        if (!create) return ERROR_FILE_NOT_FOUND;
        // The new key is saved at once so that the next start finds it, without waiting for the
        // disk: it holds nothing yet, and a key lost with a crash is created again, as empty.
        if (!readable) {
            ReportUnsaved(file, problem);
            return ERROR_ACCESS_DENIED;
        }
        image.keys.push_back(RegKey{path, {}});
        if (LONG error = WriteRegistry(file, image, false)) return error;
        how = REG_CREATED_NEW_KEY;
    }
    uintptr_t handle = nextKeyHandle += 0x10;
    openKeys[handle] = path;
    *result = reinterpret_cast<HKEY>(handle);
    if (disposition) *disposition = how;
    return ERROR_SUCCESS;
}

}  // namespace

int OpenRegistryKeyCount()
{
    return int(openKeys.size());
}

LONG RegCreateKeyExW(HKEY parent, LPCWSTR subKey, DWORD, LPWSTR, DWORD options, REGSAM,
                     SECURITY_ATTRIBUTES*, HKEY* result, DWORD* disposition)
{
    if (ShouldFail(__func__)) return ERROR_ACCESS_DENIED;
    return OpenKey(__func__, parent, subKey, options, true, result, disposition);
}

LONG RegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD options, REGSAM, HKEY* result)
{
    if (ShouldFail(__func__)) return ERROR_ACCESS_DENIED;
    return OpenKey(__func__, parent, subKey, options, false, result, nullptr);
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* dataSize)
{
    if (ShouldFail(__func__)) return ERROR_ACCESS_DENIED;
    const std::u16string* path = OpenKeyPath(key, __func__);
    if (!path) return ERROR_INVALID_HANDLE;
    if (reserved || (data && !dataSize)) return ERROR_INVALID_PARAMETER;

    RegistryImage image;
    ReadRegistry(RegistryPath(), image);
    RegKey* held = FindKey(image, *path);
    RegValue* value = held ? FindValue(*held, valueName ? valueName : u"") : nullptr;
    if (!value) return ERROR_FILE_NOT_FOUND;

    if (type) *type = REG_SZ;
    DWORD needed = DWORD((value->data.size() + 1) * sizeof(char16_t));
    if (!data) {
        if (dataSize) *dataSize = needed;
        return ERROR_SUCCESS;
    }
    DWORD offered = *dataSize;
    *dataSize = needed;
    if (offered < needed) return ERROR_MORE_DATA;
    std::memcpy(data, value->data.c_str(), needed);
    return ERROR_SUCCESS;
}

// The byte count decides what is stored: the text up to the first terminator within it.
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize)
{
    if (ShouldFail(__func__)) return ERROR_ACCESS_DENIED;
    const std::u16string* path = OpenKeyPath(key, __func__);
    if (!path) return ERROR_INVALID_HANDLE;
    if (type != REG_SZ) NotImplemented("RegSetValueExW with a type other than REG_SZ");
    if (!data && dataSize) return ERROR_INVALID_PARAMETER;

    std::u16string text(dataSize / sizeof(char16_t), u'\0');
    if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(char16_t));
    text.resize(std::char_traits<char16_t>::length(text.c_str()));

    std::string file = RegistryPath();
    RegistryImage image;
    std::string problem;
    if (!ReadRegistry(file, image, &problem)) {
        ReportUnsaved(file, problem);
        return ERROR_ACCESS_DENIED;
    }
    RegKey* held = FindKey(image, *path);
    if (!held) {
        // The file lost the key since it was opened (edited by hand): it is written again.
        image.keys.push_back(RegKey{*path, {}});
        held = &image.keys.back();
    }
    SetValue(*held, valueName ? valueName : u"", text);
    return WriteRegistry(file, image, true);
}

LONG RegCloseKey(HKEY key)
{
    if (IsPredefinedKey(key)) return ERROR_SUCCESS;
    return openKeys.erase(reinterpret_cast<uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
