#include "tests/support/calculator_fixture.h"

#include <random>

namespace {

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
