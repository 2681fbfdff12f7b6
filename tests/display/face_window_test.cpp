#include "tests/support/calculator_fixture.h"
#include "tests/support/skin_fixture.h"

#include "tests/support/face_window.h"
#include "platform/headless.h"
#include "platform/host.h"
#include "platform/inspect.h"
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
        ClearSoundLog();
    }
    void TearDown() override
    {
        ReleaseSurfaces();
        ResetHeadlessDevice();
    }
    static uint32_t OnScreen(int key) { return ScreenPixel(SkinLayout[key].x + 1, SkinLayout[key].y + 1 + 26); }
    static int CentreX(int key) { return SkinLayout[key].x + 15; }
    static int CentreY(int key) { return SkinLayout[key].y + 15 + 26; }
    static bool ShownAs(int key, KeyState state) { return OnScreen(key) == CellColor(KeyTable[key].cell[state]); }
    // A key of the headless keyboard (each virtual key one physical key) that types text.
    static void Type(UINT virtualKey, const std::u16string& text = u"")
    {
        InjectKey(virtualKey, false, text);
        RunUntilIdle();
    }
    static std::u16string Clipboard()
    {
        std::u16string text;
        return HostGetClipboardText(&text) ? text : u"(none)";
    }
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

TEST_F(CalculatorFace, AHeldKeyShowsDownUntilItsOwnKeyGoesUpAndDoesNotRepeat)
{
    InjectKeyDown(VK_OEM_PLUS, u"+");   // Shift and = on a US layout: the add key
    InjectKeyDown('7', u"7");
    InjectKeyDown('7', u"7", false, true);
    RunUntilIdle();
    EXPECT_TRUE(ShownAs(KeyAdd, Down));
    EXPECT_TRUE(ShownAs(2, Down));
    EXPECT_EQ(DisplayText(), "7");
    EXPECT_EQ(SoundLog().size(), 2u) << "the repeat pressed nothing";
    InjectKeyUp('7');
    RunUntilIdle();
    EXPECT_TRUE(ShownAs(2, Up));
    EXPECT_TRUE(ShownAs(KeyAdd, Down));
    InjectKeyUp(VK_OEM_PLUS);
    RunUntilIdle();
    EXPECT_TRUE(ShownAs(KeyAdd, Up));
}

TEST_F(CalculatorFace, AKeypadKeyPressesOnceWhateverItTypes)
{
    Type(VK_NUMPAD0 + 5, u"5");
    Type(VK_ADD, u"+");
    Type(VK_NUMPAD0 + 2);   // NumLock off: no text
    Type(VK_RETURN);
    EXPECT_EQ(DisplayText(), "7");
    EXPECT_EQ(SoundLog().size(), 4u);
}

TEST_F(CalculatorFace, DisabledKeysDoNothingAndTheErrorStateBlocksTheModeKeys)
{
    Type('A', u"a");
    Type(VK_F5);
    Type(VK_F9);   // sign, disabled in hexadecimal mode
    EXPECT_EQ(calcState.radixMode, Hex);
    EXPECT_EQ(SoundLog().size(), 1u) << "only the mode key sounded";
    Type(VK_F6);
    Type('9', u"9");
    for (int i = 0; i < 7; i++) Type('9', u"9");
    Type(VK_OEM_PLUS, u"+");
    Type('1', u"1");
    Type(VK_OEM_PLUS, u"=");
    ASSERT_EQ(calcState.errorFlag, 1);
    ClearSoundLog();
    InjectKeyDown(VK_F8);
    RunUntilIdle();
    EXPECT_TRUE(ShownAs(KeyBinMode, Up)) << "a blocked mode key is not shown pressed";
    EXPECT_EQ(calcState.radixMode, Dec);
    EXPECT_EQ(SoundLog().size(), 1u) << "and it sounds";
}

TEST_F(CalculatorFace, CopyGivesTheNumberShownAndPasteTakesOnlyANumber)
{
    for (WCHAR c : std::u16string(u"1234.5")) Type(c == u'.' ? VK_OEM_PERIOD : c, std::u16string(1, c));
    Type(VK_F9);
    InjectKey('C', true);
    RunUntilIdle();
    EXPECT_EQ(Clipboard(), u"-1234.5");
    HostSetClipboardText(u"12 apples");
    InjectKey('V', true);
    RunUntilIdle();
    EXPECT_EQ(DisplayText(), "-1,234.5");
    HostSetClipboardText(u" 0.000123\n");
    InjectKey('V', true);
    RunUntilIdle();
    EXPECT_EQ(DisplayText(), "0.000123");
    EXPECT_EQ(ScreenPixel(SkinLayout[AreaFirstPosition].x + 1, SkinLayout[AreaFirstPosition].y + 27), CellColor(91))
        << "the display shows the pasted number";
    calcState.errorFlag = 1;
    InjectKey('C', true);
    RunUntilIdle();
    EXPECT_EQ(Clipboard(), u" 0.000123\n") << "nothing is copied in the error state";
}

TEST_F(CalculatorFace, LosingActivationLiftsTheHeldKeys)
{
    InjectKeyDown('4', u"4");
    RunUntilIdle();
    ASSERT_TRUE(ShownAs(3, Down));
    SendMessageW(mainWindow, WM_ACTIVATE, WA_INACTIVE, 0);
    RunUntilIdle();
    EXPECT_TRUE(ShownAs(3, Up));
}

}  // namespace
