// numbrix-skin guide: every cell and area outlined at its rectangle, scaled, in the colour of its
// kind, and in red where check finds fault with it (a cell beyond the parts image, a key off the
// face). The tests' own skin puts each cell at a known place.
#include "skin_tool_fixture.h"
#include "tests/support/skin_fixture.h"

#include "engine/skin_cells.h"
#include "tools/skin_tool/skin_guide.h"

namespace {

using skintool::GuideLayout;

constexpr int Scale = 3;

// The four corners of a rectangle's outline in the guide.
std::vector<uint32_t> Corners(const PngImage& guide, int left, int top, const Area& r)
{
    int x0 = left + r.x * Scale, y0 = top + r.y * Scale;
    int x1 = left + (r.x + r.width) * Scale - 1, y1 = top + (r.y + r.height) * Scale - 1;
    return {guide.at(x0, y0), guide.at(x1, y0), guide.at(x0, y1), guide.at(x1, y1)};
}

uint32_t KindColour(int cell)
{
    if (cell < CellFirstDown) return skintool::GuideUpColour;
    if (cell < CellFirstDisabled) return skintool::GuideDownColour;
    if (cell < CellPanel) return skintool::GuideDisabledColour;
    return cell < CellFirstIndicator ? skintool::GuideDisplayColour : skintool::GuideIndicatorColour;
}

TEST(SkinGuide, OutlinesEveryCellAndKeyAtItsRectangleAndFaultsInRed)
{
    constexpr int OutsideCell = 4, OffFaceKey = 5;
    TestInstallation install;
    TestSkinText text;
    // Past the parts image's right edge and the face's, clear of the other cells and keys.
    Area beyond = {TestPartsWidth - 2, 20, 6, 6};
    text.Set("CHARACTER", "CHAR005", "126,20,6,6");
    text.Set("AREA", "AREA06", "225,150,30,30");
    install.WriteSkin("guided", text);
    TempDir scratch;
    std::string out = scratch.HostPath("guide.png");
    ToolRun run = RunTool({"guide", install.HostPath("skin/guided.skn"), "--out", out, "--scale", "3"}, scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    PngImage guide = ReadPng(out);
    GuideLayout layout = skintool::LayoutGuide(TestPartsWidth, TestPartsHeight, Scale);
    ASSERT_EQ(guide.width, layout.width);
    ASSERT_EQ(guide.height, layout.height);

    for (int cell = 0; cell < CellCount; ++cell) {
        Area r = cell == OutsideCell ? beyond : Area{CellX(cell), CellY(cell), 6, 6};
        uint32_t colour = cell == OutsideCell ? skintool::GuideFaultColour : KindColour(cell);
        EXPECT_EQ(Corners(guide, layout.partsLeft, layout.partsTop, r), std::vector<uint32_t>(4, colour)) << "cell " << cell;
    }
    for (int key = 0; key < KeyCount; ++key) {
        if (key == OffFaceKey) continue;
        EXPECT_EQ(Corners(guide, layout.faceLeft, layout.faceTop, TestArea(key)),
                  std::vector<uint32_t>(4, skintool::GuideUpColour))
            << "key " << key;
    }
    // Its right edge lies beyond the guide; the left ones show.
    std::vector<uint32_t> offFace = Corners(guide, layout.faceLeft, layout.faceTop, Area{225, 150, 1, 30});
    EXPECT_EQ(offFace[0], skintool::GuideFaultColour);
    EXPECT_EQ(offFace[2], skintool::GuideFaultColour);
}

}  // namespace
