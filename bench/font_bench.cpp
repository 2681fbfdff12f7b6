// Finding the shell's font at start: from the remembered record (a few file checks) against
// fontconfig's full search, which loads its whole configuration (and opening the font in both).
#include "platform/font.h"
#include "platform/hosts/desktop/font_record.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A cache directory of its own for the record, removed at the end.
class PrivateCache {
public:
    PrivateCache()
    {
        char pattern[] = "/tmp/numbrix-bench-XXXXXX";
        directory_ = mkdtemp(pattern) ? pattern : "/tmp/numbrix-bench-cache";
        if (const char* cache = std::getenv("XDG_CACHE_HOME")) saved_ = cache;
        setenv("XDG_CACHE_HOME", directory_.c_str(), 1);
    }
    ~PrivateCache()
    {
        if (saved_.empty()) unsetenv("XDG_CACHE_HOME");
        else setenv("XDG_CACHE_HOME", saved_.c_str(), 1);
        std::filesystem::remove_all(directory_);
        UseFontFile(nullptr);
    }

private:
    std::string directory_;
    std::string saved_;
};

void BM_FindFontFromTheRecord(benchmark::State& state)
{
    PrivateCache cache;
    UseFontFile(nullptr);
    if (!FontAvailable()) state.SkipWithError("no font on this machine");
    for (auto _ : state) benchmark::DoNotOptimize(RememberedFontFile());
    if (RememberedFontFile().empty()) state.SkipWithError("the record was not used");
}
BENCHMARK(BM_FindFontFromTheRecord)->Unit(benchmark::kMicrosecond);

void BM_FindAndOpenFontWithoutARecord(benchmark::State& state)
{
    PrivateCache cache;
    for (auto _ : state) {
        std::remove(FontRecordPath().c_str());
        UseFontFile(nullptr);
        benchmark::DoNotOptimize(FontAvailable());
    }
}
BENCHMARK(BM_FindAndOpenFontWithoutARecord)->Unit(benchmark::kMillisecond);

void BM_FindAndOpenFontWithTheRecord(benchmark::State& state)
{
    PrivateCache cache;
    UseFontFile(nullptr);
    FontAvailable();
    for (auto _ : state) {
        UseFontFile(nullptr);
        benchmark::DoNotOptimize(FontAvailable());
    }
}
BENCHMARK(BM_FindAndOpenFontWithTheRecord)->Unit(benchmark::kMillisecond);

}  // namespace
