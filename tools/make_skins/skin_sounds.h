// The nine short sounds of a generated skin, synthesised from a few enveloped tones each, and
// their wave files (16-bit PCM, mono).
#pragma once
#include "tools/make_skins/skin_design.h"

#include <cstdint>
#include <vector>

namespace skins {

constexpr int SoundEvents = 9;   // one per SoundId
constexpr int SampleRate = 22050;

// File names in skin/<name>/, by SoundId.
extern const char* const SoundFileNames[SoundEvents];

std::vector<int16_t> SynthesizeSound(int soundId, const Voice& voice);
// A complete RIFF/WAVE file holding the samples at SampleRate.
std::vector<uint8_t> WaveFileBytes(const std::vector<int16_t>& samples);

}  // namespace skins
