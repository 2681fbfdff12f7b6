#include "platform/font.h"
#include "platform/hosts/desktop/font_search.h"
#include "platform/unicode.h"

#include <SDL2/SDL_ttf.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Paper = 0xFFFFFF;
constexpr uint32_t Ink = 0x10204F;

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

// The texts of both catalogues (the program's own and the English ones) at every size the shell
// uses and around them, each drawn as SDL2_ttf drew them before: its blended glyphs of the same
// text in the same file at the same size, blended over the paper by coverage as the platform does.
std::vector<std::u16string> CatalogueTexts()
{
    std::ifstream catalogue(NUMBRIX_SOURCE_DIR "/po/en.po");
    std::vector<std::u16string> texts;
    for (std::string line; std::getline(catalogue, line);) {
        size_t open = line.find('"'), close = line.rfind('"');
        bool entry = line.rfind("msgid \"", 0) == 0 || line.rfind("msgstr \"", 0) == 0;
        if (entry && close > open + 1) texts.push_back(Utf16FromUtf8(line.substr(open + 1, close - open - 1)));
    }
    texts.push_back(u"OK ");   // a blank's advance, after the last ink, still counts
    return texts;
}

PixelBuffer DrawnBySdlTtf(const std::string& fontFile, const std::u16string& text, int size, int* width)
{
    PixelBuffer picture;
    picture.Resize(400, 40, Paper);
    TTF_Font* font = TTF_OpenFont(fontFile.c_str(), size);
    int height = 0;
    if (!font || TTF_SizeUTF8(font, Utf8FromUtf16(text).c_str(), width, &height) != 0) *width = 0;
    SDL_Surface* glyphs = font ? TTF_RenderUTF8_Blended(font, Utf8FromUtf16(text).c_str(), SDL_Color{255, 255, 255, 255}) : nullptr;
    for (int row = 0; glyphs && row < std::min(glyphs->h, picture.height); ++row)
        for (int col = 0; col < std::min(glyphs->w, picture.width); ++col) {
            Uint32 pixel = reinterpret_cast<const Uint32*>(static_cast<const uint8_t*>(glyphs->pixels) + size_t(row) * size_t(glyphs->pitch))[col];
            Uint8 r, g, b, alpha;
            SDL_GetRGBA(pixel, glyphs->format, &r, &g, &b, &alpha);
            uint32_t& out = picture.pixels[size_t(row) * size_t(picture.width) + size_t(col)];
            out = 0;
            for (int shift = 0; shift <= 16; shift += 8)
                out |= ((Ink >> shift & 0xFF) * alpha + (Paper >> shift & 0xFF) * (255u - alpha) + 127) / 255 << shift;
        }
    if (glyphs) SDL_FreeSurface(glyphs);
    if (font) TTF_CloseFont(font);
    return picture;
}

// The font that fontconfig picks for the program and the sans font of fonts-dejavu-core.
TEST(TextAsBefore, EveryCatalogueTextIsDrawnAsSdlTtfDrewIt)
{
    std::vector<std::string> dependsOn;
    int fonts = 0;
    for (const std::string& file : {AskFontconfig(dependsOn), std::string("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")}) {
        UseFontFile(file.c_str());
        if (!FontAvailable()) continue;
        ++fonts;
        ASSERT_EQ(TTF_Init(), 0);
        int compared = 0, expectedWidth = 0;
        for (const std::u16string& text : CatalogueTexts())
            for (int size = 6; size <= 24; ++size) {
                PixelBuffer picture;
                picture.Resize(400, 40, Paper);
                int width = RenderText(picture, 0, 0, text, size, Ink);
                EXPECT_EQ(picture.pixels, DrawnBySdlTtf(file, text, size, &expectedWidth).pixels)
                    << file << " at " << size << ": " << Utf8FromUtf16(text);
                EXPECT_EQ(width, expectedWidth) << file << " at " << size << ": " << Utf8FromUtf16(text);
                ++compared;
            }
        TTF_Quit();
        EXPECT_GT(compared, 100);
    }
    UseFontFile(nullptr);
    if (fonts == 0) GTEST_SKIP() << "no font on this machine (tools/setup installs one)";
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
