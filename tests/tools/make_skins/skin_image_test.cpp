// Turning drawn layers into parts pixels, and the bitmaps that the build wrote.
#include "tools/make_skins/skin_image.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

using namespace skins;

namespace {

struct PartsPixelCase {
    const char* name;
    float premultiplied[3];
    float alpha;
    Rgb underlay;
    Rgb expected;
};

class PartsPixelTest : public ::testing::TestWithParam<PartsPixelCase> {};

TEST_P(PartsPixelTest, GivesTheShownColour)
{
    const PartsPixelCase& c = GetParam();
    Rgb got = PartsPixel(c.premultiplied, c.alpha, c.underlay);
    EXPECT_EQ(got.r, c.expected.r);
    EXPECT_EQ(got.g, c.expected.g);
    EXPECT_EQ(got.b, c.expected.b);
}

INSTANTIATE_TEST_SUITE_P(Cases, PartsPixelTest, ::testing::Values(
    PartsPixelCase{"Empty", {0, 0, 0}, 0.0f, {10, 20, 30}, TransparentColour},
    PartsPixelCase{"BelowHalfAStep", {0, 0, 0}, 0.001f, {10, 20, 30}, TransparentColour},
    PartsPixelCase{"Opaque", {1.0f, 0.5f, 0.0f}, 1.0f, {10, 20, 30}, {255, 128, 0}},
    PartsPixelCase{"HalfOverUnderlay", {0.5f, 0, 0}, 0.5f, {0, 200, 100}, {128, 100, 50}},
    PartsPixelCase{"OpaqueTransparentColourIsNudged", {100 / 255.0f, 100 / 255.0f, 100 / 255.0f}, 1.0f, {0, 0, 0},
                   {100, 100, 101}},
    PartsPixelCase{"BlendLandingOnTransparentColourIsNudged", {0, 0, 0}, 0.5f, {200, 200, 200}, {100, 100, 101}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawCell, KeyedDrawLeavesTransparentPixelsAndClips)
{
    Image source(3, 1, Rgb{1, 2, 3});
    source.at(1, 0) = TransparentColour;
    Image target(4, 1, Rgb{9, 9, 9});
    DrawCell(source, {0, 0, 3, 1}, target, 2, 0, true);
    EXPECT_EQ(target.at(1, 0), (Rgb{9, 9, 9}));
    EXPECT_EQ(target.at(2, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(target.at(3, 0), (Rgb{9, 9, 9}));   // the source's transparent middle pixel
    DrawCell(source, {0, 0, 3, 1}, target, 1, 0, false);
    EXPECT_EQ(target.at(2, 0), TransparentColour);
}

// ---- The bitmaps the build wrote ----------------------------------------------------------

int BitsPerPixel(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char header[30] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    if (!file || header[0] != 'B' || header[1] != 'M') return -1;
    return header[28] | header[29] << 8;
}

Image LoadBitmap(const std::string& path)
{
    Image image;
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) return image;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    if (!rgb) return image;
    image = Image(rgb->w, rgb->h, Rgb{});
    for (int y = 0; y < rgb->h; y++) {
        const uint8_t* row = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch;
        for (int x = 0; x < rgb->w; x++) image.at(x, y) = {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    }
    SDL_FreeSurface(rgb);
    return image;
}

class BuiltBitmapTest : public ::testing::TestWithParam<int> {
protected:
    const SkinDesign& design = SkinDesigns[GetParam()];
    std::string dir = std::string(NUMBRIX_SKIN_BUILD_DIR) + "/" + design.name + "/";
    CellPlan plan = PlanCells(design);
    Image parts = LoadBitmap(dir + PartsImageName);

    int Visible(int cell)
    {
        const Rect& r = plan.cells[cell];
        int count = 0;
        for (int y = r.y; y < r.y + r.h; y++)
            for (int x = r.x; x < r.x + r.w; x++) count += parts.contains(x, y) && !(parts.at(x, y) == TransparentColour);
        return count;
    }
    bool SamePixels(int a, int b)
    {
        const Rect &ra = plan.cells[a], &rb = plan.cells[b];
        if (ra.w != rb.w || ra.h != rb.h) return false;
        if (!parts.contains(ra.x + ra.w - 1, ra.y + ra.h - 1) || !parts.contains(rb.x + rb.w - 1, rb.y + rb.h - 1)) return false;
        for (int y = 0; y < ra.h; y++)
            for (int x = 0; x < ra.w; x++)
                if (!(parts.at(ra.x + x, ra.y + y) == parts.at(rb.x + x, rb.y + y))) return false;
        return true;
    }
};

TEST_P(BuiltBitmapTest, BothImagesAre24BitOfThePlannedSize)
{
    EXPECT_EQ(BitsPerPixel(dir + BackImageName), 24);
    EXPECT_EQ(BitsPerPixel(dir + PartsImageName), 24);
    Image back = LoadBitmap(dir + BackImageName);
    EXPECT_EQ(back.width, FaceWidth);
    EXPECT_EQ(back.height, FaceHeight);
    EXPECT_EQ(parts.width, plan.width);
    EXPECT_EQ(parts.height, plan.height);
}

TEST_P(BuiltBitmapTest, EveryCellShowsSomething)
{
    ASSERT_EQ(parts.width, plan.width);
    ASSERT_EQ(parts.height, plan.height);
    for (int c = 0; c < CellCount; c++) EXPECT_GT(Visible(c), 0) << "cell " << c;
    // A key face covers most of its rectangle; only its rounded corners and shadow let through.
    for (int c = 0; c < CellPanel; c++) EXPECT_GT(Visible(c), plan.cells[c].w * plan.cells[c].h * 8 / 10) << c;
}

TEST_P(BuiltBitmapTest, KeyStatesLookDifferent)
{
    ASSERT_EQ(parts.width, plan.width);
    ASSERT_EQ(parts.height, plan.height);
    for (int face = 0; face < FaceCount; face++) {
        EXPECT_FALSE(SamePixels(face, face + CellFirstDown)) << "face " << face;
        EXPECT_FALSE(SamePixels(face, face + CellFirstDisabled)) << "face " << face;
        EXPECT_FALSE(SamePixels(face + CellFirstDown, face + CellFirstDisabled)) << "face " << face;
    }
}

TEST_P(BuiltBitmapTest, DisplayCellsAreAllDifferent)
{
    ASSERT_EQ(parts.width, plan.width);
    ASSERT_EQ(parts.height, plan.height);
    for (int a = CellFirstDigit; a < CellCount; a++)
        for (int b = a + 1; b < CellCount; b++) EXPECT_FALSE(SamePixels(a, b)) << "cells " << a << " and " << b;
}

INSTANTIATE_TEST_SUITE_P(BothSkins, BuiltBitmapTest, ::testing::Range(0, SkinDesignCount),
                         [](const auto& info) { return std::string(SkinDesigns[info.param].name); });

}  // namespace
