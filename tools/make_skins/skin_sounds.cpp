#include "tools/make_skins/skin_sounds.h"

#include <algorithm>
#include <cmath>

namespace skins {

const char* const SoundFileNames[SoundEvents] = {
    "loaded.wav", "digit.wav", "mode.wav", "clear_all.wav", "clear_entry.wav",
    "backspace.wav", "operator.wav", "equals.wav", "exit.wav",
};

namespace {

// One enveloped tone gliding from one pitch to another.
struct Tone {
    float startMs, lengthMs, fromHz, toHz, level;
};

struct Recipe {
    float lengthMs;
    Tone tones[3];
};

// Note frequencies, equal temperament.
constexpr float A5 = 880.0f, C6 = 1046.5f, D6 = 1174.66f, E6 = 1318.51f, G6 = 1567.98f, A6 = 1760.0f;

// By SoundId. Rising chords greet, falling ones part; clears fall, keys tick or blip.
const Recipe Recipes[SoundEvents] = {
    {140, {{0, 60, C6, C6, 1.0f}, {40, 60, E6, E6, 0.9f}, {80, 60, G6, G6, 0.9f}}},   // skin loaded
    {32, {{0, 32, 2100, 1700, 1.0f}}},                                                 // digit
    {85, {{0, 45, 660, 660, 1.0f}, {40, 45, 990, 990, 0.9f}}},                          // mode
    {120, {{0, 120, 1400, 420, 1.0f}}},                                                // clear all
    {75, {{0, 38, A5, A5, 1.0f}, {35, 40, 660, 660, 0.9f}}},                            // clear entry
    {50, {{0, 50, 950, 560, 1.0f}}},                                                   // backspace
    {60, {{0, 60, D6, D6, 1.0f}}},                                                     // operator
    {110, {{0, 110, A5, A5, 0.8f}, {0, 110, E6, E6, 0.7f}, {0, 110, A6, A6, 0.3f}}},   // equals
    {145, {{0, 60, G6, G6, 0.9f}, {40, 60, E6, E6, 0.9f}, {80, 65, C6, C6, 1.0f}}},   // exit
};

constexpr float AttackMs = 2.0f;
constexpr float ReleaseMs = 4.0f;
constexpr float Peak = 0.5f;   // of full scale

float Envelope(float t, float lengthMs)
{
    float ms = t * 1000.0f;
    if (ms < 0 || ms >= lengthMs) return 0;
    float attack = std::min(1.0f, ms / AttackMs);
    float decay = std::exp(-ms / (lengthMs * 0.45f));
    float release = std::min(1.0f, (lengthMs - ms) / ReleaseMs);
    return attack * decay * release;
}

void AddTone(std::vector<float>& mix, const Tone& tone, const Voice& voice)
{
    int first = int(tone.startMs * SampleRate / 1000.0f);
    int count = int(tone.lengthMs * SampleRate / 1000.0f);
    double phase = 0;
    for (int i = 0; i < count && first + i < int(mix.size()); i++) {
        float t = float(i) / SampleRate;
        float progress = float(i) / count;
        float hz = voice.pitch * tone.fromHz * std::pow(tone.toHz / tone.fromHz, progress);
        phase += 2 * M_PI * hz / SampleRate;
        float wave = std::sin(phase) + voice.brightness * (0.5f * std::sin(2 * phase) + 0.25f * std::sin(3 * phase));
        mix[first + i] += tone.level * Envelope(t, tone.lengthMs) * wave;
    }
}

}  // namespace

std::vector<int16_t> SynthesizeSound(int soundId, const Voice& voice)
{
    const Recipe& recipe = Recipes[soundId];
    std::vector<float> mix(size_t(recipe.lengthMs * SampleRate / 1000.0f), 0.0f);
    for (const Tone& tone : recipe.tones)
        if (tone.lengthMs > 0) AddTone(mix, tone, voice);

    float loudest = 0;
    for (float v : mix) loudest = std::max(loudest, std::fabs(v));
    float scale = loudest > 0 ? Peak * 32767.0f / loudest : 0;
    std::vector<int16_t> samples(mix.size());
    for (size_t i = 0; i < mix.size(); i++) samples[i] = int16_t(std::lround(mix[i] * scale));
    return samples;
}

static void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; i++) bytes.push_back(uint8_t(value >> (8 * i)));
}

std::vector<uint8_t> WaveFileBytes(const std::vector<int16_t>& samples)
{
    uint32_t dataSize = uint32_t(samples.size() * 2);
    std::vector<uint8_t> bytes;
    bytes.reserve(44 + dataSize);
    for (char c : {'R', 'I', 'F', 'F'}) bytes.push_back(uint8_t(c));
    PutLittleEndian(bytes, 36 + dataSize, 4);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) bytes.push_back(uint8_t(c));
    PutLittleEndian(bytes, 16, 4);            // fmt chunk size
    PutLittleEndian(bytes, 1, 2);             // PCM
    PutLittleEndian(bytes, 1, 2);             // mono
    PutLittleEndian(bytes, SampleRate, 4);
    PutLittleEndian(bytes, SampleRate * 2, 4);   // bytes per second
    PutLittleEndian(bytes, 2, 2);             // block align
    PutLittleEndian(bytes, 16, 2);            // bits per sample
    for (char c : {'d', 'a', 't', 'a'}) bytes.push_back(uint8_t(c));
    PutLittleEndian(bytes, dataSize, 4);
    for (int16_t s : samples) PutLittleEndian(bytes, uint16_t(s), 2);
    return bytes;
}

}  // namespace skins
