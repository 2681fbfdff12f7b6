// The line-numbered view of a skin file that the skin tool's findings point into.
#include "tests/support/temp_dir.h"
#include "skin/check/skin_source.h"

#include <gtest/gtest.h>

using namespace skintool;

namespace {

class SourceView : public ::testing::Test {
protected:
    SkinSource Scan(const std::string& bytes)
    {
        dir.Write("view.skn", bytes);
        return ScanSkinSource(dir.DevicePath("view.skn"), bytes);
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
