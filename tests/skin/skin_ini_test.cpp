#include "platform/faults.h"
#include "platform/inspect.h"
#include "platform/unicode.h"
#include "skin/skin_ini.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr WCHAR Untouched = 0xAAAA;

class SkinIni : public ::testing::Test {
protected:
    void TearDown() override
    {
        ClearFaults();
        EXPECT_EQ(OpenWideFileCount(), openBefore_) << "the skin file was left open";
    }

    // Output in a field of exactly SkinFieldSize units on the heap, so an overrun is caught.
    std::u16string Lookup(const std::u16string& section, const std::u16string& key,
                          const std::u16string& path, const std::u16string& defaultText = u"---")
    {
        std::vector<WCHAR> output(SkinFieldSize, Untouched);
        ReadSkinValue(section.c_str(), key.c_str(), defaultText.c_str(), output.data(), path.c_str());
        return std::u16string(output.data());
    }
    std::u16string LookupIn(const std::string& content, const std::u16string& section, const std::u16string& key)
    {
        dir_.Write("test.skn", content);
        return Lookup(section, key, dir_.DevicePath("test.skn"));
    }

    TempDir dir_;
    int openBefore_ = OpenWideFileCount();
};

struct LookupCase {
    const char* name;
    std::string content;
    std::u16string section;
    std::u16string key;
    std::u16string expected;
};

void PrintTo(const LookupCase& c, std::ostream* out)
{
    *out << c.name;
}

class SkinIniLookups : public SkinIni, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(SkinIniLookups, FindTheValueOrLeaveTheDefault)
{
    EXPECT_EQ(LookupIn(GetParam().content, GetParam().section, GetParam().key), GetParam().expected);
}

std::string Repeat(char c, size_t count)
{
    return std::string(count, c);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, SkinIniLookups, ::testing::Values(
    LookupCase{"PlainValue", "[FILE]\nBACKIMAGE=back.bmp\nPARTSIMAGE=parts.bmp\n", u"FILE", u"PARTSIMAGE", u"parts.bmp"},
    LookupCase{"LastLineWithoutLineFeed", "[FILE]\nBACKIMAGE=back.bmp", u"FILE", u"BACKIMAGE", u"back.bmp"},
    LookupCase{"NoSuchSection", "[AREA]\nBACKIMAGE=back.bmp\n", u"FILE", u"BACKIMAGE", u"---"},
    LookupCase{"NoSuchKey", "[FILE]\nBACKIMAGE=back.bmp\n", u"FILE", u"PARTSIMAGE", u"---"},
    LookupCase{"EmptyFile", "", u"FILE", u"BACKIMAGE", u"---"},
    LookupCase{"HeaderFollowedByBlanksAndTab", "[FILE]  \t\nK=v\n", u"FILE", u"K", u"v"},
    LookupCase{"HeaderWithCarriageReturnLineFeed", "[FILE]\r\nK=v\r\n", u"FILE", u"K", u"v"},
    LookupCase{"HeaderFollowedByLoneCarriageReturn", "[FILE]\r \nK=v\n", u"FILE", u"K", u"---"},
    LookupCase{"HeaderBeginningWithBlank", " [FILE]\nK=v\n", u"FILE", u"K", u"---"},
    LookupCase{"HeaderInOtherCase", "[file]\nK=v\n", u"FILE", u"K", u"---"},
    LookupCase{"HeaderWithTextAfterIt", "[FILE]x\nK=v\n", u"FILE", u"K", u"---"},
    LookupCase{"BlanksAroundEquals", "[S]\nKEY \t= value\n", u"S", u"KEY", u" value"},
    LookupCase{"KeyBeginningWithBlank", "[S]\n KEY=v\n", u"S", u"KEY", u"---"},
    LookupCase{"KeyInOtherCase", "[S]\nkey=v\n", u"S", u"KEY", u"---"},
    LookupCase{"KeyIsOnlyAPrefix", "[S]\nKEY1=a\nKEY=b\n", u"S", u"KEY", u"b"},
    LookupCase{"EmptyValue", "[S]\nKEY=\nKEY=late\n", u"S", u"KEY", u""},
    LookupCase{"ValueOfBlanksOnly", "[S]\nKEY= \t \n", u"S", u"KEY", u""},
    LookupCase{"ValueKeepsLeadingBlanks", "[S]\nKEY=  v  \n", u"S", u"KEY", u"  v"},
    LookupCase{"RemarkAfterBlanks", "[S]\nKEY=back.bmp  \t# the background\n", u"S", u"KEY", u"back.bmp"},
    LookupCase{"SeveralRemarkSigns", "[S]\nKEY=v#a#b\n", u"S", u"KEY", u"v"},
    LookupCase{"OnlyARemark", "[S]\nKEY=# nothing\n", u"S", u"KEY", u""},
    LookupCase{"FurtherEqualsStay", "[S]\nKEY=a=b==c\n", u"S", u"KEY", u"a=b==c"},
    LookupCase{"ValueThatIsTheDefault", "[S]\nKEY=---\n", u"S", u"KEY", u"---"},
    LookupCase{"CarriageReturnIsNoBlank", "[S]\nKEY=v\r \n", u"S", u"KEY", u"v\r"},
    LookupCase{"LinesWithoutEqualsAreSkipped", "[S]\nnonsense\n\nKEY=v\n", u"S", u"KEY", u"v"},
    LookupCase{"FirstMatchWins", "[S]\nKEY=1\nKEY=2\n", u"S", u"KEY", u"1"},
    LookupCase{"LinesBeforeTheHeaderAreIgnored", "KEY=0\n[T]\nKEY=t\n[S]\nKEY=s\n", u"S", u"KEY", u"s"},
    LookupCase{"OtherHeaderEndsTheSection", "[S]\n[T]\nKEY=v\n", u"S", u"KEY", u"---"},
    LookupCase{"BareBracketEndsTheSection", "[S]\n[\nKEY=v\n", u"S", u"KEY", u"---"},
    LookupCase{"BracketAfterBlanksIsAKeyLine", "[S]\n  [T]\nKEY=v\n", u"S", u"KEY", u"v"},
    LookupCase{"BracketedKeyLine", "[S]\n  [T]=x\n", u"S", u"  [T]", u"x"},
    LookupCase{"SecondOccurrenceOfSectionIsNeverRead", "[S]\nA=1\n[T]\nB=t\n[S]\nB=2\n", u"S", u"B", u"---"},
    LookupCase{"FirstOccurrenceOfSectionIsRead", "[S]\nA=1\n[T]\n[S]\nA=2\n", u"S", u"A", u"1"},
    LookupCase{"Utf8Text", "[\xE3\x82\xB9]\n\xE3\x82\xAD=\xE3\x83\xB3\n", u"ス", u"キ", u"ン"},
    LookupCase{"CodePage932Text", "[\x83\x58]\r\n\x83\x4C=\x83\x93\r\n", u"ス", u"キ", u"ン"},
    LookupCase{"Utf16Text", std::string("\xFF\xFE[\0S\0]\0\n\0K\0=\0v\0", 16), u"S", u"K", u"v"},
    LookupCase{"ByteOrderMarkIsSkipped", "\xEF\xBB\xBF[S]\nK=v\n", u"S", u"K", u"v"},
    // A physical line of 300 units is read as 259 units, then 41 units and the line feed; the
    // second piece is a line of its own.
    LookupCase{"PieceOfLongLineEndsTheSection", "[S]\n" + Repeat('a', 259) + "[T]" + Repeat('x', 38) + "\nKEY=v\n", u"S", u"KEY", u"---"},
    LookupCase{"PieceOfLongLineIsAKeyLine", "[S]\n" + Repeat('a', 259) + "KEY=tail" + Repeat(' ', 33) + "\n", u"S", u"KEY", u"tail"},
    LookupCase{"PieceOfLongLineIsAHeader", Repeat('a', 259) + "[S]" + Repeat(' ', 38) + "\nKEY=v\n", u"S", u"KEY", u"v"},
    LookupCase{"LongValueIsCutAtTheLine", "[S]\nK=" + Repeat('v', 300) + "\n", u"S", u"K", std::u16string(257, u'v')}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

TEST_F(SkinIni, MissingFileLeavesTheDefault)
{
    EXPECT_EQ(Lookup(u"FILE", u"BACKIMAGE", dir_.DevicePath("missing.skn")), u"---");
    EXPECT_EQ(Lookup(u"FILE", u"BACKIMAGE", dir_.DevicePath("missing.skn"), u"fallback"), u"fallback");
}

TEST_F(SkinIni, FailedOpenLeavesTheDefault)
{
    dir_.Write("test.skn", "[S]\nK=v\n");
    FailNextCalls("_wfopen", 1);
    EXPECT_EQ(Lookup(u"S", u"K", dir_.DevicePath("test.skn")), u"---");
    EXPECT_EQ(Lookup(u"S", u"K", dir_.DevicePath("test.skn")), u"v");
}

TEST_F(SkinIni, EveryLookupReadsTheFileAfresh)
{
    EXPECT_EQ(LookupIn("[S]\nK=first\n", u"S", u"K"), u"first");
    EXPECT_EQ(LookupIn("[S]\nK=second\n", u"S", u"K"), u"second");
    EXPECT_EQ(LookupIn("[T]\nK=third\n", u"S", u"K"), u"---");
}

TEST_F(SkinIni, OverlongDefaultIsCutToTheField)
{
    dir_.Write("test.skn", "");
    std::u16string longDefault(400, u'd');
    EXPECT_EQ(Lookup(u"S", u"K", dir_.DevicePath("test.skn"), longDefault), std::u16string(259, u'd'));
}

// "[" + section + "]" fills a line of 259 units for a section of 257; one more can never match.
TEST_F(SkinIni, SectionNamesUpToTheLineLengthCanMatch)
{
    std::string name257 = Repeat('s', 257);
    dir_.Write("test.skn", "[" + name257 + "]\nK=v\n");
    EXPECT_EQ(Lookup(std::u16string(257, u's'), u"K", dir_.DevicePath("test.skn")), u"v");

    std::string name258 = Repeat('s', 258);
    dir_.Write("test.skn", "[" + name258 + "]\nK=v\n");
    EXPECT_EQ(Lookup(std::u16string(258, u's'), u"K", dir_.DevicePath("test.skn")), u"---");
    EXPECT_EQ(Lookup(std::u16string(1000, u's'), u"K", dir_.DevicePath("test.skn")), u"---");
}

struct TrimCase {
    std::u16string text;
    std::u16string trimmed;
};

TEST(TrimTrailingBlanks, RemovesSpaceTabAndLineFeedFromTheEndOnly)
{
    const TrimCase cases[] = {
        {u"abc  \t\n", u"abc"}, {u"  abc", u"  abc"}, {u"", u""},           {u" \t\n", u""},
        {u"a\r\n", u"a\r"},     {u"a b \n ", u"a b"}, {u"a\u3000", u"a\u3000"}, {u"\ta\t", u"\ta"},
        {u"a\v\f", u"a\v\f"},
    };
    for (const auto& c : cases) {
        std::vector<WCHAR> field(c.text.begin(), c.text.end());
        field.push_back(0);
        TrimTrailingBlanks(field.data());
        EXPECT_EQ(std::u16string(field.data()), c.trimmed) << Utf8FromUtf16(c.text);
        for (size_t i = c.trimmed.size(); i < field.size(); ++i) EXPECT_EQ(field[i], 0) << Utf8FromUtf16(c.text);
    }
}

struct SplitCase {
    std::u16string line;
    std::u16string key;
    std::u16string value;
    std::u16string lineAfter;
};

TEST(SplitKeyValue, SplitsAtTheFirstEqualsSign)
{
    const SplitCase cases[] = {
        {u"K=v\n", u"K", u"v\n", u"K"},
        {u" K \t= v \n", u" K \t", u" v \n", u" K \t"},
        {u"a=b=c", u"a", u"b=c", u"a"},
        {u"=v", u"", u"v", u""},
        {u"K=", u"K", u"", u"K"},
        {u"no equals\n", u"", u"", u"no equals\n"},
        {u"", u"", u"", u""},
    };
    for (const auto& c : cases) {
        std::vector<WCHAR> line(SkinFieldSize, 0);
        std::copy(c.line.begin(), c.line.end(), line.begin());
        std::vector<WCHAR> key(SkinFieldSize, u'?');
        std::vector<WCHAR> value(SkinFieldSize, u'?');
        SplitKeyValue(line.data(), key.data(), value.data());
        EXPECT_EQ(std::u16string(key.data()), c.key) << Utf8FromUtf16(c.line);
        EXPECT_EQ(std::u16string(value.data()), c.value) << Utf8FromUtf16(c.line);
        EXPECT_EQ(std::u16string(line.data()), c.lineAfter) << Utf8FromUtf16(c.line);
    }
}

TEST(SplitKeyValue, FillsFieldsFromAFullLine)
{
    std::vector<WCHAR> line(SkinFieldSize, u'v');
    line[258] = u'=';
    line[259] = 0;
    std::vector<WCHAR> key(SkinFieldSize), value(SkinFieldSize);
    SplitKeyValue(line.data(), key.data(), value.data());
    EXPECT_EQ(std::u16string(key.data()), std::u16string(258, u'v'));
    EXPECT_EQ(std::u16string(value.data()), u"");
}

}  // namespace
