// A 32-bit colour picture as the platform keeps it (window surfaces, the composed screen), for
// the platform and for the tools and tests that read it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// 0x00RRGGBB per pixel, rows top-down.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    void Resize(int w, int h, uint32_t fill = 0xFFFFFF)
    {
        width = w > 0 ? w : 0;
        height = h > 0 ? h : 0;
        pixels.assign(size_t(width) * size_t(height), fill);
    }
};
