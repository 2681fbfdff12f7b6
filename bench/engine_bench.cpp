// The calculator's per-key work: an action and the display text that the next paint builds.
#include "display/display_text.h"
#include "engine/calc_state.h"

#include <benchmark/benchmark.h>

static void BM_ApplyKeyAndBuildText(benchmark::State& state)
{
    const int keys[] = {4, 10, 16, KeyPoint, 3, 9, KeyMultiply, 15, 2, KeyEquals, KeyClearAll};
    WCHAR text[DisplayTextMax + 1];
    calcState = CalcState{Dec, 0, 0, 0, 0, 0, OpNone, 0, 0};
    size_t i = 0;
    for (auto _ : state) {
        ApplyKey(keys[i++ % std::size(keys)]);
        benchmark::DoNotOptimize(BuildDisplayText(&calcState, text));
    }
}
BENCHMARK(BM_ApplyKeyAndBuildText);
