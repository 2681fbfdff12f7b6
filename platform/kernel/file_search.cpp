// File search: the directory is listed once at FindFirstFileW, and the matching entries are
// handed out one by one. Entries come sorted by name in UTF-16 code-unit order, because the host's
// directory order is arbitrary and the program shows them in the order delivered.
#include "platform/files.h"

#include "platform/faults.h"
#include "platform/host_paths.h"
#include "platform/unicode.h"

#include <algorithm>
#include <dirent.h>
#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

struct Search {
    std::vector<WIN32_FIND_DATAW> entries;
    size_t next = 0;
};

std::map<HANDLE, std::unique_ptr<Search>> searches;

// The device's file systems ignore the case of letters in names.
char16_t FoldCase(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// "*" matches any run of units, "?" exactly one. Greedy with one backtracking point, so time stays
// proportional to the product of the lengths at worst.
bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name)
{
    size_t p = 0, n = 0;
    size_t star = std::u16string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

FILETIME FileTimeFrom(const timespec& time)
{
    // 100-nanosecond steps since 1601-01-01; times before that are given as 0.
    constexpr int64_t SecondsFrom1601To1970 = 11644473600;
    int64_t seconds = int64_t(time.tv_sec) + SecondsFrom1601To1970;
    uint64_t ticks = seconds < 0 ? 0 : uint64_t(seconds) * 10000000u + uint64_t(time.tv_nsec) / 100u;
    return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

// The entry for a host directory entry, or nothing when the device could not name it: names that
// are not UTF-8, that hold a backslash, or that are longer than 259 units (skipped rather than
// cut, since a cut name would lead the program to another file or none).
std::optional<WIN32_FIND_DATAW> EntryFor(int directory, const char* hostName)
{
    std::u16string name;
    if (!Utf16FromValidUtf8(hostName, name)) return std::nullopt;
    if (name.size() >= MAX_PATH || name.find(u'\\') != std::u16string::npos) return std::nullopt;
    struct stat info;
    if (fstatat(directory, hostName, &info, 0) != 0) return std::nullopt;
    WIN32_FIND_DATAW entry{};
    entry.dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    entry.ftCreationTime = FileTimeFrom(info.st_ctim);
    entry.ftLastAccessTime = FileTimeFrom(info.st_atim);
    entry.ftLastWriteTime = FileTimeFrom(info.st_mtim);
    uint64_t size = S_ISDIR(info.st_mode) ? 0 : uint64_t(info.st_size);
    entry.nFileSizeHigh = DWORD(size >> 32);
    entry.nFileSizeLow = DWORD(size);
    name.copy(entry.cFileName, name.size());
    entry.cFileName[name.size()] = 0;
    return entry;
}

std::vector<WIN32_FIND_DATAW> ListMatches(const std::string& hostDirectory, std::u16string_view pattern)
{
    std::vector<WIN32_FIND_DATAW> entries;
    DIR* directory = opendir(hostDirectory.c_str());
    if (!directory) return entries;
    while (dirent* host = readdir(directory)) {
        std::string_view hostName = host->d_name;
        if (hostName == "." || hostName == "..") continue;
        auto entry = EntryFor(dirfd(directory), host->d_name);
        if (entry && MatchesWildcard(pattern, entry->cFileName)) entries.push_back(*entry);
    }
    closedir(directory);
    std::sort(entries.begin(), entries.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
        return std::u16string_view(a.cFileName) < std::u16string_view(b.cFileName);
    });
    return entries;
}

Search* Find(HANDLE handle)
{
    auto it = searches.find(handle);
    return it == searches.end() ? nullptr : it->second.get();
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data)
{
    if (ShouldFail("FindFirstFileW") || !pattern || !data) return INVALID_HANDLE_VALUE;
    std::u16string_view whole = pattern;
    size_t slash = whole.rfind(u'\\');
    std::u16string_view directory = slash == whole.npos ? u"." : slash == 0 ? u"\\" : whole.substr(0, slash);
    std::u16string_view namePattern = slash == whole.npos ? whole : whole.substr(slash + 1);
    if (namePattern.empty() || directory.find_first_of(u"*?") != directory.npos) return INVALID_HANDLE_VALUE;

    auto search = std::make_unique<Search>();
    search->entries = ListMatches(HostPathFromDevice(std::u16string(directory).c_str()), namePattern);
    if (search->entries.empty()) return INVALID_HANDLE_VALUE;
    *data = search->entries[search->next++];
    HANDLE handle = search.get();
    searches[handle] = std::move(search);
    return handle;
}

BOOL FindNextFileW(HANDLE handle, WIN32_FIND_DATAW* data)
{
    Search* search = Find(handle);
    if (!search || !data || search->next >= search->entries.size()) return FALSE;
    *data = search->entries[search->next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle)
{
    return searches.erase(handle) ? TRUE : FALSE;
}
