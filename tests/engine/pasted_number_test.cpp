#include "tests/support/calculator_fixture.h"

#include "engine/pasted_number.h"

#include <cstring>
#include <random>

namespace {

// Keys pressed before the paste (a mode key first picks the mode), the pasted text, keys pressed
// after it, and the display text then; null when the paste is refused and nothing changes.
struct Paste {
    const char* name;
    const char* before;
    const char16_t* text;
    const char* after;
    const char* shown;
};

class Pastes : public ::testing::TestWithParam<Paste> {};

TEST_P(Pastes, EnterTheNumberAsIfTypedOrChangeNothing)
{
    const Paste& p = GetParam();
    StartCalculator();
    Keys(p.before);
    CalcState before = calcState;
    int32_t result = PasteNumber(p.text);
    if (!p.shown) {
        EXPECT_EQ(result, 1);
        EXPECT_EQ(std::memcmp(&before, &calcState, sizeof before), 0) << "a refused paste changed the state";
        return;
    }
    EXPECT_EQ(result, 0);
    Keys(p.after);
    EXPECT_EQ(DisplayText(), p.shown);
}

INSTANTIATE_TEST_SUITE_P(Clipboard, Pastes, ::testing::Values(
    Paste{"Integer", "", u"1234", "", "1,234"},
    Paste{"NegativeFraction", "", u"-1234.5", "", "-1,234.5"},
    Paste{"BlanksAroundAndSeparatorsBetweenDigits", "", u" \t1,234_567'8 \n", "", "12,345,678"},
    Paste{"EightIntegerAndOneFractionDigit", "", u"12345678.5", "", "12,345,678.5"},
    Paste{"SixFractionDigits", "", u"0.000123", "", "0.000123"},
    Paste{"ZerosAfterThePointShowAsTyped", "", u"0.00", "", "0.00"},
    Paste{"LeadingZerosDoNotCount", "", u"000000000012", "", "12"},
    Paste{"PointFirst", "", u".5", "", "0.5"},
    Paste{"NegativeZero", "", u"-0", "", "-0"},
    Paste{"HexadecimalWithPrefix", "hex", u"0XfF", "", "ff"},
    Paste{"EightHexadecimalDigits", "hex", u"DeadBeef", "", "deadbeef"},
    Paste{"BinaryWithPrefix", "bin", u"0b1010", "", "1010"},
    Paste{"AfterAnOperatorTheRightOperand", "5 add", u"3", "eq", "8"},
    Paste{"AfterEqualsANewCalculation", "5 add 3 eq", u"2", "add 1 eq", "3"},
    Paste{"ReplacesTheNumberBeingTyped", "9 9", u"1", "", "1"},
    Paste{"TypedDigitsExtendIt", "", u"1.5", "2", "1.52"},
    Paste{"NoDigitBeyondWhatTypingTakes", "", u"12345678.5", "1", "12,345,678.5"},
    Paste{"NineIntegerDigits", "", u"123456789", "", nullptr},
    Paste{"SevenFractionDigits", "", u"1.2345670", "", nullptr},
    Paste{"TwoPoints", "", u"1.2.3", "", nullptr},
    Paste{"Exponent", "", u"1e5", "", nullptr},
    Paste{"PlusSign", "", u"+5", "", nullptr},
    Paste{"MinusAlone", "", u"-", "", nullptr},
    Paste{"Blank", "", u" \n", "", nullptr},
    Paste{"SeparatorNotBetweenDigits", "", u"1_.5", "", nullptr},
    Paste{"SeparatorAtTheEnd", "", u"12,", "", nullptr},
    Paste{"HexadecimalDigitInDecimal", "", u"1f", "", nullptr},
    Paste{"Words", "", u"12 apples", "", nullptr},
    Paste{"MinusInHexadecimal", "hex", u"-1", "", nullptr},
    Paste{"NineHexadecimalDigits", "hex", u"123456789", "", nullptr},
    Paste{"PointInHexadecimal", "hex", u"1.5", "", nullptr},
    Paste{"PrefixAlone", "hex", u"0x", "", nullptr},
    Paste{"TwoInBinary", "bin", u"102", "", nullptr},
    Paste{"NineBinaryDigits", "bin", u"101010101", "", nullptr},
    Paste{"ErrorState", "9 9 9 9 9 9 9 9 add 1 eq", u"5", "", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Copy, clear all, paste shows what was shown, in every mode and every state but the error state.
// A binary value of 256 or more shows only its low 8 bits: pasted back, those are the number.
TEST(CopyAndPaste, GiveBackTheNumberShown)
{
    std::mt19937 random(20261211);
    for (int run = 0; run < 4000; run++) {
        StartCalculator();
        int presses = 1 + int(random() % 40);
        for (int i = 0; i < presses; i++) {
            int key = int(random() % KeyCount);
            if (keyStates[key] != Disabled) ApplyKey(key);
        }
        if (calcState.errorFlag == 1) continue;
        WCHAR copied[DisplayTextMax + 1];
        BuildCopyText(&calcState, copied);
        std::string shown = DisplayText();
        uint32_t lowBits = calcState.integerValue & 0xFF;
        bool cutBinary = calcState.radixMode == Bin && calcState.integerValue > 0xFF;
        ClearAll();
        ASSERT_EQ(PasteNumber(copied), 0) << shown << " run " << run;
        if (cutBinary) ASSERT_EQ(calcState.integerValue, lowBits) << shown;
        else ASSERT_EQ(DisplayText(), shown) << "run " << run;
    }
}

}  // namespace
