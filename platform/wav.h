// Wave files for the platform's sound player: a WAV file read from a device path and converted
// to the sample format of the audio device by the host's decoder (HostDecodeWav; no audio device
// needed): the SDL host's player and the skin tool's check use it. The desktop hosts decode what
// SDL's WAV loader knows (PCM, IEEE float, ADPCM, A-law, mu-law); oversized files and anything
// malformed are refused.
#pragma once
#include "platform/types.h"

#include <bit>
#include <cstdint>
#include <vector>

// Sample formats as SDL numbers them (SDL_AudioFormat values), in the host's byte order: the
// low byte is the sample's width in bits.
constexpr bool LittleEndianHost = std::endian::native == std::endian::little;
enum SampleFormat : uint16_t {
    SamplesU8 = 0x0008,
    SamplesS16 = LittleEndianHost ? 0x8010 : 0x9010,
    SamplesS32 = LittleEndianHost ? 0x8020 : 0x9020,
    SamplesF32 = LittleEndianHost ? 0x8120 : 0x9120,
};

// Frequency in Hz, sample format (a SampleFormat or any other SDL_AudioFormat value), channels.
struct AudioFormat {
    int frequency;
    uint16_t sampleFormat;
    uint8_t channels;
};
// The bytes of one frame: a sample of every channel.
int FrameBytes(const AudioFormat& format);

// The whole sound of the file at `devicePath` as interleaved samples in `target`'s format.
// False, with `pcm` empty, for a missing, unreadable, oversized or malformed file.
bool LoadWavConverted(LPCWSTR devicePath, const AudioFormat& target, std::vector<uint8_t>& pcm);
