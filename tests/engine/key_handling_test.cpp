#include "tests/support/calculator_fixture.h"

#include "engine/app_globals.h"
#include "engine/skin_layout.h"
#include "platform/inspect.h"
#include "platform/sound.h"

#include <cmath>
#include <cstring>
#include <random>

namespace {

struct SequenceCase {
    const char* keys;
    const char* display;
};
void PrintTo(const SequenceCase& c, std::ostream* out) { *out << "\"" << c.keys << "\""; }

class KeySequences : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(KeySequences, ShowTheExpectedText)
{
    StartCalculator();
    Keys(GetParam().keys);
    EXPECT_EQ(calcState.errorFlag, 0);
    EXPECT_EQ(DisplayText(), GetParam().display) << "keys: " << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(Decimal, KeySequences, ::testing::Values(
    SequenceCase{"5 add 3 eq", "8"},
    SequenceCase{"5 add 3 eq 7", "7"},
    SequenceCase{"5 add eq", "10"},
    SequenceCase{"4 mul eq", "16"},
    SequenceCase{"2 add 3 mul 4 eq", "20"},
    SequenceCase{"2 add 3 mul 4 eq eq", "20"},
    SequenceCase{"7 div 0 eq", "0"},
    SequenceCase{"9 9 9 9 9 9 9 9 eq", "99,999,999"},
    SequenceCase{"9 9 9 9 9 9 9 9 sign sub 0 eq", "-99,999,999"},
    SequenceCase{"1 2 3 4 5 6 7 8 9", "12,345,678"},
    SequenceCase{"1 2 3 4 5 6 7 sign 9", "-12,345,679"},
    SequenceCase{"9 9 9 9 9 9 9 sign 9", "-99,999,999"},
    SequenceCase{"0 point 1 2 3 4 5 6 7", "0.123456"},
    SequenceCase{"1 2 3 4 5 6 7 point 8 9", "1,234,567.8"},
    SequenceCase{"1 2 3 4 5 6 7 sign point 8", "-1,234,567"},
    SequenceCase{"1 2 3 4 5 6 7 point 0 5", "1,234,567.05"},
    SequenceCase{"1 2 3 bs", "12"},
    SequenceCase{"5 bs", "0"},
    SequenceCase{"1 point 2 5 bs", "1.2"},
    SequenceCase{"1 point 2 0 bs", "1.2"},
    SequenceCase{"1 point 0 bs", "1"},
    SequenceCase{"2 point 5 0 bs", "2.5"},
    SequenceCase{"1 point 5 bs 2", "12"},
    SequenceCase{"1 2 3 sign bs", "-12"},
    SequenceCase{"1 point 2 9 bs", "1.2"},
    SequenceCase{"0 point 2 9 bs bs 7", "7"},
    SequenceCase{"5 add 3 eq bs", "8"},
    SequenceCase{"5 add bs", "5"},
    SequenceCase{"sign", "-0"},
    SequenceCase{"sign 5", "5"},
    SequenceCase{"sign point 0", "0.0"},
    SequenceCase{"5 add ce 3 eq", "8"},
    SequenceCase{"5 add 3 ce 4 eq", "9"},
    SequenceCase{"5 add 3 eq ce", "0"},
    SequenceCase{"5 add mul 3 eq", "15"},
    SequenceCase{"8 sub add 2 eq", "10"},
    SequenceCase{"1 2 point bs 3", "123"},
    SequenceCase{"point bs", "0"},
    SequenceCase{"point", "0."},
    SequenceCase{"point 0 0 0 0 0 0", "0.000000"},
    SequenceCase{"point 0 0 0 0 0 0 5", "0.000000"},
    SequenceCase{"5 point 0", "5"},
    SequenceCase{"0 point 5 0", "0.5"},
    SequenceCase{"1 div 3 eq", "0.333333"},
    SequenceCase{"2 div 3 eq", "0.666667"},
    SequenceCase{"3 point 5 add 1 eq", "4.5"},
    SequenceCase{"1 0 point add 5 eq", "15"}));

INSTANTIATE_TEST_SUITE_P(HexAndBinary, KeySequences, ::testing::Values(
    SequenceCase{"hex f f f f f f f f 1", "ffffffff"},
    SequenceCase{"hex f f f f f f f f bs", "fffffff"},
    SequenceCase{"hex 7 div 0 eq", "0"},
    SequenceCase{"hex f f f f f f f f add 2 eq", "1"},
    SequenceCase{"hex 1 0 0 0 0 mul 1 0 0 0 0 eq", "0"},
    SequenceCase{"hex a bs bs", "0"},
    SequenceCase{"bin 1 1 1 1 1 1 1 1 1", "11111111"},
    SequenceCase{"bin 1 0 0 0 0 0 0 0 1", "10000000"},
    SequenceCase{"bin 1 1 1 1 1 1 1 1 add 1 eq", "00000000"},
    SequenceCase{"bin 0 sub 1 eq", "11111111"},
    SequenceCase{"bin 1 1 0 bs", "11"},
    SequenceCase{"bin 1 0 1 div 1 0 eq", "10"}));

TEST(KeyHandling, BinaryWrapsLikeUnsigned32)
{
    StartCalculator();
    Keys("bin 0 sub 1 eq");
    EXPECT_EQ(calcState.integerValue, 4294967295u);
    StartCalculator();
    Keys("bin 1 1 1 1 1 1 1 1 add 1 eq");
    EXPECT_EQ(calcState.integerValue, 256u);
}

struct ErrorCase {
    const char* keys;
    int32_t errorFlag;
};
void PrintTo(const ErrorCase& c, std::ostream* out) { *out << "\"" << c.keys << "\""; }
class ErrorState : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorState, IsSetOnlyByAResultOutOfRange)
{
    StartCalculator();
    Keys(GetParam().keys);
    EXPECT_EQ(calcState.errorFlag, GetParam().errorFlag) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(Limits, ErrorState, ::testing::Values(
    ErrorCase{"9 9 9 9 9 9 9 9 add 1 eq", 1},
    ErrorCase{"5 0 0 0 0 0 0 0 mul 2 eq", 1},
    ErrorCase{"9 9 9 9 9 9 9 9 eq", 0},
    ErrorCase{"9 9 9 9 9 9 9 9 sign sub 0 eq", 0},
    ErrorCase{"9 9 9 9 9 9 9 9 sign sub 1 eq", 1},
    ErrorCase{"9 9 9 9 9 9 9 9 add 1 add", 1},
    ErrorCase{"1 div 0 eq", 0},
    ErrorCase{"hex f f f f f f f f mul f f eq", 0}));

TEST(KeyHandling, ErrorStateBlocksEveryKeyButClearAll)
{
    StartCalculator();
    Keys("9 9 9 9 9 9 9 9 add 1 eq");
    ASSERT_EQ(calcState.errorFlag, 1);
    CalcState before = calcState;
    for (int k = 0; k < KeyCount; k++) {
        if (k == KeyClearAll) continue;
        ApplyKey(k);
        EXPECT_EQ(std::memcmp(&before, &calcState, sizeof before), 0) << "key " << KeyName(k);
    }
    EXPECT_EQ(Keys("ac"), SoundClearAll);
    EXPECT_EQ(calcState.errorFlag, 0);
    EXPECT_EQ(calcState.radixMode, Dec);
    EXPECT_EQ(DisplayText(), "0");
}

TEST(KeyHandling, ClearAllKeepsTheRadixMode)
{
    StartCalculator();
    Keys("hex f add 1 ac");
    EXPECT_EQ(calcState.radixMode, Hex);
    EXPECT_EQ(calcState.integerValue, 0u);
    EXPECT_EQ(calcState.pendingOp, OpNone);
    EXPECT_EQ(calcState.operatorEntered, 0);
}

TEST(KeyHandling, SignChangeOnZeroGivesNegativeZero)
{
    StartCalculator();
    Keys("sign");
    EXPECT_TRUE(std::signbit(calcState.decimalValue));
    EXPECT_EQ(calcState.decimalValue, 0.0);
}

TEST(KeyHandling, FractionStepsAreProductsOfPointOne)
{
    StartCalculator();
    Keys("point 1 2");
    EXPECT_EQ(calcState.fractionStep, 0.1 * 0.1 * 0.1);
    EXPECT_EQ(calcState.decimalValue, 0.1 * 2 * 0.1 + (0.1 * 1 + 0));
}

TEST(KeyHandling, TwoOperatorsInARowReplaceThePendingOne)
{
    StartCalculator();
    Keys("7 sub 4 eq 5 add mul");
    EXPECT_EQ(calcState.pendingOp, OpMultiply);
    EXPECT_EQ(calcState.operatorEntered, 1);
    EXPECT_EQ(calcState.fractionStep, 0);
    EXPECT_EQ(DisplayText(), "5");
}

TEST(KeyHandling, BackspaceOnAPendingPointKeepsTheDigits)
{
    StartCalculator();
    Keys("1 2 point bs");
    EXPECT_EQ(calcState.decimalValue, 12);
    EXPECT_EQ(calcState.fractionStep, 0);
}

TEST(KeyHandling, BackspaceUndoesEveryFractionDigitInTurn)
{
    StartCalculator();
    Keys("3 point 1 4 1 5 9 2");
    const char* expected[] = {"3.14159", "3.1415", "3.141", "3.14", "3.1", "3"};
    for (const char* text : expected) {
        Keys("bs");
        EXPECT_EQ(DisplayText(), text);
    }
    EXPECT_EQ(calcState.fractionStep, 0);
    Keys("7");
    EXPECT_EQ(DisplayText(), "37");
}

TEST(KeyHandling, SoundOfEveryKey)
{
    const SoundId expected[KeyCount] = {
        SoundDigit, SoundDigit, SoundDigit, SoundDigit, SoundDigit, SoundDigit, SoundDigit, SoundDigit,
        SoundDigit, SoundDigit, SoundDigit, SoundDigit, SoundDigit, SoundDigit, SoundDigit, SoundDigit,
        SoundDigit, SoundDigit, SoundOperator, SoundOperator, SoundOperator, SoundOperator, SoundEquals,
        SoundClearAll, SoundClearEntry, SoundBackspace, SoundMode, SoundMode, SoundMode};
    for (int k = 0; k < KeyCount; k++) {
        StartCalculator();
        EXPECT_EQ(ApplyKey(k), expected[k]) << "key " << KeyName(k);
    }
}

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

bool IsDisplayCharacter(WCHAR c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || c == u'.' || c == u'-' || c == u',';
}

// Random presses of enabled keys (as the stylus would give them) never leave the decimal value out
// of range without the error flag, and the display text always stays within its alphabet and length.
TEST(CalculatorProperties, RandomKeySequencesKeepTheInvariants)
{
    std::mt19937 random(20261207);
    for (int run = 0; run < 2000; run++) {
        StartCalculator();
        int presses = 1 + int(random() % 60);
        for (int i = 0; i < presses; i++) {
            int key = int(random() % KeyCount);
            if (keyStates[key] == Disabled) continue;
            ApplyKey(key);
            if (calcState.errorFlag == 0) {
                ASSERT_GE(calcState.decimalValue, -99999999.0);
                ASSERT_LE(calcState.decimalValue, 99999999.0);
                WCHAR text[DisplayTextMax + 1];
                int length = BuildDisplayText(&calcState, text);
                ASSERT_GE(length, 1);
                ASSERT_LE(length, DisplayTextMax);
                for (int c = 0; c < length; c++) ASSERT_TRUE(IsDisplayCharacter(text[c])) << run;
                if (calcState.radixMode != Dec) {
                    ASSERT_LE(length, 8);
                }
            } else {
                ASSERT_EQ(calcState.radixMode, Dec);
            }
        }
    }
}

}  // namespace
