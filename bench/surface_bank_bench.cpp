// The two transfers a frame is made of: a transparent 40 x 30 cell (two raster operations through
// the mask) and the full 240 x 268 opaque copy of a surface.
// The C library's <wchar.h> must come before platform/files.h declares its own fclose overload.
#include <benchmark/benchmark.h>

#include "platform/wince.h"
#include "skin/surface_bank.h"
#include "tests/support/test_window.h"

namespace {

// Composition (0) and background (1) of the calculator's client size, parts (2) with its mask (3).
struct Bank {
    HWND window = CreateTestWindow();
    bool ready = false;
    Bank()
    {
        ResetSurfaceBank();
        ready = window && CreateSurface(0, nullptr, window, nullptr, 240, 268) == 0 &&
                CreateSurface(1, nullptr, window, nullptr, 240, 268) == 0 &&
                CreateSurface(2, nullptr, window, nullptr, 240, 268) == 0 &&
                CreateMask(2, 3, RGB(100, 100, 100)) == 0 && DefineCell(0, 2, 40, 60, 40, 30) == 0;
    }
    ~Bank()
    {
        ReleaseSurfaces();
        DestroyWindow(window);
    }
};

void BM_TransparentCell40x30(benchmark::State& state)
{
    Bank bank;
    if (!bank.ready) state.SkipWithError("surfaces not created");
    for (auto _ : state) benchmark::DoNotOptimize(DrawCell(0, 0, 100, 120, 1));
}
BENCHMARK(BM_TransparentCell40x30);

void BM_OpaqueSurface240x268(benchmark::State& state)
{
    Bank bank;
    if (!bank.ready) state.SkipWithError("surfaces not created");
    for (auto _ : state) benchmark::DoNotOptimize(BlitSurface(1, 0, 0, 0, 0, 0, 0, 0, 0));
}
BENCHMARK(BM_OpaqueSurface240x268);

void BM_OpaqueSurfaceToWindow(benchmark::State& state)
{
    Bank bank;
    if (!bank.ready) state.SkipWithError("surfaces not created");
    for (auto _ : state) benchmark::DoNotOptimize(BlitToWindow(0, 0, 0, 0, 0, bank.window, 0, 0, 0));
}
BENCHMARK(BM_OpaqueSurfaceToWindow);

}  // namespace
