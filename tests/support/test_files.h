// Small files written and read by tests: text, 24-bit BMP pictures.
#pragma once
#include "platform/types.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A bottom-up 24-bit BMP of 0x00RRGGBB pixels given top-down.
inline std::string Bmp24(int width, int height, const std::vector<uint32_t>& pixels)
{
    int rowBytes = (width * 3 + 3) & ~3;
    std::string bmp;
    auto put16 = [&](uint32_t v) { bmp.push_back(char(v & 255)); bmp.push_back(char(v >> 8 & 255)); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    bmp += "BM";
    put32(uint32_t(54 + rowBytes * height));
    put32(0);
    put32(54);
    put32(40);
    put32(uint32_t(width));
    put32(uint32_t(height));
    put16(1);
    put16(24);
    put32(0);
    put32(uint32_t(rowBytes * height));
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int y = height - 1; y >= 0; y--) {
        int written = 0;
        for (int x = 0; x < width; x++) {
            uint32_t p = pixels[size_t(y) * width + x];
            bmp.push_back(char(p & 255));
            bmp.push_back(char(p >> 8 & 255));
            bmp.push_back(char(p >> 16 & 255));
            written += 3;
        }
        for (; written < rowBytes; written++) bmp.push_back(0);
    }
    return bmp;
}
