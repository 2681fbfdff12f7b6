#include "tests/support/calculator_fixture.h"

#include <cmath>

namespace {

struct DecimalCase {
    double value;
    double fractionStep;
    const char* text;
};
void PrintTo(const DecimalCase& c, std::ostream* out) { *out << "\"" << c.text << "\""; }

class DecimalDisplay : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalDisplay, FormatsTheValue)
{
    CalcState state = {Dec, GetParam().value, 0, 0, 0, GetParam().fractionStep, OpNone, 0, 0};
    WCHAR text[DisplayTextMax + 1];
    int length = BuildDisplayText(&state, text);
    EXPECT_EQ(std::string(text, text + length), GetParam().text);
    EXPECT_EQ(text[length], 0);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, DecimalDisplay, ::testing::Values(
    DecimalCase{0, 0, "0"},
    DecimalCase{0, 0.1, "0."},
    DecimalCase{0, 0.1 * 0.1, "0.0"},
    DecimalCase{0, 0.1 * 0.1 * 0.1, "0.00"},
    DecimalCase{0, 0.000001, "0.00000"},
    DecimalCase{0, 0.0000001, "0.000000"},
    DecimalCase{-0.0, 0.1, "0."},
    DecimalCase{-0.0, 0, "-0"},
    DecimalCase{5, 0.1, "5"},
    DecimalCase{5, 0.01, "5"},
    DecimalCase{5.05, 0.001, "5.05"},
    DecimalCase{0.5, 0.001, "0.5"},
    DecimalCase{100, 0, "100"},
    DecimalCase{999, 0, "999"},
    DecimalCase{1000, 0, "1,000"},
    DecimalCase{-1000, 0, "-1,000"},
    DecimalCase{999999, 0, "999,999"},
    DecimalCase{-123456, 0, "-123,456"},
    DecimalCase{1234567, 0, "1,234,567"},
    DecimalCase{-1234.5, 0, "-1,234.5"},
    DecimalCase{99999999, 0, "99,999,999"},
    DecimalCase{-99999999, 0, "-99,999,999"},
    DecimalCase{1.0 / 3, 0, "0.333333"},
    DecimalCase{2.0 / 3, 0, "0.666667"},
    DecimalCase{411522.3333333, 0, "411,522.333333"},
    DecimalCase{12345678.123456, 0, "12,345,678.123456"},
    DecimalCase{-12345678.123456, 0, "-12,345,678.123456"},
    DecimalCase{-0.00000033, 0, "-0"},
    DecimalCase{0.0000006, 0, "0.000001"},
    DecimalCase{0.0000004, 0, "0"},
    DecimalCase{1000000.5, 0, "1,000,000.5"}));

struct IntegerCase {
    RadixMode mode;
    uint32_t value;
    const char* text;
};
void PrintTo(const IntegerCase& c, std::ostream* out) { *out << "\"" << c.text << "\""; }

class IntegerDisplay : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerDisplay, FormatsTheValue)
{
    CalcState state = {GetParam().mode, 0, GetParam().value, 0, 0, 0, OpNone, 0, 0};
    WCHAR text[DisplayTextMax + 1];
    int length = BuildDisplayText(&state, text);
    EXPECT_EQ(std::string(text, text + length), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, IntegerDisplay, ::testing::Values(
    IntegerCase{Hex, 0, "0"},
    IntegerCase{Hex, 10, "a"},
    IntegerCase{Hex, 255, "ff"},
    IntegerCase{Hex, 43981, "abcd"},
    IntegerCase{Hex, 4294967295u, "ffffffff"},
    IntegerCase{Bin, 0, "0"},
    IntegerCase{Bin, 5, "101"},
    IntegerCase{Bin, 128, "10000000"},
    IntegerCase{Bin, 255, "11111111"},
    IntegerCase{Bin, 256, "00000000"},
    IntegerCase{Bin, 510, "11111110"},
    IntegerCase{Bin, 4294967295u, "11111111"}));

}  // namespace
