#include "platform/host_paths.h"
#include "platform/wav.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const AudioFormat kS16Mono8k{8000, SamplesS16, 1};
const AudioFormat kS16Stereo22k{22050, SamplesS16, 2};
const AudioFormat kF32Mono44k{44100, SamplesF32, 1};
const AudioFormat kF32Stereo48k{48000, SamplesF32, 2};

struct WavHeader {
    int rate;
    int bits;
    int channels;
    int formatTag = 1;   // 1 PCM, 3 IEEE float
    std::string list = "";   // the body of a LIST chunk before the data, padded to an even size
};

void Put(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++) out += char((value >> (8 * i)) & 0xFF);
}

// A canonical RIFF WAVE file; `dataSize` overrides the size the data chunk claims.
std::string WavFile(const WavHeader& h, const std::string& data, int64_t dataSize = -1)
{
    int blockAlign = h.channels * h.bits / 8;
    std::string list;
    if (!h.list.empty()) {
        list = "LIST";
        Put(list, uint32_t(h.list.size()), 4);
        list += h.list + std::string(h.list.size() % 2, '\0');
    }
    std::string out = "RIFF";
    Put(out, uint32_t(36 + list.size() + data.size()), 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, uint32_t(h.formatTag), 2);
    Put(out, uint32_t(h.channels), 2);
    Put(out, uint32_t(h.rate), 4);
    Put(out, uint32_t(h.rate * blockAlign), 4);
    Put(out, uint32_t(blockAlign), 2);
    Put(out, uint32_t(h.bits), 2);
    out += list + "data";
    Put(out, uint32_t(dataSize < 0 ? int64_t(data.size()) : dataSize), 4);
    return out + data;
}

// Samples in -1..1, encoded as the header's format says (little-endian, as WAV files are).
std::string Samples(const WavHeader& h, const std::vector<double>& values)
{
    std::string out;
    for (double v : values) {
        if (h.formatTag == 3) {
            float f = float(v);
            uint32_t bits;
            std::memcpy(&bits, &f, 4);
            Put(out, bits, 4);
        } else if (h.bits == 8) {
            Put(out, uint32_t(std::lround(v * 127.0) + 128), 1);
        } else {
            Put(out, uint32_t(uint16_t(int16_t(std::lround(v * 32767.0)))), 2);
        }
    }
    return out;
}

// Converted bytes back to samples in -1..1.
std::vector<double> Decode(const std::vector<uint8_t>& pcm, const AudioFormat& format)
{
    std::vector<double> values;
    if (format.sampleFormat == SamplesF32) {
        for (size_t i = 0; i + 4 <= pcm.size(); i += 4) {
            float f;
            std::memcpy(&f, &pcm[i], 4);
            values.push_back(f);
        }
    } else {
        for (size_t i = 0; i + 2 <= pcm.size(); i += 2) {
            int16_t s;
            std::memcpy(&s, &pcm[i], 2);
            values.push_back(s / 32768.0);
        }
    }
    return values;
}

class Wav : public ::testing::Test {
protected:
    // Writes the file and returns its device path (backslashes).
    std::u16string Store(const std::string& bytes, const char* name = "sound.wav")
    {
        dir.Write(name, bytes);
        return dir.DevicePath(name);
    }

    TempDir dir;
};

TEST_F(Wav, ConvertsSampleFormatsAndChannels)
{
    struct {
        const char* what;
        WavHeader header;
        std::vector<double> in;
        AudioFormat target;
        std::vector<double> out;
    } cases[] = {
        {"8-bit mono", {8000, 8, 1}, {0, 0.5, -0.5, -1}, kS16Mono8k, {0, 0.5, -0.5, -1}},
        {"16-bit stereo as is", {22050, 16, 2}, {0.25, -0.25, 0.5, -0.75}, kS16Stereo22k, {0.25, -0.25, 0.5, -0.75}},
        {"mono to stereo", {22050, 16, 1}, {0.25, -0.5}, kS16Stereo22k, {0.25, 0.25, -0.5, -0.5}},
        {"stereo to mono", {8000, 16, 2}, {0.5, 0.25, -1, 0}, kS16Mono8k, {0.375, -0.5}},
        {"8-bit stereo to float mono", {44100, 8, 2}, {0.5, 0.5, -0.5, 0}, kF32Mono44k, {0.5, -0.25}},
        {"float to 16-bit", {8000, 32, 1, 3}, {0.125, -0.875}, kS16Mono8k, {0.125, -0.875}},
        {"after an odd-sized chunk", {8000, 16, 1, 1, "abc"}, {0.25, -0.5}, kS16Mono8k, {0.25, -0.5}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> pcm;
        ASSERT_TRUE(LoadWavConverted(Store(WavFile(c.header, Samples(c.header, c.in))).c_str(), c.target, pcm))
            << c.what;
        std::vector<double> got = Decode(pcm, c.target);
        ASSERT_EQ(got.size(), c.out.size()) << c.what;
        for (size_t i = 0; i < got.size(); i++) EXPECT_NEAR(got[i], c.out[i], 0.01) << c.what << " sample " << i;
    }
}

TEST_F(Wav, ResamplesToTheTargetRate)
{
    struct {
        int rate;
        AudioFormat target;
    } cases[] = {{11025, kF32Mono44k}, {44100, AudioFormat{22050, SamplesF32, 1}}, {22050, kF32Stereo48k}};
    for (const auto& c : cases) {
        WavHeader header{c.rate, 16, 1};
        const size_t frames = size_t(c.rate) / 10;   // a tenth of a second of a steady level
        std::vector<uint8_t> pcm;
        ASSERT_TRUE(LoadWavConverted(Store(WavFile(header, Samples(header, std::vector<double>(frames, 0.5)))).c_str(),
                                     c.target, pcm));
        std::vector<double> got = Decode(pcm, c.target);
        double expectedFrames = double(c.target.frequency) / 10;
        EXPECT_NEAR(double(got.size()) / c.target.channels, expectedFrames, expectedFrames * 0.02) << c.rate;
        ASSERT_FALSE(got.empty());
        EXPECT_NEAR(got[got.size() / 2], 0.5, 0.02) << c.rate;
    }
}

TEST_F(Wav, ShortDataChunkGivesTheWholeFramesThatArePresent)
{
    WavHeader header{8000, 16, 2};
    std::string data = Samples(header, {0.5, -0.5, 0.25, -0.25});
    std::vector<uint8_t> pcm;
    // The chunk claims 1000 bytes and ends after two frames and one stray byte.
    const AudioFormat same{8000, SamplesS16, 2};
    ASSERT_TRUE(LoadWavConverted(Store(WavFile(header, data + "x", 1000)).c_str(), same, pcm));
    std::vector<double> got = Decode(pcm, same);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_NEAR(got[3], -0.25, 0.01);
}

// Caps the process's address space at what it uses now plus 512 MiB, then loads the sound; for a
// child process only.
bool LoadsTwoSamplesWithLittleMemoryToSpare(const std::u16string& path)
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t cap = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(512) << 20);
    const rlimit limit{cap, cap};
    if (setrlimit(RLIMIT_AS, &limit) != 0) return false;
    std::vector<uint8_t> pcm;
    return LoadWavConverted(path.c_str(), kS16Mono8k, pcm) && pcm.size() == 4;
}

// SDL's loader allocates what a chunk claims before reading it. In a child whose address space
// has only 512 MiB to spare, a chunk claiming 3.5 GB must still give the frames the file holds.
TEST_F(Wav, ChunkClaimingGigabytesCostsNoMoreThanTheFile)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the cap leaves";
#endif
    WavHeader header{8000, 16, 1};
    std::u16string path = Store(WavFile(header, Samples(header, {0.5, -0.5}), 0xD3700582));
    EXPECT_EXIT(std::_Exit(LoadsTwoSamplesWithLittleMemoryToSpare(path) ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST_F(Wav, RefusesWhatIsNotASound)
{
    WavHeader pcm16{8000, 16, 1};
    std::string good = WavFile(pcm16, Samples(pcm16, {0.1, 0.2, 0.3}));
    std::mt19937 generator(7);
    std::string noise(2048, '\0');
    for (char& b : noise) b = char(generator());
    std::string riffNoise = "RIFF\x10\x00\x00\x00WAVE" + noise;
    struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"RIFF alone", "RIFF"},
        {"header cut short", good.substr(0, 30)},
        {"noise", noise},
        {"RIFF WAVE then noise", riffNoise},
        {"compressed format tag", WavFile(WavHeader{8000, 16, 1, 0x55}, Samples(pcm16, {0.1}))},
        {"no channels", WavFile(WavHeader{8000, 16, 0}, "")},
        {"zero rate", WavFile(WavHeader{0, 16, 1}, Samples(pcm16, {0.1}))},
        {"rate below 1 kHz", WavFile(WavHeader{999, 16, 1}, Samples(pcm16, {0.1}))},
        {"rate past 384 kHz", WavFile(WavHeader{384001, 16, 1}, Samples(pcm16, {0.1}))},
        {"rate of 4.2 MHz", WavFile(WavHeader{4202304, 16, 1}, Samples(pcm16, {0.1}))},
        {"odd sample width", WavFile(WavHeader{8000, 12, 1}, Samples(pcm16, {0.1}))},
        {"text", "[SOUND]\nSOUND01=click.wav\n"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> out{1, 2, 3};
        EXPECT_FALSE(LoadWavConverted(Store(c.bytes).c_str(), kS16Mono8k, out)) << c.what;
        EXPECT_TRUE(out.empty()) << c.what;
    }
}

TEST_F(Wav, RatesFrom1kHzTo384kHzConvert)
{
    for (int rate : {1000, 384000}) {
        WavHeader header{rate, 16, 1};
        std::vector<uint8_t> pcm;
        std::vector<double> tenMilliseconds(size_t(rate / 100), 0.5);
        ASSERT_TRUE(LoadWavConverted(Store(WavFile(header, Samples(header, tenMilliseconds))).c_str(), kS16Mono8k, pcm))
            << rate;
        EXPECT_NEAR(double(pcm.size()) / 2, 80, 2) << rate;   // 10 ms at 8 kHz
    }
}

TEST_F(Wav, RefusesPathsThatAreNotReadableFiles)
{
    fs::create_directory(dir.HostPath("folder"));
    std::vector<uint8_t> out;
    for (const std::string& host : {dir.HostPath("missing.wav"), dir.HostPath("folder"), std::string("/dev/zero")}) {
        EXPECT_FALSE(LoadWavConverted(DevicePathFromHost(host).c_str(), kS16Mono8k, out)) << host;
    }
    EXPECT_FALSE(LoadWavConverted(nullptr, kS16Mono8k, out));
}

TEST_F(Wav, RefusesOversizedFilesAndSounds)
{
    WavHeader u8{8000, 8, 1};
    std::vector<uint8_t> out;
    // Over 16 MiB on disk: refused before anything is decoded.
    std::string big = WavFile(u8, std::string(64, '\x80'), (17 << 20));
    std::u16string path = Store(big, "big.wav");
    fs::resize_file(dir.HostPath("big.wav"), (17 << 20) + 44);
    EXPECT_FALSE(LoadWavConverted(path.c_str(), kS16Mono8k, out));
    // 3 MiB of 8 kHz bytes grow past 64 MiB as 48 kHz stereo floats; 1 MiB stays below.
    EXPECT_FALSE(LoadWavConverted(Store(WavFile(u8, std::string(3 << 20, '\x80'))).c_str(), kF32Stereo48k, out));
    EXPECT_TRUE(LoadWavConverted(Store(WavFile(u8, std::string(1 << 20, '\x80'))).c_str(), kF32Stereo48k, out));
    EXPECT_NEAR(double(out.size()), double(1 << 20) * 6 * 8, double(1 << 20) * 6 * 8 * 0.01);
}

}  // namespace
