// The skins' sounds: short, clean, distinct per event, and well-formed wave files.
#include "tools/make_skins/skin_sounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

using namespace skins;

namespace {

double Milliseconds(const std::vector<int16_t>& samples)
{
    return samples.size() * 1000.0 / SampleRate;
}

int Peak(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

// Normalised correlation over the shorter length: 1 for the same waveform.
double Similarity(const std::vector<int16_t>& a, const std::vector<int16_t>& b)
{
    size_t n = std::min(a.size(), b.size());
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < n; i++) ab += double(a[i]) * b[i], aa += double(a[i]) * a[i], bb += double(b[i]) * b[i];
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 1.0;
}

class SkinSoundTest : public ::testing::TestWithParam<int> {
protected:
    const SkinDesign& design = SkinDesigns[GetParam()];
    std::vector<int16_t> Sound(int id) { return SynthesizeSound(id, design.voice); }
};

TEST_P(SkinSoundTest, EverySoundIsShortAndAudible)
{
    for (int id = 0; id < SoundEvents; id++) {
        std::vector<int16_t> samples = Sound(id);
        EXPECT_GE(Milliseconds(samples), 30.0) << "sound " << id;
        EXPECT_LE(Milliseconds(samples), 150.0) << "sound " << id;
        EXPECT_GT(Peak(samples), 32767 / 4) << "sound " << id;
        EXPECT_LT(Peak(samples), 32767 * 3 / 4) << "sound " << id;
    }
}

// A sound that starts or stops away from zero clicks.
TEST_P(SkinSoundTest, EverySoundStartsAndEndsInSilence)
{
    for (int id = 0; id < SoundEvents; id++) {
        std::vector<int16_t> samples = Sound(id);
        ASSERT_FALSE(samples.empty());
        EXPECT_LT(std::abs(int(samples.front())), 200) << "sound " << id;
        EXPECT_LT(std::abs(int(samples.back())), 200) << "sound " << id;
    }
}

TEST_P(SkinSoundTest, EventsSoundDifferent)
{
    for (int a = 0; a < SoundEvents; a++)
        for (int b = a + 1; b < SoundEvents; b++) {
            std::vector<int16_t> first = Sound(a), second = Sound(b);
            bool differentLength = std::abs(double(first.size()) - double(second.size())) > SampleRate / 100;
            EXPECT_TRUE(differentLength || Similarity(first, second) < 0.8) << "sounds " << a << " and " << b;
        }
}

TEST_P(SkinSoundTest, BuildTreeHoldsTheSameWaveFiles)
{
    for (int id = 0; id < SoundEvents; id++) {
        std::string path = std::string(NUMBRIX_SKIN_BUILD_DIR) + "/" + design.name + "/" + SoundFileNames[id];
        std::ifstream file(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(bytes == WaveFileBytes(Sound(id))) << path;
    }
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinSoundTest, ::testing::Range(0, SkinDesignCount),
                         [](const auto& info) { return std::string(SkinDesigns[info.param].name); });

TEST(SkinSounds, TheSkinsHaveTheirOwnVoices)
{
    for (int id = 0; id < SoundEvents; id++)
        EXPECT_LT(Similarity(SynthesizeSound(id, SkinDesigns[0].voice), SynthesizeSound(id, SkinDesigns[1].voice)), 0.8)
            << "sound " << id;
}

uint32_t Field(const std::vector<uint8_t>& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; i--) value = value << 8 | bytes.at(at + i);
    return value;
}

struct HeaderField {
    const char* name;
    size_t offset;
    int size;
    uint32_t expected;   // with samples of 100 samples
};

TEST(WaveFile, HeaderDescribesMono16BitPcm)
{
    const std::vector<int16_t> samples(100, 7);
    const std::vector<uint8_t> bytes = WaveFileBytes(samples);
    ASSERT_EQ(bytes.size(), 44u + 200u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    const HeaderField fields[] = {
        {"riff size", 4, 4, 36 + 200}, {"fmt size", 16, 4, 16},  {"format", 20, 2, 1},
        {"channels", 22, 2, 1},        {"rate", 24, 4, 22050},   {"byte rate", 28, 4, 44100},
        {"block align", 32, 2, 2},     {"bits", 34, 2, 16},      {"data size", 40, 4, 200},
    };
    for (const HeaderField& f : fields) EXPECT_EQ(Field(bytes, f.offset, f.size), f.expected) << f.name;
}

TEST(WaveFile, SamplesFollowLittleEndian)
{
    const std::vector<uint8_t> bytes = WaveFileBytes({0x1234, -2});
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(bytes[44], 0x34);
    EXPECT_EQ(bytes[45], 0x12);
    EXPECT_EQ(bytes[46], 0xFE);
    EXPECT_EQ(bytes[47], 0xFF);
}

}  // namespace
