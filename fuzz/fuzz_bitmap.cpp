// Bitmap files over arbitrary bytes: SHLoadDIBitmap directly, then as the skin loader uses it, a
// surface from the file, its mask for a colour key and transparent drawing onto another surface.
// Checked: a bitmap has a sane size, the surface exists exactly when the file decodes, the mask is
// 1 exactly where the source had the key, the prepared source is black there, a transparent
// transfer keeps the destination there and draws the source elsewhere, and every DC and bitmap
// is given back.
#include "fuzz_support.h"

#include "engine/app_globals.h"
#include "platform/gdi/gdi_internals.h"
#include "platform/inspect.h"
#include "platform/wince.h"
#include "skin/surface_bank.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int WindowWidth = 64;
constexpr int WindowHeight = 48;
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

HWND window;

HWND CreateWindowToDrawOn()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        return m == WM_CREATE ? 0 : DefWindowProcW(w, m, wp, lp);
    };
    windowClass.lpszClassName = u"NumbrixFuzzBitmap";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, u"NumbrixFuzzBitmap", u"fuzz", 0, 0, 26, WindowWidth, WindowHeight, nullptr, nullptr,
                           nullptr, nullptr);
}

void CheckDirectLoad(HBITMAP bitmap)
{
    BITMAP info;
    FUZZ_CHECK(GetObjectW(bitmap, sizeof info, &info) == int(sizeof info));
    FUZZ_CHECK(info.bmWidth > 0 && info.bmHeight > 0 && info.bmWidth <= 16384 && info.bmHeight <= 16384);
    FUZZ_CHECK(int64_t(info.bmWidth) * info.bmHeight <= MaxBitmapPixels);
    FUZZ_CHECK(info.bmBitsPixel == 32);
    FUZZ_CHECK(DeleteObject(bitmap));
}

struct Sample {
    int x, y;
    COLORREF colour;
};

// A grid of points over the part of the image that a transfer to (0, 0) puts on the window.
std::vector<Sample> SamplePoints(HDC source, int width, int height)
{
    std::vector<Sample> samples;
    const int w = std::min(width, WindowWidth), h = std::min(height, WindowHeight);
    for (int x : {0, w / 3, w / 2, w - 1})
        for (int y : {0, h / 2, h - 1}) {
            COLORREF colour = GetPixel(source, x, y);
            FUZZ_CHECK(colour != CLR_INVALID && (colour >> 24) == 0);
            samples.push_back(Sample{x, y, colour});
        }
    return samples;
}

// The mask, the prepared source and one transparent transfer of the whole image to (0, 0) on a
// white surface.
void CheckMaskAndTransparentDrawing(COLORREF key, const std::vector<Sample>& samples)
{
    FUZZ_CHECK(CreateMask(SlotParts, SlotPartsMask, key) == 0);
    HDC dest = SurfaceBank[SlotComposition].dc;
    BitBlt(dest, 0, 0, WindowWidth, WindowHeight, dest, 0, 0, NOTSRCCOPY);   // black to white
    FUZZ_CHECK(BlitSurface(SlotParts, 0, 0, 0, 0, SlotComposition, 0, 0, Transparent) == 0);
    for (const Sample& s : samples) {
        bool transparent = s.colour == key;
        FUZZ_CHECK((GetPixel(SurfaceBank[SlotPartsMask].dc, s.x, s.y) == White) == transparent);
        FUZZ_CHECK(GetPixel(SurfaceBank[SlotParts].dc, s.x, s.y) == (transparent ? Black : s.colour));
        FUZZ_CHECK(GetPixel(dest, s.x, s.y) == (transparent ? White : s.colour));
    }
}

// A cell of any numbers drawn both ways: clipping must hold whatever they are.
void DrawCellOfAnyNumbers(const uint8_t* data, size_t size)
{
    int32_t numbers[4] = {};
    for (size_t i = 0; i < sizeof numbers && i < size; i++)
        numbers[i / 4] |= int32_t(uint32_t(data[size - 1 - i]) << (8 * (i % 4)));
    FUZZ_CHECK(DefineCell(0, SlotParts, numbers[0], numbers[1], numbers[2], numbers[3]) == 0);
    FUZZ_CHECK(DrawCell(0, SlotComposition, numbers[1], numbers[0], Opaque) == 0);
    FUZZ_CHECK(DrawCell(0, SlotComposition, numbers[3] / -2, numbers[2] / 2, Transparent) == 0);
    FUZZ_CHECK(BlitToWindow(SlotComposition, 0, 0, 0, 0, window, 0, 0, Opaque) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    window = CreateWindowToDrawOn();
    FUZZ_CHECK(window != nullptr);
    mainWindow = window;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string hostPath = ScratchPath("input.bmp");
    static const std::u16string path = ScratchDevicePath("input.bmp");
    WriteScratchFile(hostPath, data, size);
    const int dcs = LiveDeviceContexts();
    const int bitmaps = LiveBitmaps();

    HBITMAP direct = SHLoadDIBitmap(path.c_str());
    if (direct) CheckDirectLoad(direct);

    ResetSurfaceBank();
    FUZZ_CHECK(CreateSurface(SlotComposition, nullptr, window, nullptr, 0, 0) == 0);
    int32_t created = CreateSurface(SlotParts, nullptr, window, path.c_str(), 0, 0);
    FUZZ_CHECK(created == (direct ? 0 : 4));
    if (created == 0) {
        const SurfaceSlot& parts = SurfaceBank[SlotParts];
        std::vector<Sample> samples = SamplePoints(parts.dc, parts.width, parts.height);
        CheckMaskAndTransparentDrawing(samples[0].colour, samples);
        DrawCellOfAnyNumbers(data, size);
    }
    ReleaseSurfaces();
    FUZZ_CHECK(LiveDeviceContexts() == dcs && LiveBitmaps() == bitmaps);
    return 0;
}
