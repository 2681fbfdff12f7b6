// Files the platform keeps for itself in the user's directories (see host_files.h).
#include "platform/kernel/host_files.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

std::string UserDirectory(const char* kind, const char* fallback)
{
    std::string variable = std::string("XDG_") + kind + "_HOME";
    if (const char* dir = std::getenv(variable.c_str()); dir && *dir == '/') return dir;
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/" + fallback;
    return std::string();
}

bool MakeDirectories(const std::string& dir)
{
    struct stat info;
    if (dir.empty() || stat(dir.c_str(), &info) == 0) return true;
    size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(dir.substr(0, slash))) return false;
    return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote == 0) errno = EIO;
        if (wrote <= 0) return false;
        done += size_t(wrote);
    }
    return true;
}
