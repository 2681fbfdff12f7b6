// Helpers for drawing tests: bitmaps with given pixels, memory DCs, and a fixture that clears
// injected faults and frees what a test created.
#pragma once
#include "platform/faults.h"
#include "platform/gdi/gdi_internals.h"
#include "platform/inspect.h"
#include "platform/wince.h"
#include "tests/support/test_window.h"

#include <gtest/gtest.h>
#include <vector>

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override { ClearFaults(); }
    void TearDown() override
    {
        ClearFaults();
        for (HDC dc : dcs) DeleteDC(dc);
        for (HBITMAP bitmap : bitmapsMade) DeleteObject(bitmap);
    }

    // A colour bitmap of 0x00RRGGBB pixels, rows top-down.
    HBITMAP Colour(int width, int height, std::vector<uint32_t> pixels)
    {
        HBITMAP bitmap = CreateColourBitmap(width, height, std::move(pixels));
        bitmapsMade.push_back(bitmap);
        return bitmap;
    }
    // A monochrome bitmap with the given bits, made through the colour-to-monochrome rule from a
    // white (1) and black (0) picture.
    HBITMAP Mono(int width, int height, const std::vector<int>& bits)
    {
        std::vector<uint32_t> pixels;
        for (int bit : bits) pixels.push_back(bit ? 0xFFFFFF : 0);
        HDC source = Dc(Colour(width, height, pixels));
        HBITMAP mono = CreateBitmap(width, height, 1, 1, nullptr);
        bitmapsMade.push_back(mono);
        HDC dest = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dest, mono);
        BitBlt(dest, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SelectObject(dest, old);
        DeleteDC(dest);
        return mono;
    }
    // A memory DC holding bitmap.
    HDC Dc(HBITMAP bitmap)
    {
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bitmap);
        dcs.push_back(dc);
        return dc;
    }

    std::vector<HDC> dcs;
    std::vector<HBITMAP> bitmapsMade;
};
