#include "platform/wav.h"

#include "platform/host.h"
#include "platform/host_paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Skin sounds are short clicks and chimes of a few kilobytes. A file beyond this is not one of
// them, and refusing it keeps a stray path from filling memory.
constexpr size_t kMaxWavBytes = size_t(16) << 20;

// The file's bytes, read by us so that the host's decoder only ever sees memory. A FIFO or a device
// is refused rather than read, so a stray path cannot block the caller.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && size_t(info.st_size) <= kMaxWavBytes;
    if (ok) bytes.resize(size_t(info.st_size));
    size_t filled = 0;
    while (ok && filled < bytes.size()) {
        ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) ok = false;
        else filled += size_t(got);
    }
    close(fd);
    return ok;
}

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void PutLe32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; i++) p[i] = uint8_t(value >> (8 * i));
}

// SDL's loader (the desktop hosts' decoder) allocates what a chunk claims before it reads, so a file of a few hundred bytes
// whose data chunk claims 3 GB would ask for 3 GB. A chunk never holds more than the file has
// after its header: each claim beyond that, the RIFF chunk's own included, is cut to it here.
// A short data chunk thus still gives the frames it holds, as before.
void ClampChunkSizes(std::vector<uint8_t>& file)
{
    if (file.size() < 12) return;
    const size_t size = file.size();
    if (Le32(&file[4]) > size - 8) PutLe32(&file[4], uint32_t(size - 8));
    for (size_t at = 12; at + 8 <= size;) {
        uint32_t claimed = Le32(&file[at + 4]);
        size_t room = size - at - 8;
        if (claimed > room) {
            claimed = uint32_t(room);
            PutLe32(&file[at + 4], claimed);
        }
        at += 8 + size_t(claimed) + (claimed & 1);   // chunks are padded to even sizes
    }
}

}  // namespace

// The low byte of a sample format is the sample's width in bits.
int FrameBytes(const AudioFormat& format)
{
    return int((format.sampleFormat & 0xFF) / 8) * format.channels;
}

bool LoadWavConverted(LPCWSTR devicePath, const AudioFormat& target, std::vector<uint8_t>& pcm)
{
    pcm.clear();
    std::vector<uint8_t> file;
    if (!devicePath || !ReadWholeFile(HostPathFromDevice(devicePath), file)) return false;
    ClampChunkSizes(file);
    bool ok = HostDecodeWav(file, target, pcm);
    if (!ok) pcm.clear();
    return ok;
}
