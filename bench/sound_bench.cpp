// The part of sndPlaySoundW that runs inside the handling of a key press: reading a skin's click
// sound and converting it to a typical device format before it is queued.
#include "platform/wav.h"
#include "tests/support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <string>

static void Put(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++) out += char((value >> (8 * i)) & 0xFF);
}

// A 150 ms click, 16-bit mono at 22,050 Hz (6.6 KB), converted to 48 kHz stereo float.
static void BM_LoadClickForDevice(benchmark::State& state)
{
    const int rate = 22050;
    const int frames = rate * 150 / 1000;
    std::string wav = "RIFF";
    Put(wav, uint32_t(36 + frames * 2), 4);
    wav += "WAVEfmt ";
    for (uint32_t v : {16u, 1u | (1u << 16), uint32_t(rate), uint32_t(rate * 2), 2u | (16u << 16)}) Put(wav, v, 4);
    wav += "data";
    Put(wav, uint32_t(frames * 2), 4);
    for (int i = 0; i < frames; i++) Put(wav, uint32_t(uint16_t((i / 25) % 2 ? 8000 : -8000)), 2);
    TempDir directory;
    directory.Write("click.wav", wav);
    const std::u16string path = directory.DevicePath("click.wav");
    const AudioFormat device{48000, SamplesF32, 2};
    std::vector<uint8_t> pcm;
    for (auto _ : state) {
        if (!LoadWavConverted(path.c_str(), device, pcm)) state.SkipWithError("click did not load");
        benchmark::DoNotOptimize(pcm.data());
    }
}
BENCHMARK(BM_LoadClickForDevice)->Unit(benchmark::kMicrosecond);
