#include "fuzz_support.h"
#include "platform/unicode.h"
#include "tests/support/temp_dir.h"

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

// Made at first use and removed with everything in it when the process ends.
static const TempDir& Scratch()
{
    static const TempDir directory;
    return directory;
}

std::string ScratchPath(std::string_view name)
{
    return Scratch().HostPath(std::string(name));
}

std::u16string ScratchDevicePath(std::string_view name)
{
    return Scratch().DevicePath(std::string(name));
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
