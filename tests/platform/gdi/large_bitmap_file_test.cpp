// Plain 24-bit files larger than what is read at first are converted a block of rows at a time,
// straight from the file: they must give what a small file gives, in both row orders, and a file
// cut short must still be refused.
#include "tests/support/bmp_writer.h"
#include "tests/support/gdi_fixture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

constexpr int Width = 301, Height = 250;   // rows of 903 bytes and a padding byte: 226 KB

uint32_t Expected(int x, int y)
{
    return uint32_t(x * 7 % 256) << 16 | uint32_t(y * 13 % 256) << 8 | uint32_t((x + y) % 256);
}

// The picture's rows as stored: bottom-up for a positive height, top-down for a negative one.
BmpPlan LargePicture(bool topDown)
{
    BmpPlan plan;
    plan.width = Width;
    plan.height = topDown ? -Height : Height;
    for (int stored = 0; stored < Height; ++stored) {
        int y = topDown ? stored : Height - 1 - stored;
        for (int x = 0; x < Width; ++x) {
            uint32_t p = Expected(x, y);
            plan.pixelData.insert(plan.pixelData.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
        }
        plan.pixelData.push_back(0);
    }
    return plan;
}

class LargeBitmapFile : public DrawingTest {
protected:
    HBITMAP Load(const std::vector<uint8_t>& bytes)
    {
        EXPECT_TRUE(WriteFile(dir_.HostPath("large.bmp"), bytes));
        HBITMAP bitmap = SHLoadDIBitmap(dir_.DevicePath("large.bmp").c_str());
        if (bitmap) bitmapsMade.push_back(bitmap);
        return bitmap;
    }
    TempDir dir_;
};

TEST_F(LargeBitmapFile, GivesEveryPixelInBothRowOrders)
{
    for (bool topDown : {false, true}) {
        HBITMAP bitmap = Load(BmpFile(LargePicture(topDown)));
        ASSERT_NE(bitmap, nullptr) << "top-down " << topDown;
        HDC dc = Dc(bitmap);
        int wrong = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                uint32_t pixel = uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
                wrong += pixel != Expected(x, y);
            }
        EXPECT_EQ(wrong, 0) << "top-down " << topDown;
    }
}

TEST_F(LargeBitmapFile, CutShortIsRefused)
{
    std::vector<uint8_t> bytes = BmpFile(LargePicture(false));
    for (size_t cut : {size_t(1), size_t(904), bytes.size() / 2}) {
        std::vector<uint8_t> shorter(bytes.begin(), bytes.end() - long(cut));
        EXPECT_EQ(Load(shorter), nullptr) << cut << " bytes cut";
    }
}

}  // namespace
