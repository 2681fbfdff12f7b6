// WAV loading and conversion of the sound player over arbitrary bytes, to the formats an audio
// device may ask for. Checked: a refusal leaves no samples, a success gives whole frames of the
// target format, no more than the player's bound, and no more than the file can stand for: at
// most two frames a byte (4-bit ADPCM) at 1 kHz or more, converted to the target's rate.
#include "fuzz_support.h"

#include "platform/wav.h"

namespace {

// The device's usual format first; the others are what SDL may hand the player instead.
const AudioFormat Targets[] = {
    {44100, SamplesS16, 2},
    {48000, SamplesF32, 2},
    {22050, SamplesU8, 1},
    {96000, SamplesS32, 6},
};

void CheckConversion(const std::u16string& path, size_t fileSize, const AudioFormat& target)
{
    std::vector<uint8_t> pcm(3, 0xAA);   // whatever was there before must go
    bool ok = LoadWavConverted(path.c_str(), target, pcm);
    if (!ok) {
        FUZZ_CHECK(pcm.empty());
        return;
    }
    const size_t frame = size_t(FrameBytes(target));
    FUZZ_CHECK(pcm.size() % frame == 0);
    FUZZ_CHECK(pcm.size() <= (size_t(64) << 20));
    const size_t ratio = size_t(target.frequency + 999) / 1000;
    FUZZ_CHECK(pcm.size() <= (2 * fileSize + 1024) * ratio * frame);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string hostPath = ScratchPath("input.wav");
    static const std::u16string path = ScratchDevicePath("input.wav");
    WriteScratchFile(hostPath, data, size);
    CheckConversion(path, size, Targets[0]);
    CheckConversion(path, size, Targets[1 + size % 3]);
    return 0;
}
