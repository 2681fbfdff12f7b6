// The generated skins' designs: every rectangle where the painter and the hit test need it.
#include "tools/make_skins/skin_design.h"

#include <gtest/gtest.h>

#include <string>

using namespace skins;

namespace {

bool Inside(const Rect& inner, const Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

bool Overlap(const Rect& a, const Rect& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

std::string Describe(const Rect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," + std::to_string(r.h);
}

constexpr Rect Client = {0, 0, FaceWidth, FaceHeight};

class SkinDesignTest : public ::testing::TestWithParam<int> {
protected:
    const SkinDesign& design = SkinDesigns[GetParam()];
    Rect areas[AreaCount];
    CellPlan plan = PlanCells(design);
    void SetUp() override { PlanAreas(design, areas); }
};

TEST_P(SkinDesignTest, EveryAreaLiesInsideTheClientArea)
{
    for (int a = 0; a < AreaCount; a++) {
        EXPECT_GT(areas[a].w, 0) << "area " << a;
        EXPECT_GT(areas[a].h, 0) << "area " << a;
        EXPECT_TRUE(Inside(areas[a], Client)) << "area " << a << " at " << Describe(areas[a]);
    }
}

TEST_P(SkinDesignTest, KeysDoNotOverlapEachOtherOrTheDisplay)
{
    for (int a = 0; a < KeyCount; a++) {
        EXPECT_FALSE(Overlap(areas[a], areas[AreaPanel])) << "key " << a << " covers the display";
        for (int b = a + 1; b < KeyCount; b++)
            EXPECT_FALSE(Overlap(areas[a], areas[b])) << "keys " << a << " and " << b;
    }
}

TEST_P(SkinDesignTest, KeysAreLargeEnoughForAStylus)
{
    for (int k = 0; k < KeyCount; k++) {
        EXPECT_GE(areas[k].w, 30) << "key " << k;
        EXPECT_GE(areas[k].h, 18) << "key " << k;
    }
}

TEST_P(SkinDesignTest, DisplayPositionsRunRightToLeftInsideThePanelWithoutOverlap)
{
    const Display& d = design.display;
    for (int i = 0; i < DisplayPositions; i++) {
        Rect position = areas[AreaFirstPosition + i];
        EXPECT_TRUE(Inside(position, d.panel)) << "position " << i << " at " << Describe(position);
        if (i > 0) {
            Rect right = areas[AreaFirstPosition + i - 1];
            EXPECT_GE(right.x - position.x, d.glyphWidth) << "positions " << i - 1 << " and " << i;
            EXPECT_EQ(position.y, right.y) << "position " << i;
        }
    }
}

TEST_P(SkinDesignTest, IndicatorSitsOnThePanelClearOfTheDigits)
{
    Rect indicator = areas[AreaOperator];
    EXPECT_TRUE(Inside(indicator, design.display.panel)) << Describe(indicator);
    for (int i = 0; i < DisplayPositions; i++)
        EXPECT_FALSE(Overlap(indicator, areas[AreaFirstPosition + i])) << "position " << i;
}

TEST_P(SkinDesignTest, EveryCellLiesOnThePartsImageWithoutOverlap)
{
    Rect image = {0, 0, plan.width, plan.height};
    for (int c = 0; c < CellCount; c++) {
        EXPECT_GT(plan.cells[c].w, 0) << "cell " << c;
        EXPECT_GT(plan.cells[c].h, 0) << "cell " << c;
        EXPECT_TRUE(Inside(plan.cells[c], image)) << "cell " << c << " at " << Describe(plan.cells[c]);
        for (int other = c + 1; other < CellCount; other++)
            EXPECT_FALSE(Overlap(plan.cells[c], plan.cells[other])) << "cells " << c << " and " << other;
    }
}

// A face drawn at its area's corner must cover exactly the rectangle that the hit test uses.
TEST_P(SkinDesignTest, EveryKeyFaceHasTheSizeOfItsArea)
{
    for (int k = 0; k < KeyCount; k++)
        for (int state = Up; state <= Disabled; state++) {
            const Rect& cell = plan.cells[KeyTable[k].cell[state]];
            EXPECT_EQ(cell.w, areas[k].w) << "key " << k << " state " << state;
            EXPECT_EQ(cell.h, areas[k].h) << "key " << k << " state " << state;
        }
    EXPECT_EQ(plan.cells[CellPanel].w, areas[AreaPanel].w);
    EXPECT_EQ(plan.cells[CellPanel].h, areas[AreaPanel].h);
}

// Glyphs, the error sign and the indicators, drawn at their positions, stay on the panel and
// never reach into the neighbouring position.
TEST_P(SkinDesignTest, DisplayCellsFitTheirPositions)
{
    const Display& d = design.display;
    for (int c = CellFirstDigit; c < CellFirstIndicator; c++) {
        const Rect& cell = plan.cells[c];
        EXPECT_LE(cell.w, d.spacing) << "cell " << c;
        for (int i = 0; i < DisplayPositions; i++) {
            Rect drawn = {areas[AreaFirstPosition + i].x, areas[AreaFirstPosition + i].y, cell.w, cell.h};
            EXPECT_TRUE(Inside(drawn, d.panel)) << "cell " << c << " at position " << i;
        }
    }
    for (int c = CellFirstIndicator; c < CellCount; c++) {
        Rect drawn = {areas[AreaOperator].x, areas[AreaOperator].y, plan.cells[c].w, plan.cells[c].h};
        EXPECT_TRUE(Inside(drawn, d.panel)) << "cell " << c;
    }
}

TEST_P(SkinDesignTest, DigitKeysAreLabelledWithTheirValue)
{
    const char* digits = "0123456789ABCDEF";
    for (int k = 0; k < KeyCount; k++) {
        if (KindOfKey(k) != KindDigit && KindOfKey(k) != KindLetter) continue;
        EXPECT_EQ(std::string(KeyLabels[k]), std::string(1, digits[KeyTable[k].keyValue])) << "key " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinDesignTest, ::testing::Range(0, SkinDesignCount),
                         [](const auto& info) { return std::string(SkinDesigns[info.param].name); });

TEST(SkinDesigns, TheSecondSkinVisiblyDiffers)
{
    const SkinDesign& a = SkinDesigns[0];
    const SkinDesign& b = SkinDesigns[1];
    EXPECT_NE(std::string(a.name), std::string(b.name));
    int moved = 0;
    for (int k = 0; k < KeyCount; k++) {
        Rect ra = KeyArea(a, k), rb = KeyArea(b, k);
        moved += ra.x != rb.x || ra.y != rb.y || ra.w != rb.w || ra.h != rb.h;
    }
    EXPECT_GE(moved, KeyCount / 2);
    EXPECT_FALSE(a.palette.bodyTop == b.palette.bodyTop);
    EXPECT_FALSE(a.palette.ink == b.palette.ink);
    EXPECT_FALSE(a.palette.keys[KindDigit].top == b.palette.keys[KindDigit].top);
}

}  // namespace
