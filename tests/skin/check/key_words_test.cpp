// What the process tests of the skin tool reach only through their effects: key words, and the
// point where a press reaches a key.
#include "engine/calc_state.h"
#include "skin/check/key_words.h"

#include <gtest/gtest.h>

using namespace skintool;

namespace {

struct WordCase {
    const char* word;
    RadixMode mode;
    int key;     // -1: not a key word
    bool hold;
};

void PrintTo(const WordCase& c, std::ostream* out)
{
    *out << "\"" << c.word << "\" in mode " << int(c.mode);
}

class KeyWords : public ::testing::TestWithParam<WordCase> {};

TEST_P(KeyWords, NameTheKeyTheAuthorMeans)
{
    const WordCase& c = GetParam();
    KeyWord parsed = {-2, false};
    bool known = ParseKeyWord(c.word, c.mode, &parsed);
    EXPECT_EQ(known, c.key >= 0);
    if (!known) return;
    EXPECT_EQ(parsed.key, c.key);
    EXPECT_EQ(parsed.hold, c.hold);
}

INSTANTIATE_TEST_SUITE_P(
    Words, KeyWords,
    ::testing::Values(WordCase{"7", Dec, 2, false}, WordCase{"0", Bin, 5, false}, WordCase{"F", Hex, 12, false},
                      WordCase{"c", Hex, 13, false}, WordCase{"c", Dec, 23, false}, WordCase{"c", Bin, 23, false},
                      WordCase{"C", Dec, 23, false}, WordCase{"digit-c", Dec, 13, false}, WordCase{"ac", Hex, 23, false},
                      WordCase{"clear", Hex, 23, false}, WordCase{"ce", Dec, 24, false}, WordCase{"bs", Dec, 25, false},
                      WordCase{"+", Dec, 21, false}, WordCase{"-", Dec, 20, false}, WordCase{"*", Dec, 19, false},
                      WordCase{"x", Dec, 19, false}, WordCase{"/", Dec, 18, false}, WordCase{"=", Dec, 22, false},
                      WordCase{".", Dec, 11, false}, WordCase{"+/-", Dec, 17, false}, WordCase{"sign", Dec, 17, false},
                      WordCase{"hex", Dec, 26, false}, WordCase{"BIN", Dec, 28, false},
                      WordCase{"down:5", Dec, 9, true}, WordCase{"down:c", Dec, 23, true},
                      WordCase{"down:", Dec, -1, false}, WordCase{"g", Hex, -1, false}, WordCase{"10", Dec, -1, false},
                      WordCase{"up:5", Dec, -1, false}));

class PressPoints : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (Area& area : areas) area = Area{0, 0, 0, 0};
        ModeKeyStates(Dec, states);
    }
    Area areas[AreaCount];
    KeyState states[KeyCount];
};

TEST_F(PressPoints, TheCentreOfAFreeKey)
{
    areas[4] = Area{10, 20, 30, 10};
    FacePoint point;
    ASSERT_TRUE(FindPressPoint(4, states, areas, &point));
    EXPECT_EQ(point.x, 24);   // of the two middle columns 24 and 25, the first
    EXPECT_EQ(point.y, 24);
    EXPECT_EQ(KeyAtPoint(point.x, point.y, states, areas), 4);
}

TEST_F(PressPoints, AvoidTheLowerKeyThatCoversPartOfTheArea)
{
    areas[4] = Area{0, 0, 40, 40};    // digit 1 covers the left half of digit 2
    areas[10] = Area{20, 0, 40, 40};
    FacePoint point;
    ASSERT_TRUE(FindPressPoint(10, states, areas, &point));
    EXPECT_EQ(point.x, 40);
    EXPECT_EQ(KeyAtPoint(point.x, point.y, states, areas), 10);
    EXPECT_EQ(KeyAtPoint(39, point.y, states, areas), 4);
}

TEST_F(PressPoints, ADisabledKeyCoversNothing)
{
    areas[0] = Area{0, 0, 40, 40};    // digit D, disabled in decimal mode
    areas[2] = Area{0, 0, 40, 40};    // digit 7 at the same place
    FacePoint point;
    EXPECT_TRUE(FindPressPoint(2, states, areas, &point));
    ModeKeyStates(Hex, states);
    EXPECT_FALSE(FindPressPoint(2, states, areas, &point));
    EXPECT_EQ(KeyAtPoint(5, 5, states, areas), 0);
}

TEST_F(PressPoints, OnlyTheFaceCanBePressed)
{
    areas[4] = Area{230, 260, 40, 40};
    FacePoint point;
    ASSERT_TRUE(FindPressPoint(4, states, areas, &point));
    EXPECT_LT(point.x, FaceWidth);
    EXPECT_LT(point.y, FaceHeight);
    areas[4] = Area{-50, 0, 40, 40};
    EXPECT_FALSE(FindPressPoint(4, states, areas, &point));
    areas[4] = Area{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX};
    EXPECT_FALSE(FindPressPoint(4, states, areas, &point));
}

}  // namespace
