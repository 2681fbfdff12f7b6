// Reading the settings at a first start, which creates their key in a new settings file.
#include "tests/support/temp_dir.h"

#include "shell/app_main.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

void BM_ReadSettingsAtAFirstStart(benchmark::State& state)
{
    TempDir dir;
    std::string file = dir.HostPath("registry.reg");
    setenv("NUMBRIX_REGISTRY", file.c_str(), 1);
    for (auto _ : state) {
        std::filesystem::remove(file);
        LoadSettings();
    }
    unsetenv("NUMBRIX_REGISTRY");
}
BENCHMARK(BM_ReadSettingsAtAFirstStart)->Unit(benchmark::kMicrosecond);

}  // namespace
