#include "platform/wav.h"

#include "platform/host_paths.h"

#include <SDL.h>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static_assert(SamplesU8 == AUDIO_U8 && SamplesS16 == AUDIO_S16SYS && SamplesS32 == AUDIO_S32SYS &&
              SamplesF32 == AUDIO_F32SYS);

namespace {

// Skin sounds are short clicks and chimes of a few kilobytes. A file beyond this is not one of
// them, and refusing it keeps a stray path from filling memory.
constexpr size_t kMaxWavBytes = size_t(16) << 20;
// The converted sound is bounded as well: a small file at a low rate grows many times over when
// it is converted to the device's rate, width and channels.
constexpr double kMaxPcmBytes = double(size_t(64) << 20);
constexpr Uint32 kFramesPerPut = 256;
// The rates of audio equipment; a file claiming another is not a sound. SDL 2's resampler
// overflows its arithmetic from about 4.2 MHz on (512 times the rate no longer fits an int), and
// a 578-byte file at 1 Hz became 47 MB of samples, converted while the key press waited.
constexpr int kMinFrequency = 1000;
constexpr int kMaxFrequency = 384000;

// The file's bytes, read by us so that SDL's loader only ever sees memory. A FIFO or a device
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

// SDL's loader allocates what a chunk claims before it reads, so a file of a few hundred bytes
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

bool Convert(const SDL_AudioSpec& source, const Uint8* samples, Uint32 length,
             const AudioFormat& target, std::vector<uint8_t>& pcm)
{
    int sourceFrame = FrameBytes(AudioFormat{source.freq, source.format, source.channels});
    int targetFrame = FrameBytes(target);
    if (sourceFrame <= 0 || targetFrame <= 0) return false;
    for (int frequency : {source.freq, target.frequency})
        if (frequency < kMinFrequency || frequency > kMaxFrequency) return false;
    // Only whole frames are converted; a torn last frame is dropped.
    Uint32 frames = length / Uint32(sourceFrame);
    if (double(frames) * target.frequency / source.freq * targetFrame > kMaxPcmBytes) return false;
    if (frames == 0) return true;

    SDL_AudioStream* stream = SDL_NewAudioStream(source.format, source.channels, source.freq,
                                                 target.sampleFormat, target.channels, target.frequency);
    if (!stream) return false;
    // SDL 2's stream loses part of the sound when one put needs resampling of a few thousand
    // frames; fed in small pieces it converts all of it.
    const Uint32 piece = kFramesPerPut * Uint32(sourceFrame);
    const Uint32 total = frames * Uint32(sourceFrame);
    bool ok = true;
    for (Uint32 done = 0; ok && done < total; done += piece)
        ok = SDL_AudioStreamPut(stream, samples + done, int(std::min(piece, total - done))) == 0;
    ok = ok && SDL_AudioStreamFlush(stream) == 0;
    if (ok) {
        pcm.resize(size_t(SDL_AudioStreamAvailable(stream)));
        int got = SDL_AudioStreamGet(stream, pcm.data(), int(pcm.size()));
        ok = got >= 0;
        if (ok) pcm.resize(size_t(got));
    }
    SDL_FreeAudioStream(stream);
    return ok;
}

}  // namespace

int FrameBytes(const AudioFormat& format)
{
    return int(SDL_AUDIO_BITSIZE(format.sampleFormat) / 8) * format.channels;
}

bool LoadWavConverted(LPCWSTR devicePath, const AudioFormat& target, std::vector<uint8_t>& pcm)
{
    pcm.clear();
    std::vector<uint8_t> file;
    if (!devicePath || !ReadWholeFile(HostPathFromDevice(devicePath), file)) return false;
    ClampChunkSizes(file);
    SDL_RWops* memory = SDL_RWFromConstMem(file.data(), int(file.size()));
    if (!memory) return false;
    SDL_AudioSpec source;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(memory, 1, &source, &samples, &length)) return false;
    bool ok = Convert(source, samples, length, target, pcm);
    SDL_FreeWAV(samples);
    if (!ok) pcm.clear();
    return ok;
}
