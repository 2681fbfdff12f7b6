// Hand-made Windows bitmap files for tests: the header fields as given, so that damaged and
// hostile headers can be written as easily as good ones.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct BmpPlan {
    uint32_t headerSize = 40;   // 12 (core), 40, 108, 124
    int32_t width = 0;
    int32_t height = 0;         // negative: rows top-down
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette;   // 0x00RRGGBB entries
    std::vector<uint32_t> masks;     // BI_BITFIELDS masks written after a 40-byte header
    std::vector<uint8_t> pixelData;  // rows exactly as stored, padding included
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

inline std::vector<uint8_t> BmpFile(const BmpPlan& s)
{
    std::vector<uint8_t> info;
    PutLe(info, s.headerSize, 4);
    if (s.headerSize == 12) {
        PutLe(info, uint32_t(s.width), 2);
        PutLe(info, uint32_t(s.height), 2);
        PutLe(info, 1, 2);
        PutLe(info, s.bitCount, 2);
    } else {
        PutLe(info, uint32_t(s.width), 4);
        PutLe(info, uint32_t(s.height), 4);
        PutLe(info, 1, 2);
        PutLe(info, s.bitCount, 2);
        PutLe(info, s.compression, 4);
        PutLe(info, uint32_t(s.pixelData.size()), 4);
        PutLe(info, 2835, 4);
        PutLe(info, 2835, 4);
        PutLe(info, s.colorsUsed, 4);
        PutLe(info, 0, 4);
        info.resize(s.headerSize, 0);
    }
    for (uint32_t mask : s.masks) PutLe(info, mask, 4);
    for (uint32_t colour : s.palette) {
        info.push_back(uint8_t(colour));
        info.push_back(uint8_t(colour >> 8));
        info.push_back(uint8_t(colour >> 16));
        if (s.headerSize != 12) info.push_back(0);
    }
    std::vector<uint8_t> file{'B', 'M'};
    uint32_t offset = uint32_t(14 + info.size());
    PutLe(file, uint32_t(offset + s.pixelData.size()), 4);
    PutLe(file, 0, 4);
    PutLe(file, offset, 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.pixelData.begin(), s.pixelData.end());
    return file;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

inline std::u16string Utf16(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}
