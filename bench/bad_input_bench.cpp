// How long the program takes to answer the worst skin files and images: refusing what is
// damaged, and loading what is valid but huge. Each benchmark is one LoadSkin (or one
// SHLoadDIBitmap) with its message or its skin.
#include "tests/support/bad_input.h"
#include "tests/support/bmp_writer.h"

#include "platform/inspect.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

// One installation for all benchmarks; each writes its skin file before it runs.
struct Installation {
    TestInstallation install;
    std::u16string path;
    Installation()
    {
        path = install.WriteSkin("test");
        CreateTestMainWindow();
    }
    void Skin(const std::string& text) { WriteFile(install.HostPath("skin/test.skn"), text); }
    void Image(const char* name, const std::string& bytes) { WriteFile(install.HostPath(std::string("skin/test/") + name), bytes); }
    void Load(benchmark::State& state, int32_t expected)
    {
        for (auto _ : state) {
            ReleaseSurfaces();
            ClearMessageBoxLog();
            ClearSoundLog();
            if (LoadSkin(path.c_str()) != expected) state.SkipWithError("unexpected result");
        }
        ReleaseSurfaces();
        // Put the plain skin back for the next benchmark.
        Skin(TestSkinText().Text());
        path = install.WriteSkin("test");
    }
};

Installation& Install()
{
    static Installation installation;
    return installation;
}

void BM_PlainTestSkin(benchmark::State& state)
{
    Install().Load(state, 0);
}
BENCHMARK(BM_PlainTestSkin)->Unit(benchmark::kMillisecond);

void BM_Refuse100000LinesWithoutSections(benchmark::State& state)
{
    Install().Skin(bad_input::Lines(100000, "REMARK=nothing"));
    Install().Load(state, 1);
}
BENCHMARK(BM_Refuse100000LinesWithoutSections)->Unit(benchmark::kMillisecond);

// Every one of the 166 look-ups reads past the 100,000 lines before it finds its section.
void BM_Load100000LinesThenTheSkin(benchmark::State& state)
{
    Install().Skin(bad_input::Lines(100000, "REMARK=nothing") + TestSkinText().Text());
    Install().Load(state, 0);
}
BENCHMARK(BM_Load100000LinesThenTheSkin)->Unit(benchmark::kMillisecond);

void BM_Load10000CharacterLines(benchmark::State& state)
{
    Install().Skin(bad_input::WithLongLines(TestSkinText().Text(), 10000));
    Install().Load(state, 0);
}
BENCHMARK(BM_Load10000CharacterLines)->Unit(benchmark::kMillisecond);

void BM_RefuseAMebibyteOfNulBytes(benchmark::State& state)
{
    Install().Skin(std::string(1 << 20, '\0'));
    Install().Load(state, 1);
}
BENCHMARK(BM_RefuseAMebibyteOfNulBytes)->Unit(benchmark::kMillisecond);

// Not UTF-8, so read as code page 932, in which most of it is no character at all.
void BM_RefuseAMebibyteOfRandomBytes(benchmark::State& state)
{
    std::string bytes(1 << 20, '\0');
    uint32_t seed = 12345;
    for (char& b : bytes) b = char((seed = seed * 1103515245u + 12345u) >> 24);
    Install().Skin(bytes);
    Install().Load(state, 1);
}
BENCHMARK(BM_RefuseAMebibyteOfRandomBytes)->Unit(benchmark::kMillisecond);

// The largest skin file read: junk up to the size cap, then the skin at its end.
void BM_LoadTheLargestSkinFile(benchmark::State& state)
{
    const std::string skin = TestSkinText().Text();
    const std::string line = "REMARK=nothing to see";
    Install().Skin(bad_input::Lines(int((TextFileMaxBytes - skin.size()) / (line.size() + 2)), line) + skin);
    Install().Load(state, 0);
}
BENCHMARK(BM_LoadTheLargestSkinFile)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_RefuseASkinFileOverTheSizeCap(benchmark::State& state)
{
    Install().Skin(TestSkinText().Text());
    std::filesystem::resize_file(Install().install.HostPath("skin/test.skn"), TextFileMaxBytes + 1);
    Install().Load(state, 1);
}
BENCHMARK(BM_RefuseASkinFileOverTheSizeCap)->Unit(benchmark::kMillisecond);

void BM_RefuseBackgroundClaiming30000Square(benchmark::State& state)
{
    Install().Image("back.bmp", bad_input::BitmapHeaderClaiming(30000, 30000));
    Install().Load(state, 1);
}
BENCHMARK(BM_RefuseBackgroundClaiming30000Square)->Unit(benchmark::kMillisecond);

void BM_RefusePartsImageEndingEarly(benchmark::State& state)
{
    Install().Image("parts.bmp", bad_input::BitmapEndingEarly());
    Install().Load(state, 1);
}
BENCHMARK(BM_RefusePartsImageEndingEarly)->Unit(benchmark::kMillisecond);

// The most pixels a file of a kilobyte can ask for: run-length coding lets an 8-bit image of
// 16384 x 1024 end at once, and every pixel is still made (and masked, for a parts image).
void BM_LoadLargestRunLengthPartsImage(benchmark::State& state)
{
    BmpPlan picture;
    picture.width = 16384;
    picture.height = 1024;
    picture.bitCount = 8;
    picture.compression = 1;
    picture.colorsUsed = 2;
    picture.palette = {0x646464, 0x3366CC};
    picture.pixelData = {0, 1};   // end of bitmap
    std::vector<uint8_t> bytes = BmpFile(picture);
    Install().Image("parts.bmp", std::string(bytes.begin(), bytes.end()));
    Install().Load(state, 0);
}
BENCHMARK(BM_LoadLargestRunLengthPartsImage)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
