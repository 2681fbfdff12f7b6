#include "tests/support/calculator_fixture.h"

#include "engine/app_globals.h"
#include "engine/skin_layout.h"
#include "platform/inspect.h"
#include "platform/sound.h"

#include <cstring>

namespace {

// Keys on a grid of 30 x 30 cells, key k at column k % 8, row k / 8; each with a sound path.
class PressKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(SkinLayout, 0, sizeof SkinLayout);
        for (int k = 0; k < KeyCount; k++) SkinLayout[k] = Area{(k % 8) * 30, (k / 8) * 30, 30, 30};
        for (int s = 0; s < SoundCount; s++) {
            std::u16string path = u"snd" + std::u16string(1, char16_t(u'0' + s));
            std::memcpy(SoundBank[s], path.c_str(), (path.size() + 1) * sizeof(WCHAR));
        }
        appSettings.soundEffects = 1;
        StartCalculator();
        ClearInvalidateLog();
        ClearSoundLog();
    }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    static LPARAM CentreOf(int key) { return At(SkinLayout[key].x + 15, SkinLayout[key].y + 15); }
};

TEST_F(PressKeyTest, MarksInvalidatesAppliesAndPlays)
{
    PressKey(CentreOf(4));   // digit 1
    EXPECT_EQ(keyStates[4], Down);
    ASSERT_EQ(InvalidateLog().size(), 1u);
    EXPECT_FALSE(InvalidateLog()[0].whole);
    EXPECT_EQ(InvalidateLog()[0].rect.left, 120);
    EXPECT_EQ(InvalidateLog()[0].rect.top, 0);
    EXPECT_EQ(InvalidateLog()[0].rect.right, 150);
    EXPECT_EQ(InvalidateLog()[0].rect.bottom, 30);
    EXPECT_EQ(calcState.decimalValue, 1);
    ASSERT_EQ(SoundLog().size(), 1u);
    EXPECT_EQ(SoundLog()[0].path, u"snd1");
    EXPECT_EQ(SoundLog()[0].flags, SND_FILENAME | SND_ASYNC);
}

TEST_F(PressKeyTest, EdgesFollowHalfOpenRectangles)
{
    PressKey(At(149, 29));
    EXPECT_EQ(keyStates[4], Down);
    StartCalculator();
    PressKey(At(150, 0));   // first pixel of key 5, not key 4
    EXPECT_EQ(keyStates[4], Up);
    EXPECT_EQ(keyStates[5], Down);
}

TEST_F(PressKeyTest, MissAndDisabledKeysDoNothing)
{
    PressKey(At(500, 500));
    PressKey(CentreOf(0));   // digit D, disabled in decimal mode
    EXPECT_TRUE(InvalidateLog().empty());
    EXPECT_TRUE(SoundLog().empty());
    EXPECT_EQ(keyStates[0], Disabled);
}

TEST_F(PressKeyTest, OverlapGoesToTheLowerEnabledKey)
{
    SkinLayout[9] = SkinLayout[2];    // 5 over 7
    PressKey(CentreOf(2));
    EXPECT_EQ(calcState.decimalValue, 7);
    SkinLayout[1] = SkinLayout[2];    // disabled A under both
    PressKey(CentreOf(2));
    EXPECT_EQ(calcState.decimalValue, 77);
}

TEST_F(PressKeyTest, ModeKeyInTheErrorStateIsNotMarkedButSounds)
{
    calcState.errorFlag = 1;
    PressKey(CentreOf(KeyHexMode));
    EXPECT_EQ(keyStates[KeyHexMode], Up);
    EXPECT_EQ(calcState.radixMode, Dec);
    EXPECT_TRUE(InvalidateLog().empty());
    ASSERT_EQ(SoundLog().size(), 1u);
    EXPECT_EQ(SoundLog()[0].path, u"snd2");
}

TEST_F(PressKeyTest, IgnoredDigitStillSounds)
{
    Keys("1 2 3 4 5 6 7 8");
    PressKey(CentreOf(4));
    EXPECT_EQ(calcState.decimalValue, 12345678);
    EXPECT_EQ(SoundLog().size(), 1u);
}

TEST_F(PressKeyTest, SoundsFollowTheSwitchAndTheBank)
{
    struct {
        int32_t soundEffects;
        bool emptySlot;
        size_t played;
    } cases[] = {{1, false, 1}, {0, false, 0}, {2, false, 0}, {-1, false, 0}, {1, true, 0}};
    for (auto& c : cases) {
        ClearSoundLog();
        appSettings.soundEffects = c.soundEffects;
        if (c.emptySlot) SoundBank[SoundDigit][0] = 0;
        PressKey(CentreOf(4));
        EXPECT_EQ(SoundLog().size(), c.played) << c.soundEffects;
    }
    appSettings.soundEffects = 1;
}

TEST_F(PressKeyTest, ReleaseLiftsPressedKeysButNotTheModeKey)
{
    keyStates[4] = Down;
    keyStates[KeyBackspace] = Down;
    ReleaseKeys();
    EXPECT_EQ(keyStates[4], Up);
    EXPECT_EQ(keyStates[KeyBackspace], Up);
    EXPECT_EQ(keyStates[KeyDecMode], Down);
    EXPECT_EQ(keyStates[0], Disabled);
    ASSERT_EQ(InvalidateLog().size(), 2u);
    EXPECT_EQ(InvalidateLog()[0].rect.left, SkinLayout[4].x);
    EXPECT_EQ(InvalidateLog()[0].rect.bottom, SkinLayout[4].y + SkinLayout[4].height);
    ClearInvalidateLog();
    ReleaseKeys();
    EXPECT_TRUE(InvalidateLog().empty());
}

TEST_F(PressKeyTest, HugeAreasDoNotOverflow)
{
    SkinLayout[4] = Area{2147483600, 2147483600, 2147483647, 2147483647};
    SkinLayout[5] = Area{-2147483647 - 1, -2147483647 - 1, -1, -1};
    PressKey(At(65535, 65535));
    EXPECT_EQ(keyStates[4], Up);
    EXPECT_EQ(keyStates[5], Up);
}

}  // namespace
