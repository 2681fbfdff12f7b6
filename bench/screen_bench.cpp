// The screen's cost per presented frame: composing two windows and the title bar, composing only a
// key's area, drawing a line of Japanese text, and finding what a key press changed.
#include "platform/font.h"
#include "platform/headless.h"
#include "platform/user/screen_internals.h"
#include "platform/user/window_internals.h"
#include "platform/wince.h"

#include <benchmark/benchmark.h>

static LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// A fresh device with a shown full-screen main window.
static HWND FreshMainWindow()
{
    ResetHeadlessDevice();
    WNDCLASSW cls{};
    cls.lpfnWndProc = Proc;
    cls.lpszClassName = u"BenchWindow";
    RegisterClassW(&cls);
    return CreateWindowExW(0, u"BenchWindow", u"Numbrix", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
}

static void BM_ComposeScreen(benchmark::State& state)
{
    HWND main = FreshMainWindow();
    CreateWindowExW(0, u"BenchWindow", u"", WS_VISIBLE, 0, 294, 240, 26, main, nullptr, nullptr, nullptr);
    RunUntilIdle();
    for (auto _ : state) {
        WindowSurfaceChanged(main);
        benchmark::DoNotOptimize(ScreenPixels().pixels.data());
    }
    ResetHeadlessDevice();
}
BENCHMARK(BM_ComposeScreen);

// What a key press has composed again: its key's area of the face window, found by the copy
// into the window.
static void BM_ComposeAKeyPressArea(benchmark::State& state)
{
    HWND main = FreshMainWindow();
    RunUntilIdle();
    ComposedScreen();
    std::vector<RECT> areas;
    for (auto _ : state) {
        WindowSurfaceAreaChanged(main, RECT{5, 190, 47, 218});
        benchmark::DoNotOptimize(ComposedScreen().pixels.data());
        TakeComposedAreas(&areas);
    }
    ResetHeadlessDevice();
}
BENCHMARK(BM_ComposeAKeyPressArea);

static void BM_RenderTitleText(benchmark::State& state)
{
    PixelBuffer target;
    target.Resize(240, 26, 0x0A2A7A);
    const std::u16string text = u"スキン選択";
    for (auto _ : state) benchmark::DoNotOptimize(RenderText(target, 6, 4, text, 15, 0xFFFFFF));
}
BENCHMARK(BM_RenderTitleText);

// Two screens that differ where a press changes them: a key's face and the display's digits.
static PixelBuffer PressedScreen(const PixelBuffer& before)
{
    PixelBuffer after = before;
    for (int y = 40; y < 60; ++y)
        for (int x = 180; x < 230; ++x) after.pixels[size_t(y) * 240 + size_t(x)] = 0x000000;
    for (int y = 190; y < 218; ++y)
        for (int x = 5; x < 47; ++x) after.pixels[size_t(y) * 240 + size_t(x)] = 0xC0C0C0;
    return after;
}

static void BM_ChangedRectsOfAKeyPress(benchmark::State& state)
{
    PixelBuffer before;
    before.Resize(240, 320, 0x808080);
    PixelBuffer after = PressedScreen(before);
    for (auto _ : state) benchmark::DoNotOptimize(ChangedRects(before, after));
}
BENCHMARK(BM_ChangedRectsOfAKeyPress);

// The same press found against the host's picture of the screen at scale 2 (480 x 640), as the
// SDL host finds it in its window's surface.
static void BM_ChangedRectsOfAKeyPressOnAScaledSurface(benchmark::State& state)
{
    PixelBuffer before, shown;
    before.Resize(240, 320, 0x808080);
    shown.Resize(480, 640, 0x808080);
    PixelBuffer after = PressedScreen(before);
    const ScaledPicture picture{shown.pixels.data(), 480, 2, 240, 320};
    for (auto _ : state) benchmark::DoNotOptimize(ChangedRects(picture, after));
}
BENCHMARK(BM_ChangedRectsOfAKeyPressOnAScaledSurface);
