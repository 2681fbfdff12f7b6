#include "tests/support/calculator_fixture.h"

#include <cmath>
#include <cstring>

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

}  // namespace
