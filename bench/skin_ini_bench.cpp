// The skin text reader on a skin-sized file: 166 keys in four sections, CR LF line ends, as a
// complete skin carries them. Every lookup reopens and rescans the file.
#include "platform/files.h"
#include "platform/text.h"
#include "skin/skin_ini.h"
#include "tests/support/temp_dir.h"

#include <benchmark/benchmark.h>
#include <sstream>
#include <string>

namespace {

class SkinFile {
public:
    SkinFile()
    {
        std::ostringstream out;
        out << "[FILE]\r\nBACKIMAGE=back.bmp\r\nPARTSIMAGE=parts.bmp\r\n\r\n[CHARACTER]\r\n";
        for (int n = 1; n <= 112; ++n) {
            out << "CHAR" << (n < 10 ? "00" : n < 100 ? "0" : "") << n << "=" << n * 20 % 240 << ","
                << n / 12 * 24 << ",20,24   # cell " << n - 1 << "\r\n";
        }
        out << "\r\n[AREA]\r\n";
        for (int n = 1; n <= 43; ++n) {
            out << "AREA" << (n < 10 ? "0" : "") << n << "=" << n * 30 % 240 << "," << n * 7 << ",40,32\r\n";
        }
        out << "\r\n[SOUND]\r\n";
        for (int n = 1; n <= 9; ++n) out << "SOUND0" << n << "=sound" << n << ".wav\r\n";
        directory_.Write("bench.skn", out.str());
        path_ = directory_.DevicePath("bench.skn");
    }
    LPCWSTR Path() const { return path_.c_str(); }

private:
    TempDir directory_;
    std::u16string path_;
};

void BM_LookupKeyNearTheEnd(benchmark::State& state)
{
    SkinFile skin;
    WCHAR value[SkinFieldSize];
    for (auto _ : state) {
        ReadSkinValue(u"SOUND", u"SOUND09", u"---", value, skin.Path());
        benchmark::DoNotOptimize(value);
    }
    if (wcscmp(value, u"sound9.wav") != 0) state.SkipWithError("lookup did not find SOUND09");
}
BENCHMARK(BM_LookupKeyNearTheEnd);

// All 166 lookups of a skin load, in the loader's order.
void BM_LookupEveryKeyOfASkin(benchmark::State& state)
{
    SkinFile skin;
    WCHAR key[16];
    WCHAR value[SkinFieldSize];
    for (auto _ : state) {
        ReadSkinValue(u"FILE", u"BACKIMAGE", u"---", value, skin.Path());
        ReadSkinValue(u"FILE", u"PARTSIMAGE", u"---", value, skin.Path());
        for (int n = 1; n <= 112; ++n) {
            wsprintfW(key, u"CHAR%03d", n);
            ReadSkinValue(u"CHARACTER", key, u"---", value, skin.Path());
        }
        for (int n = 1; n <= 43; ++n) {
            wsprintfW(key, u"AREA%02d", n);
            ReadSkinValue(u"AREA", key, u"---", value, skin.Path());
        }
        for (int n = 1; n <= 9; ++n) {
            wsprintfW(key, u"SOUND%02d", n);
            ReadSkinValue(u"SOUND", key, u"---", value, skin.Path());
        }
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_LookupEveryKeyOfASkin)->Unit(benchmark::kMicrosecond);

// Reading a text file of 100,000 lines with fgetws: linear in the file's size.
void BM_ReadManyLines(benchmark::State& state)
{
    TempDir directory;
    std::ostringstream text;
    for (int i = 0; i < state.range(0); ++i) text << "KEY" << i << "=value\r\n";
    directory.Write("many.skn", text.str());
    std::u16string path = directory.DevicePath("many.skn");
    WCHAR line[SkinFieldSize];
    for (auto _ : state) {
        WFILE* file = _wfopen(path.c_str(), u"rt");
        int64_t lines = 0;
        while (file && fgetws(line, SkinFieldSize, file)) ++lines;
        if (file) fclose(file);
        if (lines != state.range(0)) state.SkipWithError("wrong line count");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadManyLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
