// Hostile and damaged files of the kinds a user may drop into the skin folder, for the tests of
// what each one gets and for the benchmarks of how long refusing it takes.
#pragma once
#include "tests/support/skin_fixture.h"

#include <string>

namespace bad_input {

// `count` lines of `line` each (CR LF ended).
inline std::string Lines(int count, const std::string& line)
{
    std::string text;
    text.reserve(size_t(count) * (line.size() + 2));
    for (int i = 0; i < count; i++) text += line + "\r\n";
    return text;
}

// The test skin with a line of `width` characters (not a key) after each of its section headers.
inline std::string WithLongLines(const std::string& skin, int width)
{
    const std::string filler(size_t(width), 'x');
    std::string text;
    for (size_t start = 0; start < skin.size();) {
        size_t end = skin.find('\n', start);
        end = end == std::string::npos ? skin.size() : end + 1;
        text += skin.substr(start, end - start);
        if (skin[start] == '[') text += filler + "\r\n";
        start = end;
    }
    return text;
}

// The test skin with a NUL and some text after every value: C strings end at the NUL.
inline std::string WithNulAfterEveryValue(const std::string& skin)
{
    std::string text;
    for (size_t start = 0; start < skin.size();) {
        size_t end = skin.find("\r\n", start);
        if (end == std::string::npos) end = skin.size();
        std::string line = skin.substr(start, end - start);
        if (line.find('=') != std::string::npos) line += std::string("\0# junk", 7);
        text += line + "\r\n";
        start = end + 2;
    }
    return text;
}

// A 24-bit bitmap header claiming width x height with only a few bytes of pixels after it.
inline std::string BitmapHeaderClaiming(int width, int height)
{
    std::string bmp = Bmp24(1, 1, {0});
    auto put32 = [&bmp](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++) bmp[at + size_t(i)] = char(v >> (8 * i));
    };
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    return bmp;
}

// A 240 x 268 bitmap whose file ends halfway through its pixels.
inline std::string BitmapEndingEarly()
{
    std::string bmp = Bmp24(240, 268, std::vector<uint32_t>(240 * 268, 0x405060));
    return bmp.substr(0, bmp.size() / 2);
}

}  // namespace bad_input
