#include "tests/support/bmp_writer.h"
#include "tests/support/gdi_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

const std::vector<uint32_t> Palette = {0x0A141E, 0xC86432, 0x00FF00, 0x0000FF, 0x808000};
constexpr uint32_t P0 = 0x0A141E, P1 = 0xC86432, P2 = 0x00FF00, P3 = 0x0000FF, P4 = 0x808000;

struct DecodeCase {
    int line;
    BmpPlan plan;
    int width, height;
    std::vector<uint32_t> expected;   // 0x00RRGGBB, rows top-down
};

class BitmapFiles : public DrawingTest {
protected:
    HBITMAP Load(const std::vector<uint8_t>& bytes, const std::string& name = "file.bmp")
    {
        std::string path = dir.HostPath(name);
        EXPECT_TRUE(WriteFile(path, bytes));
        HBITMAP bitmap = SHLoadDIBitmap(Utf16(path).c_str());
        std::remove(path.c_str());
        if (bitmap) bitmapsMade.push_back(bitmap);
        return bitmap;
    }
    // The bitmap's pixels as 0x00RRGGBB, read back through GetPixel.
    std::vector<uint32_t> Pixels(HBITMAP bitmap, int width, int height)
    {
        HDC dc = Dc(bitmap);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                pixels.push_back(uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c));
            }
        return pixels;
    }

    TempDir dir;
};

BmpPlan Plan(uint16_t bitCount, int32_t width, int32_t height, std::vector<uint8_t> data)
{
    BmpPlan s;
    s.bitCount = bitCount;
    s.width = width;
    s.height = height;
    s.pixelData = std::move(data);
    return s;
}

BmpPlan WithPalette(BmpPlan s, std::vector<uint32_t> palette, uint32_t colorsUsed)
{
    s.palette = std::move(palette);
    s.colorsUsed = colorsUsed;
    return s;
}

BmpPlan Compressed(BmpPlan s, uint32_t compression)
{
    s.compression = compression;
    return s;
}

BmpPlan WithHeader(BmpPlan s, uint32_t headerSize)
{
    s.headerSize = headerSize;
    return s;
}

BmpPlan WithMasks(BmpPlan s, std::vector<uint32_t> masks)
{
    s.masks = std::move(masks);
    s.compression = 3;
    return s;
}

// A 3 x 2 24-bit picture, bottom-up, with row padding.
BmpPlan Good24()
{
    return Plan(24, 3, 2, {0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0x03, 0x02, 0x01, 0, 0, 0,
                           0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0});
}

TEST_F(BitmapFiles, DecodesEveryDepthIntoColourPixels)
{
    const DecodeCase cases[] = {
        {__LINE__, WithPalette(Plan(1, 3, 2, {0x60, 0, 0, 0, 0xA0, 0, 0, 0}), {P0, P1}, 2), 3, 2,
         {P1, P0, P1, P0, P1, P1}},
        {__LINE__, WithPalette(Plan(4, 3, 2, {0x13, 0x00, 0, 0, 0x40, 0x20, 0, 0}), Palette, 5), 3, 2,
         {P4, P0, P2, P1, P3, P0}},
        {__LINE__, WithPalette(Plan(8, 3, 2, {0, 1, 2, 0, 2, 3, 4, 0}), Palette, 5), 3, 2,
         {P2, P3, P4, P0, P1, P2}},
        {__LINE__, Plan(16, 3, 2, {0x00, 0x00, 0xFF, 0x7F, 0x1F, 0x7C, 0, 0, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}),
         3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0xFF00FF}},
        {__LINE__, WithMasks(Plan(16, 3, 1, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0}), {0xF800, 0x07E0, 0x001F}),
         3, 1, {0xFF0000, 0x00FF00, 0x0000FF}},
        {__LINE__, Good24(), 3, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203}},
        {__LINE__, Plan(24, 3, -2, {0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0,
                                    0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0x03, 0x02, 0x01, 0, 0, 0}),
         3, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203}},
        {__LINE__, Plan(32, 2, 2, {0x99, 0x88, 0x77, 0x00, 0xCC, 0xBB, 0xAA, 0x12, 0x33, 0x22, 0x11, 0x80,
                                   0x66, 0x55, 0x44, 0xFF}),
         2, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC}},
        {__LINE__, WithMasks(Plan(32, 1, 1, {0x33, 0x22, 0x11, 0xFF}), {0xFF0000, 0xFF00, 0xFF}), 1, 1, {0x112233}},
        {__LINE__, WithMasks(Plan(32, 1, 1, {0x11, 0x22, 0x33, 0xFF}), {0xFF, 0xFF00, 0xFF0000}), 1, 1, {0x112233}},
        {__LINE__,
         Compressed(WithPalette(Plan(8, 3, 2, {3, 1, 0, 0, 0, 3, 2, 3, 4, 0, 0, 1}), Palette, 5), 1), 3, 2,
         {P2, P3, P4, P1, P1, P1}},
        {__LINE__, Compressed(WithPalette(Plan(4, 3, 2, {3, 0x12, 0, 0, 0, 3, 0x40, 0x20, 0, 1}), Palette, 5), 2),
         3, 2, {P4, P0, P2, P1, P2, P1}},
        {__LINE__, WithHeader(Plan(24, 2, 1, {0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0, 0}), 12), 2, 1,
         {0x112233, 0x445566}},
        {__LINE__, WithHeader(WithPalette(Plan(1, 2, 1, {0x80, 0, 0, 0}), {P0, P1}, 0), 12), 2, 1, {P1, P0}},
        {__LINE__, WithHeader(Plan(24, 1, 1, {0x33, 0x22, 0x11, 0}), 124), 1, 1, {0x112233}},
    };
    for (const DecodeCase& c : cases) {
        HBITMAP bitmap = Load(BmpFile(c.plan));
        ASSERT_NE(bitmap, nullptr) << "case at line " << c.line;
        BITMAP info;
        ASSERT_NE(GetObjectW(bitmap, sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, c.width) << "case at line " << c.line;
        EXPECT_EQ(info.bmHeight, c.height) << "case at line " << c.line;
        EXPECT_EQ(info.bmBitsPixel, 32) << "case at line " << c.line;
        EXPECT_EQ(Pixels(bitmap, c.width, c.height), c.expected) << "case at line " << c.line;
    }
}

BmpPlan Patched(BmpPlan s, void (*change)(BmpPlan&))
{
    change(s);
    return s;
}

TEST_F(BitmapFiles, RefusesMalformedHeaders)
{
    struct {
        int line;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {__LINE__, {}},
        {__LINE__, {'B', 'M'}},
        {__LINE__, [] { auto f = BmpFile(Good24()); f[0] = 'M'; f[1] = 'B'; return f; }()},
        {__LINE__, BmpFile(Patched(Good24(), [](BmpPlan& s) { s.width = 0; }))},
        {__LINE__, BmpFile(Patched(Good24(), [](BmpPlan& s) { s.width = -3; }))},
        {__LINE__, BmpFile(Patched(Good24(), [](BmpPlan& s) { s.height = 0; }))},
        {__LINE__, BmpFile(Patched(Good24(), [](BmpPlan& s) { s.bitCount = 2; }))},
        {__LINE__, BmpFile(Patched(Good24(), [](BmpPlan& s) { s.bitCount = 0; }))},
        {__LINE__, BmpFile(Compressed(Good24(), 4))},
        {__LINE__, BmpFile(Compressed(Good24(), 1))},
        {__LINE__, BmpFile(Compressed(Good24(), 3))},
        {__LINE__, BmpFile(WithPalette(Plan(1, 3, 2, {0x60, 0, 0, 0, 0xA0, 0, 0, 0}), {P0, P1, P2}, 3))},
        {__LINE__, BmpFile(WithPalette(Plan(8, 1, 1, {0, 0, 0, 0}), Palette, 200))},
        {__LINE__, BmpFile(Compressed(WithPalette(Plan(8, 3, -2, {3, 1, 0, 1}), Palette, 5), 1))},
        {__LINE__, BmpFile(WithHeader(Good24(), 20))},
        {__LINE__, [] { auto f = BmpFile(Good24()); f[10] = 0xFF; f[11] = 0xFF; return f; }()},
        {__LINE__, [] { auto f = BmpFile(Good24()); f.pop_back(); return f; }()},
        // Far too large for its file: refused from the header, before anything is allocated.
        {__LINE__, BmpFile(Plan(24, 30000, 30000, std::vector<uint8_t>(12, 0)))},
        {__LINE__, BmpFile(Compressed(WithPalette(Plan(8, 30000, 30000, {0, 1}), Palette, 5), 1))},
        // One pixel beyond the largest side, with every byte of its pixels present.
        {__LINE__, BmpFile(Plan(24, 16385, 1, std::vector<uint8_t>((16385 * 3 + 3) / 4 * 4, 0)))},
        {__LINE__, BmpFile(Plan(24, 1, -16385, std::vector<uint8_t>(16385 * 4, 0)))},
    };
    for (const auto& c : cases) EXPECT_EQ(Load(c.bytes), nullptr) << "case at line " << c.line;
}

TEST_F(BitmapFiles, AcceptsTheLargestSide)
{
    HBITMAP bitmap = Load(BmpFile(Plan(24, 16384, 1, std::vector<uint8_t>(16384 * 3, 0x40))));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(GetPixel(Dc(bitmap), 16383, 0), RGB(0x40, 0x40, 0x40));
}

TEST_F(BitmapFiles, RefusesEveryTruncation)
{
    const std::vector<uint8_t> files[] = {
        BmpFile(Good24()),
        BmpFile(Compressed(WithPalette(Plan(8, 3, 2, {3, 1, 0, 0, 0, 3, 2, 3, 4, 0, 0, 1}), Palette, 5), 1)),
        BmpFile(WithPalette(Plan(4, 3, 2, {0x13, 0x00, 0, 0, 0x40, 0x20, 0, 0}), Palette, 5)),
    };
    for (const auto& file : files) {
        ASSERT_NE(Load(file), nullptr);
        for (size_t length = 0; length < file.size(); ++length)
            EXPECT_EQ(Load(std::vector<uint8_t>(file.begin(), file.begin() + length)), nullptr)
                << "prefix of " << length << " of " << file.size() << " bytes";
    }
}

// Damage anywhere in the headers and palette never crashes; whatever still decodes is sane.
TEST_F(BitmapFiles, SurvivesDamagedHeaderBytes)
{
    const std::vector<uint8_t> good =
        BmpFile(WithPalette(Plan(8, 3, 2, {0, 1, 2, 0, 2, 3, 4, 0}), Palette, 5));
    for (size_t i = 0; i < good.size() - 8; ++i)
        for (uint8_t value : {uint8_t(0x00), uint8_t(0x7F), uint8_t(0xFF)}) {
            std::vector<uint8_t> damaged = good;
            damaged[i] = value;
            HBITMAP bitmap = Load(damaged);
            if (!bitmap) continue;
            BITMAP info;
            ASSERT_NE(GetObjectW(bitmap, sizeof info, &info), 0);
            EXPECT_GT(info.bmWidth, 0) << "byte " << i;
            EXPECT_LE(info.bmWidth, 16384) << "byte " << i;
            EXPECT_GT(info.bmHeight, 0) << "byte " << i;
            EXPECT_LE(info.bmHeight, 16384) << "byte " << i;
        }
}

TEST_F(BitmapFiles, MissingFilesAndDirectoriesGiveNull)
{
    EXPECT_EQ(SHLoadDIBitmap(Utf16(dir.HostPath("does_not_exist.bmp")).c_str()), nullptr);
    EXPECT_EQ(SHLoadDIBitmap(Utf16(dir.HostPath()).c_str()), nullptr);
    EXPECT_EQ(SHLoadDIBitmap(nullptr), nullptr);
}

}  // namespace
