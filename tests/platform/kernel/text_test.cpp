#include "platform/text.h"
#include "platform/unicode.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr WCHAR Untouched = 0xAAAA;

// Buffers are filled with Untouched first, so a write past the terminator shows.
std::vector<WCHAR> FreshBuffer(size_t size)
{
    return std::vector<WCHAR>(size, Untouched);
}

void ExpectWritten(const std::vector<WCHAR>& buffer, int result, const std::u16string& expected)
{
    ASSERT_EQ(result, int(expected.size()));
    EXPECT_EQ(std::u16string(buffer.data()), expected);
    EXPECT_EQ(buffer[expected.size() + 1], Untouched) << "wrote past the terminator";
}

struct StringFormatCase {
    const char16_t* format;
    const char16_t* first;
    const char16_t* second;
    const char16_t* third;
    std::u16string expected;
};

void PrintTo(const StringFormatCase& c, std::ostream* out)
{
    *out << Utf8FromUtf16(c.format) << " -> " << Utf8FromUtf16(c.expected);
}

class WsprintfStrings : public ::testing::TestWithParam<StringFormatCase> {};

TEST_P(WsprintfStrings, FormatsTextArguments)
{
    const auto& c = GetParam();
    auto buffer = FreshBuffer(300);
    int result = wsprintfW(buffer.data(), c.format, c.first, c.second, c.third);
    ExpectWritten(buffer, result, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, WsprintfStrings, ::testing::Values(
    StringFormatCase{u"[%s]", u"FILE", nullptr, nullptr, u"[FILE]"},
    StringFormatCase{u"[%s]", u"", nullptr, nullptr, u"[]"},
    StringFormatCase{u"%sskin\\%s\\%s", u"\\apps\\calc\\", u"blue", u"back.bmp", u"\\apps\\calc\\skin\\blue\\back.bmp"},
    StringFormatCase{u"%sskin\\%s\\%s", u"", u"my.blue", u" lead.bmp", u"skin\\my.blue\\ lead.bmp"},
    StringFormatCase{u"%sskin\\default.skn", u"\\apps\\", nullptr, nullptr, u"\\apps\\skin\\default.skn"},
    StringFormatCase{u"%sskin\\default.skn", u"", nullptr, nullptr, u"skin\\default.skn"},
    StringFormatCase{u"%sskin\\*.skn", u"\\a\\", nullptr, nullptr, u"\\a\\skin\\*.skn"},
    StringFormatCase{u"%s%s", u"ab", u"cd", nullptr, u"abcd"},
    StringFormatCase{u"100%%", nullptr, nullptr, nullptr, u"100%"},
    StringFormatCase{u"%%s%s", u"x", nullptr, nullptr, u"%sx"},
    StringFormatCase{u"plain text", nullptr, nullptr, nullptr, u"plain text"},
    StringFormatCase{u"", nullptr, nullptr, nullptr, u""},
    StringFormatCase{u"スキンファイル[%s][%s]", u"AREA", u"AREA17", nullptr, u"スキンファイル[AREA][AREA17]"},
    StringFormatCase{u"%s", u"\U0001F600", nullptr, nullptr, u"\U0001F600"},
    StringFormatCase{u"<%s>", nullptr, nullptr, nullptr, u"<(null)>"}));

struct NumberFormatCase {
    const char16_t* format;
    int value;
    std::u16string expected;
};

void PrintTo(const NumberFormatCase& c, std::ostream* out)
{
    *out << Utf8FromUtf16(c.format) << " with " << c.value;
}

class WsprintfNumbers : public ::testing::TestWithParam<NumberFormatCase> {};

TEST_P(WsprintfNumbers, FormatsNumberArguments)
{
    const auto& c = GetParam();
    auto buffer = FreshBuffer(64);
    int result = wsprintfW(buffer.data(), c.format, c.value);
    ExpectWritten(buffer, result, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, WsprintfNumbers, ::testing::Values(
    NumberFormatCase{u"CHAR%03d", 1, u"CHAR001"},
    NumberFormatCase{u"CHAR%03d", 42, u"CHAR042"},
    NumberFormatCase{u"CHAR%03d", 112, u"CHAR112"},
    NumberFormatCase{u"CHAR%03d", 1000, u"CHAR1000"},
    NumberFormatCase{u"AREA%02d", 7, u"AREA07"},
    NumberFormatCase{u"AREA%02d", 43, u"AREA43"},
    NumberFormatCase{u"SOUND%02d", 9, u"SOUND09"},
    NumberFormatCase{u"SOUND%02d", 0, u"SOUND00"},
    NumberFormatCase{u"%d", 0, u"0"},
    NumberFormatCase{u"%d", 1, u"1"},
    NumberFormatCase{u"%d", -1, u"-1"},
    NumberFormatCase{u"%d", 1234567890, u"1234567890"},
    NumberFormatCase{u"%d", INT_MAX, u"2147483647"},
    NumberFormatCase{u"%d", INT_MIN, u"-2147483648"},
    NumberFormatCase{u"%03d", -5, u"-05"},
    NumberFormatCase{u"%02d", -5, u"-5"},
    NumberFormatCase{u"%d%%", 50, u"50%"},
    NumberFormatCase{u"%x", 0, u"0"},
    NumberFormatCase{u"%x", 255, u"ff"},
    NumberFormatCase{u"%x", 0x0ABCDEF1, u"abcdef1"},
    NumberFormatCase{u"%x", -1, u"ffffffff"},
    NumberFormatCase{u"[%x]", INT_MIN, u"[80000000]"}));

TEST(Wsprintf, MixesTextAndNumbersInArgumentOrder)
{
    auto buffer = FreshBuffer(64);
    int result = wsprintfW(buffer.data(), u"%s=%d,%x:%s", u"key", -7, 26, u"end");
    ExpectWritten(buffer, result, u"key=-7,1a:end");
}

// The device's wsprintfW never writes more than 1024 units, terminator included.
TEST(Wsprintf, StopsAtItsLimitWhateverTheArguments)
{
    std::u16string longText(3000, u'x');
    auto buffer = FreshBuffer(WsprintfMax + 100);
    int result = wsprintfW(buffer.data(), u"ab%s%d", longText.c_str(), 12345);
    EXPECT_EQ(result, WsprintfMax - 1);
    EXPECT_EQ(buffer[0], u'a');
    EXPECT_EQ(buffer[WsprintfMax - 2], u'x');
    EXPECT_EQ(buffer[WsprintfMax - 1], 0);
    EXPECT_EQ(buffer[WsprintfMax], Untouched);
}

TEST(WsprintfDeathTest, AbortsOnConversionsItDoesNotKnow)
{
    WCHAR buffer[64];
    for (const char16_t* format : {u"%f", u"%5d", u"%ls", u"%c", u"%u", u"%02x", u"%0d", u"%-3d", u"%"}) {
        EXPECT_DEATH(wsprintfW(buffer, format, 1), "not implemented: wsprintfW")
            << Utf8FromUtf16(format);
    }
}

constexpr int Unassigned = 7777;

struct ScanCase {
    const char16_t* input;
    const char16_t* format;
    int count;
    int values[4];
};

void PrintTo(const ScanCase& c, std::ostream* out)
{
    *out << '"' << Utf8FromUtf16(c.input) << "\" with " << Utf8FromUtf16(c.format);
}

class SwscanfCounts : public ::testing::TestWithParam<ScanCase> {};

TEST_P(SwscanfCounts, AssignsFieldsUntilTheFirstMismatch)
{
    const auto& c = GetParam();
    int values[4] = {Unassigned, Unassigned, Unassigned, Unassigned};
    int count = swscanf(c.input, c.format, &values[0], &values[1], &values[2], &values[3]);
    EXPECT_EQ(count, c.count);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(values[i], c.values[i]) << "field " << i;
}

constexpr const char16_t* Four = u"%d,%d,%d,%d";
constexpr int U = Unassigned;

INSTANTIATE_TEST_SUITE_P(Patterns, SwscanfCounts, ::testing::Values(
    ScanCase{u"1,2,3,4", Four, 4, {1, 2, 3, 4}},
    ScanCase{u"1,2,3", Four, 3, {1, 2, 3, U}},
    ScanCase{u"1 ,2,3,4", Four, 1, {1, U, U, U}},
    ScanCase{u" 5, 6,7,8", Four, 4, {5, 6, 7, 8}},
    ScanCase{u"\t\n 10,\r\v\f20,30,40", Four, 4, {10, 20, 30, 40}},
    ScanCase{u"-10,+20,-0,007", Four, 4, {-10, 20, 0, 7}},
    ScanCase{u"1,2,3,4,5", Four, 4, {1, 2, 3, 4}},
    ScanCase{u"1,2,3,4 # remark", Four, 4, {1, 2, 3, 4}},
    ScanCase{u"1,", Four, 1, {1, U, U, U}},
    ScanCase{u"1,x", Four, 1, {1, U, U, U}},
    ScanCase{u"1;2", Four, 1, {1, U, U, U}},
    ScanCase{u"1,- 2", Four, 1, {1, U, U, U}},
    ScanCase{u"abc", Four, 0, {U, U, U, U}},
    ScanCase{u"-,1,2,3", Four, 0, {U, U, U, U}},
    ScanCase{u",1,2,3", Four, 0, {U, U, U, U}},
    ScanCase{u"", Four, -1, {U, U, U, U}},
    ScanCase{u"   \t", Four, -1, {U, U, U, U}},
    ScanCase{u"12abc", u"%d", 1, {12, U, U, U}},
    ScanCase{u"  -42", u"%d", 1, {-42, U, U, U}},
    ScanCase{u"", u"x%d", -1, {U, U, U, U}},
    ScanCase{u"y5", u"x%d", 0, {U, U, U, U}},
    ScanCase{u"x5", u"x%d", 1, {5, U, U, U}},
    ScanCase{u"１", u"%d", 0, {U, U, U, U}},
    // Beyond 32 bits the number wraps modulo 2^32.
    ScanCase{u"2147483647", u"%d", 1, {INT_MAX, U, U, U}},
    ScanCase{u"2147483648", u"%d", 1, {INT_MIN, U, U, U}},
    ScanCase{u"-2147483648", u"%d", 1, {INT_MIN, U, U, U}},
    ScanCase{u"-2147483649", u"%d", 1, {INT_MAX, U, U, U}},
    ScanCase{u"4294967297", u"%d", 1, {1, U, U, U}},
    ScanCase{u"99999999999999999999", u"%d", 1, {1661992959, U, U, U}}));

TEST(SwscanfDeathTest, AbortsOnDirectivesItDoesNotKnow)
{
    int a = 0, b = 0;
    for (const char16_t* format : {u"%x", u"%s", u"%i", u"%2d", u"%d %d", u"%"}) {
        EXPECT_DEATH(swscanf(u"1 2", format, &a, &b), "not implemented: swscanf")
            << Utf8FromUtf16(format);
    }
}

TEST(WideStrings, LengthCountsCodeUnits)
{
    EXPECT_EQ(wcslen(u""), 0u);
    EXPECT_EQ(wcslen(u"abc"), 3u);
    EXPECT_EQ(wcslen(u"a\U0001F600"), 3u);
    EXPECT_EQ(wcslen(u"ab\0cd"), 2u);
}

TEST(WideStrings, CopyBringsTheTerminatorAndNothingMore)
{
    auto buffer = FreshBuffer(8);
    EXPECT_EQ(wcscpy(buffer.data(), u"abc"), buffer.data());
    EXPECT_EQ(std::u16string(buffer.data()), u"abc");
    EXPECT_EQ(buffer[3], 0);
    EXPECT_EQ(buffer[4], Untouched);
}

struct CompareCase {
    const char16_t* a;
    const char16_t* b;
    int sign;
};

TEST(WideStrings, CompareOrdersByUnsignedCodeUnits)
{
    const CompareCase cases[] = {
        {u"", u"", 0},        {u"abc", u"abc", 0}, {u"abc", u"abd", -1}, {u"abd", u"abc", 1},
        {u"ab", u"abc", -1},  {u"abc", u"ab", 1},  {u"B", u"a", -1},     {u"\uFF01", u"a", 1},
        {u"\U0001F600", u"\uFFFF", -1},
    };
    for (const auto& c : cases) {
        int result = wcscmp(c.a, c.b);
        int sign = (result > 0) - (result < 0);
        EXPECT_EQ(sign, c.sign) << Utf8FromUtf16(c.a) << " vs " << Utf8FromUtf16(c.b);
    }
}

TEST(WideStrings, CompareAtMostCountUnits)
{
    const struct {
        const char16_t* a;
        const char16_t* b;
        size_t count;
        int sign;
    } cases[] = {
        {u"abc", u"abd", 2, 0}, {u"abc", u"abd", 3, -1}, {u"--watch x", u"--watch", 7, 0},
        {u"--wat", u"--watch", 7, -1}, {u"ab", u"ab", 9, 0}, {u"\uFF01", u"a", 1, 1}, {u"a", u"b", 0, 0},
    };
    for (const auto& c : cases) {
        int result = wcsncmp(c.a, c.b, c.count);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << Utf8FromUtf16(c.a) << " vs " << Utf8FromUtf16(c.b);
    }
}

struct SearchCase {
    const char16_t* text;
    WCHAR c;
    int first;   // index, or -1 for none
};

TEST(WideStrings, SearchFindsTheFirstOccurrence)
{
    const SearchCase cases[] = {
        {u"a\\b\\c", u'\\', 1}, {u"abc", u'x', -1}, {u"abc", 0, 3},
        {u"", 0, 0},            {u"", u'a', -1},    {u"a.b.c.skn", u'.', 1},
    };
    for (const auto& c : cases) {
        auto index = [&](const WCHAR* found) { return found ? int(found - c.text) : -1; };
        EXPECT_EQ(index(wcschr(c.text, c.c)), c.first);
    }
}

}  // namespace
