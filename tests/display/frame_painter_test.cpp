#include "tests/support/calculator_fixture.h"
#include "tests/support/skin_fixture.h"

#include "display/frame_painter.h"
#include "engine/skin_cells.h"
#include "platform/inspect.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

namespace {

// The face of the test skin: each drawn cell shows its colour one pixel in from the area's corner,
// and the background through the corner pixel, which is transparent.
class FramePainterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReleaseSurfaces();
        CreateTestMainWindow();
        ASSERT_EQ(LoadSkin(install.WriteSkin("test").c_str()), 0);
        StartCalculator();
    }
    void TearDown() override
    {
        ReleaseSurfaces();
        DestroyWindow(mainWindow);
    }
    static uint32_t Probe(int area) { return WindowPixel(SkinLayout[area].x + 1, SkinLayout[area].y + 1); }
    static uint32_t Corner(int area) { return WindowPixel(SkinLayout[area].x, SkinLayout[area].y); }
    // The display positions from the right, '_' for a position that shows no glyph.
    std::string DisplayedGlyphs()
    {
        std::string shown;
        for (int i = DisplayPositions - 1; i >= 0; i--) {
            uint32_t pixel = Probe(AreaFirstPosition + i);
            char c = '_';
            for (char glyph : std::string("0123456789abcdef.-,"))
                if (pixel == CellColor(GlyphCell(glyph))) c = glyph;
            if (pixel == CellColor(CellErrorSign)) c = 'E';
            shown += c;
        }
        size_t first = shown.find_first_not_of('_');
        return first == std::string::npos ? "" : shown.substr(first);
    }
    TestInstallation install;
};

TEST_F(FramePainterTest, KeysAreDrawnWithTheCellOfTheirState)
{
    Keys("hex");
    keyStates[4] = Down;
    PaintFrame();
    for (int k = 0; k < KeyCount; k++) {
        EXPECT_EQ(Probe(k), CellColor(KeyTable[k].cell[keyStates[k]])) << "key " << k;
        EXPECT_EQ(Corner(k), TestBackground) << "key " << k;
    }
    EXPECT_EQ(Probe(KeyHexMode), CellColor(55));
    EXPECT_EQ(Probe(KeyPoint), CellColor(74));
}

TEST_F(FramePainterTest, DisplayShowsTheTextFromTheRight)
{
    struct {
        const char* keys;
        const char* shown;
    } cases[] = {
        {"", "0"},
        {"1 2 3 4 point 5", "1,234.5"},
        {"1 2 3 4 5 6 7 sign", "-1,234,567"},
        {"hex a b c d e f 1 2", "abcdef12"},
        {"bin 1 0 1", "101"},
        {"1 2 3 4 5 6 7 div 3 eq", "411,522.3333"},
        {"1 div 3 eq", "0.333333"},
        {"9 9 9 9 9 9 9 9 sub 0 point 0 0 0 0 0 1 eq", "99,999,999"},
        {"point 0 5 0 1 8 9 sub 8 4 4 5 9 7 4 8 eq", "-84,459,748"},
    };
    for (auto& c : cases) {
        StartCalculator();
        Keys(c.keys);
        PaintFrame();
        EXPECT_EQ(DisplayedGlyphs(), c.shown) << c.keys;
        EXPECT_EQ(Probe(AreaPanel), CellColor(CellPanel));
    }
}

// A key's up and down faces are drawn at the width and height their cells give: the 7 key's up
// face 8 wide and 4 high, its down face 3 wide and 7 high, cut from a solid block below the cells.
TEST_F(FramePainterTest, CellsAreDrawnAtTheirOwnWidthAndHeight)
{
    constexpr uint32_t Block = 0xA0B0C0;
    std::vector<uint32_t> parts = TestPartsPixels();
    parts.resize(parts.size() + TestPartsWidth * 10, Block);
    install.WriteSkin("cells");
    TestSkinText text;
    const struct { KeyState state; int width, height; } faces[] = {{Up, 8, 4}, {Down, 3, 7}};
    for (const auto& face : faces) {
        char key[16], value[32];
        std::snprintf(key, sizeof key, "CHAR%03d", KeyTable[7].cell[face.state] + 1);
        std::snprintf(value, sizeof value, "0,%d,%d,%d", TestPartsHeight, face.width, face.height);
        text.Set("CHARACTER", key, value);
    }
    install.dir.Write("skin/cells.skn", text.Text());
    install.dir.Write("skin/cells/parts.bmp", Bmp24(TestPartsWidth, TestPartsHeight + 10, parts));
    ASSERT_EQ(LoadSkin(install.dir.DevicePath("skin/cells.skn").c_str()), 0);
    for (const auto& face : faces) {
        SCOPED_TRACE(face.state == Up ? "up" : "down");
        StartCalculator();
        keyStates[7] = face.state;
        PaintFrame();
        const Area& area = SkinLayout[7];
        EXPECT_EQ(WindowPixel(area.x + face.width - 1, area.y + face.height - 1), Block);
        EXPECT_EQ(WindowPixel(area.x + face.width, area.y), TestBackground) << "wider than its cell";
        EXPECT_EQ(WindowPixel(area.x, area.y + face.height), TestBackground) << "higher than its cell";
    }
}

TEST_F(FramePainterTest, ErrorSignWithAndWithoutOperator)
{
    Keys("9 9 9 9 9 9 9 9 add 1 eq");
    PaintFrame();
    EXPECT_EQ(DisplayedGlyphs(), "E");
    EXPECT_EQ(Probe(AreaOperator), TestBackground);
    StartCalculator();
    Keys("9 9 9 9 9 9 9 9 add 1 mul");
    PaintFrame();
    EXPECT_EQ(DisplayedGlyphs(), "E");
    EXPECT_EQ(Probe(AreaOperator), CellColor(IndicatorCell(OpMultiply)));
}

TEST_F(FramePainterTest, OperatorIndicatorOnlyWhilePending)
{
    const char* keys[] = {"add", "sub", "mul", "div"};
    for (int op = 1; op <= 4; op++) {
        StartCalculator();
        Keys(std::string("5 ") + keys[op - 1]);
        PaintFrame();
        EXPECT_EQ(Probe(AreaOperator), CellColor(IndicatorCell(OpCode(op))));
    }
    Keys("eq");
    PaintFrame();
    EXPECT_EQ(Probe(AreaOperator), TestBackground);
}

TEST_F(FramePainterTest, PaintWithAReleasedBankKeepsThePreviousPicture)
{
    Keys("7");
    PaintFrame();
    ReleaseSurfaces();
    Keys("8");
    PaintFrame();
    EXPECT_EQ(DisplayedGlyphs(), "7");
}

struct GlyphCase {
    char16_t c;
    int cell;
};

class GlyphCellTest : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(GlyphCellTest, MapsTheCharacter)
{
    EXPECT_EQ(GlyphCell(GetParam().c), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(DisplayCharacters, GlyphCellTest, ::testing::Values(
    GlyphCase{u'0', 88}, GlyphCase{u'5', 93}, GlyphCase{u'9', 97}, GlyphCase{u'a', 102}, GlyphCase{u'f', 107},
    GlyphCase{u'.', 99}, GlyphCase{u'-', 100}, GlyphCase{u',', 101},
    GlyphCase{u'A', -1}, GlyphCase{u'g', -1}, GlyphCase{u' ', -1}, GlyphCase{u'/', -1}, GlyphCase{u':', -1}));

}  // namespace
