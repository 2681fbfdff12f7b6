// The screen's cost per presented frame: composing two windows and the title bar, and drawing a
// line of Japanese text.
#include "platform/font.h"
#include "platform/headless.h"
#include "platform/user/window_internals.h"
#include "platform/wince.h"

#include <benchmark/benchmark.h>

static LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

static void BM_ComposeScreen(benchmark::State& state)
{
    ResetHeadlessDevice();
    WNDCLASSW cls{};
    cls.lpfnWndProc = Proc;
    cls.lpszClassName = u"BenchWindow";
    RegisterClassW(&cls);
    HWND main = CreateWindowExW(0, u"BenchWindow", u"Numbrix", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(0, u"BenchWindow", u"", WS_VISIBLE, 0, 294, 240, 26, main, nullptr, nullptr, nullptr);
    RunUntilIdle();
    for (auto _ : state) {
        WindowSurfaceChanged(main);
        benchmark::DoNotOptimize(ScreenPixels().pixels.data());
    }
    ResetHeadlessDevice();
}
BENCHMARK(BM_ComposeScreen);

static void BM_RenderTitleText(benchmark::State& state)
{
    PixelBuffer target;
    target.Resize(240, 26, 0x0A2A7A);
    const std::u16string text = u"スキン選択";
    for (auto _ : state) benchmark::DoNotOptimize(RenderText(target, 6, 4, text, 15, 0xFFFFFF));
}
BENCHMARK(BM_RenderTitleText);
