#include "fuzz_support.h"
#include "platform/host_paths.h"
#include "platform/unicode.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

void FuzzCheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "numbrix fuzz check failed: %s (%s:%d)\n", condition, file, line);
    std::abort();
}

const std::string& ScratchDirectory()
{
    static const std::string directory = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/numbrix-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) FuzzCheckFailed("a scratch directory can be made", __FILE__, __LINE__);
        return pattern;
    }();
    return directory;
}

std::string ScratchPath(std::string_view name)
{
    return ScratchDirectory() + "/" + std::string(name);
}

std::u16string ScratchDevicePath(std::string_view name)
{
    return DevicePathFromHost(ScratchPath(name));
}

void WriteScratchFile(const std::string& hostPath, const uint8_t* data, size_t size)
{
    int fd = open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    FUZZ_CHECK(fd >= 0);
    size_t done = 0;
    while (done < size) {
        ssize_t wrote = write(fd, data + done, size - done);
        if (wrote < 0 && errno == EINTR) continue;
        FUZZ_CHECK(wrote > 0);
        done += size_t(wrote);
    }
    FUZZ_CHECK(close(fd) == 0);
}

std::u16string TextOf(const uint8_t* data, size_t size)
{
    std::u16string text;
    Utf16FromValidUtf8(std::string_view(reinterpret_cast<const char*>(data), size), text);
    return text;
}
