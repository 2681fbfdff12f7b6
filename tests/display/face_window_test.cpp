#include "tests/support/calculator_fixture.h"
#include "tests/support/skin_fixture.h"

#include "tests/support/face_window.h"
#include "platform/headless.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

namespace {

// The face on the device screen: the client area starts 26 pixels down, below the title bar.
class CalculatorFace : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReleaseSurfaces();
        ResetHeadlessDevice();
        ASSERT_NE(CreateFaceWindow(), nullptr);
        ASSERT_EQ(LoadSkin(install.WriteSkin("face").c_str()), 0);
        StartCalculator();
        RunUntilIdle();
        faceWindowPaints = 0;
    }
    void TearDown() override
    {
        ReleaseSurfaces();
        ResetHeadlessDevice();
    }
    static uint32_t OnScreen(int key) { return ScreenPixel(SkinLayout[key].x + 1, SkinLayout[key].y + 1 + 26); }
    static int CentreX(int key) { return SkinLayout[key].x + 15; }
    static int CentreY(int key) { return SkinLayout[key].y + 15 + 26; }
    TestInstallation install;
};

TEST_F(CalculatorFace, KeyShowsDownWhilePressedAndUpAfterTheStylusLifts)
{
    InjectStylusDown(CentreX(4), CentreY(4));
    RunUntilIdle();
    EXPECT_EQ(OnScreen(4), CellColor(KeyTable[4].cell[Down]));
    EXPECT_EQ(faceWindowPaints, 1);
    InjectStylusUp(CentreX(4), CentreY(4));
    RunUntilIdle();
    EXPECT_EQ(OnScreen(4), CellColor(KeyTable[4].cell[Up]));
    EXPECT_EQ(faceWindowPaints, 2);
    EXPECT_EQ(OnScreen(AreaFirstPosition), CellColor(89));   // the glyph of "1"
}

TEST_F(CalculatorFace, StylusUpWithNothingDownPaintsNothing)
{
    InjectTap(235, 300);   // outside every key
    RunUntilIdle();
    EXPECT_EQ(faceWindowPaints, 0);
}

TEST_F(CalculatorFace, ModeKeyStaysDownAndTheFaceFollowsTheMode)
{
    InjectTap(CentreX(KeyHexMode), CentreY(KeyHexMode));
    RunUntilIdle();
    EXPECT_EQ(OnScreen(KeyHexMode), CellColor(KeyTable[KeyHexMode].cell[Down]));
    EXPECT_EQ(OnScreen(KeyDecMode), CellColor(KeyTable[KeyDecMode].cell[Up]));
    EXPECT_EQ(OnScreen(0), CellColor(KeyTable[0].cell[Up]));
    EXPECT_EQ(OnScreen(KeyPoint), CellColor(KeyTable[KeyPoint].cell[Disabled]));
}

}  // namespace
