#include "platform/font.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t Paper = 0xFFFFFF;

int Changed(const PixelBuffer& picture, const RECT& inside, bool inverse = false)
{
    int count = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            bool in = x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
            if (in != inverse) count += picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)] != Paper;
        }
    return count;
}

// Every test leaves the font choice to fontconfig again.
class TextDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseFontFile(nullptr);
        if (!FontAvailable()) GTEST_SKIP() << "no font on this machine (tools/setup installs one)";
    }
    void TearDown() override { UseFontFile(nullptr); }
};

TEST_F(TextDrawing, JapaneseTextIsDrawnInTheColourWithinItsAdvance)
{
    PixelBuffer picture;
    picture.Resize(200, 40, Paper);
    const std::u16string text = u"効果音";
    int width = TextWidth(text, 16);
    EXPECT_GE(width, 3 * 12) << "three full-width characters";
    EXPECT_EQ(RenderText(picture, 10, 5, text, 16, 0x000000), width);
    RECT box{10, 5, 10 + width + 1, 5 + TextLineHeight(16)};
    EXPECT_GT(Changed(picture, box), 30);
    EXPECT_EQ(Changed(picture, box, true), 0) << "nothing outside the line box";
    bool pureInk = false;
    for (uint32_t p : picture.pixels) pureInk |= p == 0x000000;
    EXPECT_TRUE(pureInk) << "full coverage gives exactly the text colour";
}

TEST_F(TextDrawing, WidthsGrowWithTextAndSize)
{
    EXPECT_EQ(TextWidth(u"", 14), 0);
    EXPECT_LT(TextWidth(u"a", 14), TextWidth(u"ab", 14));
    EXPECT_LT(TextWidth(u"About", 10), TextWidth(u"About", 20));
    EXPECT_LT(TextLineHeight(10), TextLineHeight(20));
    EXPECT_EQ(TextWidth(u"ab\0cd", 14), TextWidth(u"ab", 14)) << "text ends at its terminator";
}

TEST_F(TextDrawing, TheClipAndTheTargetBoundDrawing)
{
    PixelBuffer picture;
    picture.Resize(60, 30, Paper);
    RECT clip{0, 0, 20, 30};
    RenderText(picture, 2, 2, u"WWWWWWWW", 16, 0x000000, &clip);
    EXPECT_GT(Changed(picture, clip), 0);
    EXPECT_EQ(Changed(picture, clip, true), 0);
    PixelBuffer tiny;
    tiny.Resize(5, 5, Paper);
    RenderText(tiny, -6, -6, u"選択", 24, 0x000000);   // mostly off the target
    EXPECT_GT(Changed(tiny, RECT{0, 0, 5, 5}), 0);
}

TEST_F(TextDrawing, UnpairedSurrogatesDoNotCutTheText)
{
    EXPECT_GT(TextWidth(u"\xD800x", 24), TextWidth(u"x", 24));
    EXPECT_GT(TextWidth(u"x\xDC00y", 24), TextWidth(u"xy", 24));
}

struct FontChoice {
    const char* name;
    const char* path;
};

class MissingFonts : public ::testing::TestWithParam<FontChoice> {
    void TearDown() override { UseFontFile(nullptr); }
};

TEST_P(MissingFonts, DrawNothingAndMeasureZero)
{
    UseFontFile(GetParam().path);
    EXPECT_FALSE(FontAvailable());
    PixelBuffer picture;
    picture.Resize(50, 20, Paper);
    EXPECT_EQ(RenderText(picture, 0, 0, u"OK", 14, 0x000000), 0);
    EXPECT_EQ(Changed(picture, RECT{0, 0, 50, 20}), 0);
    EXPECT_EQ(TextWidth(u"OK", 14), 0);
    EXPECT_EQ(TextLineHeight(14), 0);
}

INSTANTIATE_TEST_SUITE_P(Fonts, MissingFonts,
                         ::testing::Values(FontChoice{"NoFontAtAll", ""},
                                           FontChoice{"AbsentFile", "/nonexistent/font.ttf"},
                                           FontChoice{"NotAFont", "/etc/hostname"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
