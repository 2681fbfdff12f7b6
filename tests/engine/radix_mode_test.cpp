#include "tests/support/calculator_fixture.h"

#include "engine/app_globals.h"
#include "platform/inspect.h"

namespace {

struct ModeCase {
    const char* keys;
    const char* display;
};
void PrintTo(const ModeCase& c, std::ostream* out) { *out << "\"" << c.keys << "\""; }
class ModeSwitch : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeSwitch, ConvertsTheValues)
{
    StartCalculator();
    Keys(GetParam().keys);
    EXPECT_EQ(DisplayText(), GetParam().display) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(Conversions, ModeSwitch, ::testing::Values(
    ModeCase{"1 2 3 4 point 5 6 hex", "4d2"},
    ModeCase{"1 2 3 4 point 5 6 hex dec", "1,234"},
    ModeCase{"hex f f f f f f f f dec", "94,967,295"},
    ModeCase{"hex 1 f f bin", "11111111"},
    ModeCase{"hex 1 f f bin hex", "ff"},
    ModeCase{"3 0 0 bin", "101100"},
    ModeCase{"bin 1 1 1 1 1 1 1 1 add 1 eq hex", "100"},
    ModeCase{"1 0 add hex f eq", "19"},
    ModeCase{"7 point hex dec 5", "75"},
    ModeCase{"1 point 5 dec 2", "1.52"},
    ModeCase{"1 sign hex", "ffffffff"},
    ModeCase{"1 2 sign hex", "fffffff4"},
    ModeCase{"1 sign bin", "11111111"},
    ModeCase{"5 sub 8 add hex 1 eq", "fffffffe"},
    ModeCase{"9 9 9 9 9 9 9 9 sign hex dec", "94,967,297"}));

TEST(RadixMode, StartsInDecimalWithTheLettersDisabled)
{
    StartCalculator();
    EXPECT_EQ(calcState.radixMode, Dec);
    for (int k = 0; k < KeyCount; k++) {
        KeyState expected = Up;
        if (k == 0 || k == 1 || k == 6 || k == 7 || k == 12 || k == 13) expected = Disabled;
        if (k == KeyDecMode) expected = Down;
        EXPECT_EQ(keyStates[k], expected) << "key " << k;
    }
}

TEST(RadixMode, KeyStatesPerMode)
{
    // For each mode, the keys that are not Up: Disabled ones and the mode key that is Down.
    struct {
        const char* key;
        std::vector<int> disabled;
        int down;
    } modes[] = {
        {"hex", {KeyPoint, KeySign}, KeyHexMode},
        {"bin", {0, 1, 2, 3, 6, 7, 8, 9, 10, KeyPoint, 12, 13, 14, 15, 16, KeySign}, KeyBinMode},
    };
    for (auto& mode : modes) {
        StartCalculator();
        Keys(mode.key);
        for (int k = 0; k < KeyCount; k++) {
            bool disabled = std::find(mode.disabled.begin(), mode.disabled.end(), k) != mode.disabled.end();
            KeyState expected = k == mode.down ? Down : disabled ? Disabled : Up;
            EXPECT_EQ(keyStates[k], expected) << mode.key << " key " << k;
        }
    }
}

TEST(RadixMode, CurrentModeKeyChangesNothing)
{
    StartCalculator();
    Keys("1 point 5");
    ClearInvalidateLog();
    Keys("dec");
    EXPECT_EQ(calcState.fractionStep, 0.1 * 0.1);
    EXPECT_EQ(calcState.decimalValue, 1.5);
    EXPECT_TRUE(InvalidateLog().empty());
}

TEST(RadixMode, SwitchRepaintsTheWholeWindow)
{
    StartCalculator();
    ClearInvalidateLog();
    Keys("bin");
    ASSERT_EQ(InvalidateLog().size(), 1u);
    EXPECT_TRUE(InvalidateLog()[0].whole);
    EXPECT_EQ(InvalidateLog()[0].window, mainWindow);
}

TEST(RadixMode, PendingOperationAndResultSurviveTheSwitch)
{
    StartCalculator();
    Keys("6 mul");
    Keys("bin");
    EXPECT_EQ(calcState.pendingOp, OpMultiply);
    EXPECT_EQ(calcState.operatorEntered, 1);
    Keys("1 1 eq");
    EXPECT_EQ(calcState.integerValue, 18u);
}

}  // namespace
