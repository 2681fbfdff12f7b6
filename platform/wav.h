// Wave files for the platform's sound player: a WAV file read from a device path and converted
// to the sample format of the audio device. Host-independent (SDL's decoder, no audio device);
// only the platform uses it. Decodes what SDL's WAV loader knows (PCM, IEEE float, ADPCM,
// A-law, mu-law); refuses oversized files and anything malformed.
#pragma once
#include "platform/types.h"

#include <cstdint>
#include <vector>

// A sample format in SDL's terms: frequency in Hz, SDL_AudioFormat value, channel count.
struct AudioFormat {
    int frequency;
    uint16_t sampleFormat;
    uint8_t channels;
};

// The whole sound of the file at `devicePath` as interleaved samples in `target`'s format.
// False, with `pcm` empty, for a missing, unreadable, oversized or malformed file.
bool LoadWavConverted(LPCWSTR devicePath, const AudioFormat& target, std::vector<uint8_t>& pcm);
