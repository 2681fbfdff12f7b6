// Writes the binary and generated seeds of the harnesses into DIR/<harness>/: the generated skins'
// text in each encoding the reader takes, a skin on a tiny image, small bitmap files of every
// depth and compression the loader takes, and small wave files of every coding SDL decodes.
// Usage: numbrix-fuzz-seeds DIR SKIN_DIR (SKIN_DIR: the generated skins).
#include "tests/support/bmp_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

std::string outDir;
bool failed = false;

void Put(const std::string& harness, const std::string& name, const Bytes& bytes)
{
    fs::create_directories(outDir + "/" + harness);
    if (!WriteFile(outDir + "/" + harness + "/" + name, bytes)) {
        std::fprintf(stderr, "numbrix-fuzz-seeds: cannot write %s/%s\n", harness.c_str(), name.c_str());
        failed = true;
    }
}

Bytes Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "numbrix-fuzz-seeds: cannot read %s\n", path.c_str());
        failed = true;
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes Of(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// The skin text harness takes a first byte that picks the encoding: '0' as it stands, '1' after a
// UTF-8 mark, '2' UTF-16 LE, '3' UTF-16 BE.
Bytes WithEncoding(char encoding, const Bytes& text)
{
    Bytes seed{uint8_t(encoding)};
    seed.insert(seed.end(), text.begin(), text.end());
    return seed;
}

// A complete skin whose images are both tiny.bmp (16 x 8) and whose cells are 2 x 2 pieces of it.
std::string TinySkin()
{
    std::string text = "[FILE]\r\nBACKIMAGE=tiny.bmp\r\nPARTSIMAGE=tiny.bmp\r\n[CHARACTER]\r\n";
    char line[64];
    for (int n = 1; n <= 112; n++) {
        std::snprintf(line, sizeof line, "CHAR%03d=%d,%d,2,2\r\n", n, (n % 8) * 2, (n / 8 % 4) * 2);
        text += line;
    }
    text += "[AREA]\r\n";
    for (int n = 1; n <= 43; n++) {
        std::snprintf(line, sizeof line, "AREA%02d=%d,%d,8,8\r\n", n, (n % 6) * 10, (n / 6) * 10);
        text += line;
    }
    text += "[SOUND]\r\nSOUND01=loaded.wav\r\nSOUND02=digit.wav\r\n";
    return text;
}

void SkinSeeds(const std::string& skinDir)
{
    const Bytes defaultSkin = Read(skinDir + "/default.skn");
    const Bytes midnightSkin = Read(skinDir + "/midnight.skn");
    const Bytes tiny = Of(TinySkin());
    Put("skin_loader", "default.skn", defaultSkin);
    Put("skin_loader", "midnight.skn", midnightSkin);
    Put("skin_loader", "tiny.skn", tiny);
    for (char encoding : {'0', '1', '2', '3'}) {
        Put("skin_text", std::string("default-") + encoding, WithEncoding(encoding, defaultSkin));
        Put("skin_text", std::string("tiny-") + encoding, WithEncoding(encoding, tiny));
    }
    // Code page 932: a remark and a value in Shift JIS bytes ("スキン"), which are not UTF-8.
    Put("skin_text", "shift-jis", WithEncoding('0', Of("[FILE]\r\n# \x83X\x83L\x83\x93\r\nBACKIMAGE=\x83X.bmp\r\n")));
}

// ---- Bitmaps: 6 x 4 pictures, small enough for the fuzzer to reach every byte ----

constexpr int Width = 6, Height = 4;

// Rows padded to four bytes, bottom-up, from a function of (x, y) giving the stored bits.
template <typename Pixel>
Bytes Rows(int bitCount, Pixel pixel)
{
    Bytes data;
    const int stride = (Width * bitCount + 31) / 32 * 4;
    for (int y = Height - 1; y >= 0; y--) {
        Bytes row(size_t(stride), 0);
        for (int x = 0; x < Width; x++) {
            uint32_t value = pixel(x, y);
            int bit = x * bitCount;
            if (bitCount < 8) {
                row[size_t(bit / 8)] |= uint8_t(value << (8 - bitCount - bit % 8));
            } else {
                for (int b = 0; b < bitCount / 8; b++) row[size_t(bit / 8 + b)] = uint8_t(value >> (8 * b));
            }
        }
        data.insert(data.end(), row.begin(), row.end());
    }
    return data;
}

std::vector<uint32_t> Palette(int entries)
{
    std::vector<uint32_t> palette;
    for (int i = 0; i < entries; i++) palette.push_back(i == 0 ? 0x646464u : uint32_t(0x102030 * i) & 0xFFFFFF);
    return palette;
}

void BitmapSeeds()
{
    auto index = [](int levels) { return [levels](int x, int y) { return uint32_t((x + y) % levels); }; };
    for (int bits : {1, 4, 8}) {
        BmpPlan picture{40, Width, Height, uint16_t(bits), 0, 0, Palette(1 << bits), {}, Rows(bits, index(1 << bits))};
        Put("bitmap", "indexed-" + std::to_string(bits) + ".bmp", BmpFile(picture));
        picture.headerSize = 12;
        Put("bitmap", "core-" + std::to_string(bits) + ".bmp", BmpFile(picture));
    }
    auto colour = [](int x, int y) { return (x + y) % 3 == 0 ? 0x646464u : uint32_t(0x204080 + x * 0x10 + y); };
    BmpPlan rgb24{40, Width, Height, 24, 0, 0, {}, {}, Rows(24, colour)};
    Put("bitmap", "rgb-24.bmp", BmpFile(rgb24));
    rgb24.height = -Height;
    Put("bitmap", "rgb-24-top-down.bmp", BmpFile(rgb24));
    for (uint32_t headerSize : {108u, 124u}) {
        BmpPlan v{headerSize, Width, Height, 24, 0, 0, {}, {}, Rows(24, colour)};
        Put("bitmap", "rgb-24-header-" + std::to_string(headerSize) + ".bmp", BmpFile(v));
    }
    Put("bitmap", "rgb-32.bmp", BmpFile(BmpPlan{40, Width, Height, 32, 0, 0, {}, {}, Rows(32, colour)}));
    Put("bitmap", "rgb-16.bmp", BmpFile(BmpPlan{40, Width, Height, 16, 0, 0, {}, {}, Rows(16, index(0x8000))}));
    Put("bitmap", "bitfields-16.bmp",
        BmpFile(BmpPlan{40, Width, Height, 16, 3, 0, {}, {0xF800, 0x07E0, 0x001F}, Rows(16, index(0x10000))}));
    Put("bitmap", "bitfields-32.bmp",
        BmpFile(BmpPlan{40, Width, Height, 32, 3, 0, {}, {0xFF0000, 0xFF00, 0xFF}, Rows(32, colour)}));
    // Run-length coded rows: a run, an absolute stretch, an end of line; a delta; the end.
    const Bytes rle8{3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 6, 5, 0, 0, 0, 2, 1, 1, 2, 2, 0, 1};
    Put("bitmap", "rle-8.bmp", BmpFile(BmpPlan{40, Width, Height, 8, 1, 8, Palette(8), {}, rle8}));
    const Bytes rle4{6, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 0, 0, 2, 1, 1, 4, 0x77, 0, 1};
    Put("bitmap", "rle-4.bmp", BmpFile(BmpPlan{40, Width, Height, 4, 2, 8, Palette(8), {}, rle4}));
}

// ---- Wave files ----

void Le(Bytes& out, uint32_t value, int bytes)
{
    PutLe(out, value, bytes);
}

// RIFF/WAVE with a fmt chunk (its body given) and a data chunk.
Bytes Wave(const Bytes& format, const Bytes& data)
{
    Bytes body = Of("WAVEfmt ");
    Le(body, uint32_t(format.size()), 4);
    body.insert(body.end(), format.begin(), format.end());
    body.insert(body.end(), {'d', 'a', 't', 'a'});
    Le(body, uint32_t(data.size()), 4);
    body.insert(body.end(), data.begin(), data.end());
    Bytes file = Of("RIFF");
    Le(file, uint32_t(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Bytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t blockAlign, uint16_t bits)
{
    Bytes f;
    Le(f, tag, 2);
    Le(f, channels, 2);
    Le(f, rate, 4);
    Le(f, rate * blockAlign, 4);
    Le(f, blockAlign, 2);
    Le(f, bits, 2);
    return f;
}

Bytes Ramp(size_t bytes)
{
    Bytes data(bytes);
    for (size_t i = 0; i < bytes; i++) data[i] = uint8_t(i * 37 + 11);
    return data;
}

void WaveSeeds(const std::string& skinDir)
{
    Put("wav", "pcm-u8-mono.wav", Wave(Format(1, 1, 8000, 1, 8), Ramp(64)));
    Put("wav", "pcm-s16-stereo.wav", Wave(Format(1, 2, 22050, 4, 16), Ramp(128)));
    Put("wav", "pcm-s24-mono.wav", Wave(Format(1, 1, 44100, 3, 24), Ramp(96)));
    Put("wav", "pcm-s32-mono.wav", Wave(Format(1, 1, 48000, 4, 32), Ramp(96)));
    Put("wav", "float-stereo.wav", Wave(Format(3, 2, 44100, 8, 32), Bytes(128, 0)));
    Put("wav", "a-law.wav", Wave(Format(6, 1, 8000, 1, 8), Ramp(64)));
    Put("wav", "mu-law.wav", Wave(Format(7, 1, 8000, 1, 8), Ramp(64)));
    // IMA ADPCM, mono, blocks of 64 bytes: 4 header bytes and 120 samples in nibbles.
    Bytes ima = Format(0x11, 1, 8000, 64, 4);
    Le(ima, 2, 2);
    Le(ima, 121, 2);
    Bytes imaBlock = Ramp(64);
    imaBlock[2] = 10;   // step index
    imaBlock[3] = 0;
    Put("wav", "ima-adpcm.wav", Wave(ima, imaBlock));
    // Microsoft ADPCM, mono, blocks of 64 bytes: 7 header bytes and 116 samples; the 7 standard
    // coefficient pairs.
    Bytes ms = Format(2, 1, 8000, 64, 4);
    Le(ms, 32, 2);
    Le(ms, 116, 2);
    Le(ms, 7, 2);
    const int coefficients[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
    for (const auto& pair : coefficients) {
        Le(ms, uint32_t(pair[0]), 2);
        Le(ms, uint32_t(pair[1]), 2);
    }
    Bytes msBlock = Ramp(64);
    msBlock[0] = 1;   // predictor
    Put("wav", "ms-adpcm.wav", Wave(ms, msBlock));
    // WAVE_FORMAT_EXTENSIBLE carrying 16-bit PCM.
    Bytes extensible = Format(0xFFFE, 2, 44100, 4, 16);
    Le(extensible, 22, 2);
    Le(extensible, 16, 2);
    Le(extensible, 3, 4);
    const uint8_t pcmGuid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    extensible.insert(extensible.end(), std::begin(pcmGuid), std::end(pcmGuid));
    Put("wav", "extensible-pcm.wav", Wave(extensible, Ramp(128)));
    // Two of the generated skin's sounds as they are.
    for (const char* name : {"digit.wav", "backspace.wav"}) Put("wav", std::string("skin-") + name, Read(skinDir + "/default/" + name));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: numbrix-fuzz-seeds DIR SKIN_DIR\n");
        return 2;
    }
    outDir = argv[1];
    SkinSeeds(argv[2]);
    BitmapSeeds();
    WaveSeeds(argv[2]);
    return failed ? 1 : 0;
}
