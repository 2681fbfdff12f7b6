// HostDecodeWav for the desktop hosts: SDL2's WAV loader and its audio stream as the resampler,
// as a library (no audio device).
#include "platform/host.h"
#include "platform/wav.h"

#include <SDL.h>
#include <algorithm>

static_assert(SamplesU8 == AUDIO_U8 && SamplesS16 == AUDIO_S16SYS && SamplesS32 == AUDIO_S32SYS &&
              SamplesF32 == AUDIO_F32SYS);

namespace {

// The converted sound is bounded as well: a small file at a low rate grows many times over when
// it is converted to the device's rate, width and channels.
constexpr double kMaxPcmBytes = double(size_t(64) << 20);
constexpr Uint32 kFramesPerPut = 256;
// The rates of audio equipment; a file claiming another is not a sound. SDL 2's resampler
// overflows its arithmetic from about 4.2 MHz on (512 times the rate no longer fits an int), and
// a 578-byte file at 1 Hz became 47 MB of samples, converted while the key press waited.
constexpr int kMinFrequency = 1000;
constexpr int kMaxFrequency = 384000;

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

bool HostDecodeWav(const std::vector<uint8_t>& file, const AudioFormat& target, std::vector<uint8_t>& pcm)
{
    SDL_RWops* memory = SDL_RWFromConstMem(file.data(), int(file.size()));
    if (!memory) return false;
    SDL_AudioSpec source;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(memory, 1, &source, &samples, &length)) return false;
    bool ok = Convert(source, samples, length, target, pcm);
    SDL_FreeWAV(samples);
    return ok;
}
