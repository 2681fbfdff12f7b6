// The skin tool's parts that the process tests reach only through their effects: key words, the
// point where a press reaches a key, and the line-numbered view of a skin file.
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

#include "engine/calc_state.h"
#include "platform/host_paths.h"
#include "tools/skin_tool/key_words.h"
#include "tools/skin_tool/skin_source.h"

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

class SourceView : public ::testing::Test {
protected:
    SkinSource Scan(const std::string& bytes)
    {
        std::string path = dir.HostPath("view.skn");
        WriteFile(path, bytes);
        return ScanSkinSource(DevicePathFromHost(path), bytes);
    }
    TempDir dir;
};

TEST_F(SourceView, KeysCarryTheLinesTheyAreOn)
{
    SkinSource source = Scan("; remark\r\n[FILE]\r\nBACKIMAGE = back.bmp  # picture\r\n\r\nPARTSIMAGE=parts.bmp\r\n"
                             "[AREA]\r\nAREA01=1,2,3,4\r\n");
    SectionView file = ViewSection(source, u"FILE");
    EXPECT_EQ(file.headerLine, 2);
    ASSERT_EQ(file.keys.size(), 2u);
    EXPECT_EQ(file.keys[0].line, 3);
    EXPECT_EQ(file.keys[0].key, u"BACKIMAGE");
    EXPECT_EQ(file.keys[0].value, u" back.bmp");
    EXPECT_EQ(file.keys[1].line, 5);
    EXPECT_EQ(ViewSection(source, u"AREA").keys.at(0).line, 7);
    EXPECT_EQ(ViewSection(source, u"SOUND").headerLine, 0);
}

TEST_F(SourceView, ALongLineKeepsItsNumberAndItsRestIsALineOfItsOwn)
{
    std::string longRemark = "; " + std::string(300, 'x') + "[AREA]\n";
    SkinSource source = Scan("[AREA]\n" + longRemark + "AREA01=1,2,3,4\n");
    EXPECT_EQ(source.longLines, std::vector<int>{2});
    SectionView area = ViewSection(source, u"AREA");
    ASSERT_EQ(area.keys.size(), 1u);
    EXPECT_EQ(area.keys[0].line, 3);
}

TEST_F(SourceView, OnlyTheFirstOfRepeatedSectionsIsRead)
{
    SkinSource source = Scan("[AREA]\nAREA01=1,2,3,4\n[AREA]\nAREA02=5,6,7,8\njunk\n");
    SectionView area = ViewSection(source, u"AREA");
    ASSERT_EQ(area.keys.size(), 1u);
    EXPECT_EQ(area.repeatedHeaders, std::vector<int>{3});
    ASSERT_EQ(area.unreadKeys.size(), 1u);
    EXPECT_EQ(area.unreadKeys[0].line, 4);
    EXPECT_TRUE(area.linesWithoutEquals.empty());
}

TEST_F(SourceView, HeadersThatTheReaderDoesNotTake)
{
    SkinSource source = Scan("[file]\n  [FILE]\n[FILE] ; images\n[FILE]\r\r\n[FILES]\n");
    std::vector<NearHeader> near = NearHeaders(source, u"FILE");
    ASSERT_EQ(near.size(), 4u);
    EXPECT_EQ(near[0].line, 1);
    EXPECT_NE(near[0].problem.find("letter case"), std::string::npos);
    EXPECT_NE(near[1].problem.find("begins with blanks"), std::string::npos);
    EXPECT_NE(near[2].problem.find("text follows"), std::string::npos);
    EXPECT_EQ(near[3].line, 4);   // text mode drops only the carriage return before the line feed
    EXPECT_NE(near[3].problem.find("carriage return"), std::string::npos);
    EXPECT_EQ(source.loneReturnLines, std::vector<int>{4});
}

TEST_F(SourceView, EncodingTroubleIsFoundByLine)
{
    SkinSource shiftJis = Scan("[FILE]\n; \x83\x58\x83\x4c\n");
    EXPECT_EQ(shiftJis.encoding, SkinEncoding::CodePage932);
    EXPECT_TRUE(shiftJis.undecodedLines.empty());
    SkinSource broken = Scan("[FILE]\nBACKIMAGE=a\x80.bmp\n");
    EXPECT_EQ(broken.undecodedLines, std::vector<int>{2});
    SkinSource wide = Scan(std::string("[\0F\0\n\0", 6));
    EXPECT_EQ(wide.nulLines, (std::vector<int>{1, 2}));   // the NUL after the line feed is on line 2
    SkinSource marked = Scan(std::string("\xFF\xFE[\0F\0\n\0x\0", 10));
    EXPECT_EQ(marked.encoding, SkinEncoding::Utf16Le);
    EXPECT_TRUE(marked.nulLines.empty());
    ASSERT_EQ(marked.pieces.size(), 2u);
    EXPECT_EQ(marked.pieces[1].line, 2);
}

}  // namespace
