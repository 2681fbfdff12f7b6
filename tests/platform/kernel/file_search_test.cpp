#include "platform/faults.h"
#include "platform/files.h"
#include "platform/unicode.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class FileSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"b.skn", "a.skn", "C.SKN", "ab.skn", "notes.txt", "x.sknx", "skn", "A b.skn"}) {
            dir_.Write(name, std::string(std::strlen(name), 'z'));
        }
        dir_.MakeDirectory("sub.skn");
    }
    void TearDown() override { ClearFaults(); }

    std::u16string Pattern(const std::u16string& last) const { return dir_.DevicePath() + u"\\" + last; }

    // The names FindFirstFileW and FindNextFileW deliver, in order; closes the search.
    std::vector<std::u16string> Names(const std::u16string& pattern)
    {
        std::vector<std::u16string> names;
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW(pattern.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) return names;
        do names.emplace_back(data.cFileName);
        while (FindNextFileW(search, &data));
        EXPECT_EQ(FindClose(search), TRUE);
        return names;
    }

    TempDir dir_;
};

struct PatternCase {
    std::u16string pattern;
    std::vector<std::u16string> names;
};

TEST_F(FileSearch, DeliversMatchingNamesSortedByCodeUnits)
{
    const PatternCase cases[] = {
        {u"*.skn", {u"A b.skn", u"C.SKN", u"a.skn", u"ab.skn", u"b.skn", u"sub.skn"}},
        {u"*.SKN", {u"A b.skn", u"C.SKN", u"a.skn", u"ab.skn", u"b.skn", u"sub.skn"}},
        {u"**.skn", {u"A b.skn", u"C.SKN", u"a.skn", u"ab.skn", u"b.skn", u"sub.skn"}},
        {u"?.skn", {u"C.SKN", u"a.skn", u"b.skn"}},
        {u"a*", {u"A b.skn", u"a.skn", u"ab.skn"}},
        {u"*b*", {u"A b.skn", u"ab.skn", u"b.skn", u"sub.skn"}},
        {u"*a*b*", {u"A b.skn", u"ab.skn"}},
        {u"*.skn?", {u"x.sknx"}},
        {u"*skn", {u"A b.skn", u"C.SKN", u"a.skn", u"ab.skn", u"b.skn", u"skn", u"sub.skn"}},
        {u"a.skn", {u"a.skn"}},
        {u"*", {u"A b.skn", u"C.SKN", u"a.skn", u"ab.skn", u"b.skn", u"notes.txt", u"skn", u"sub.skn", u"x.sknx"}},
        {u"*.sk", {}},
        {u"?", {}},
        {u"missing.skn", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Names(Pattern(c.pattern)), c.names) << Utf8FromUtf16(c.pattern);
    }
}

TEST_F(FileSearch, ReportsSizeAndKindOfEachEntry)
{
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(Pattern(u"s*").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::u16string(data.cFileName), u"skn");
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(data.nFileSizeLow, 3u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    ASSERT_EQ(FindNextFileW(search, &data), TRUE);
    EXPECT_EQ(std::u16string(data.cFileName), u"sub.skn");
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FindNextFileW(search, &data), FALSE);
    EXPECT_EQ(FindNextFileW(search, &data), FALSE);
    EXPECT_EQ(FindClose(search), TRUE);
    EXPECT_EQ(FindClose(search), FALSE);
    EXPECT_EQ(FindNextFileW(search, &data), FALSE);
}

TEST_F(FileSearch, NothingToDeliverGivesAnInvalidHandle)
{
    const std::u16string patterns[] = {
        Pattern(u"*.bmp"),
        dir_.DevicePath("missing") + u"\\*.skn",
        dir_.DevicePath("a.skn") + u"\\*",   // a file, not a directory
        dir_.DevicePath() + u"\\s*b.skn\\*",  // wildcards only in the last component
        Pattern(u""),
    };
    for (const auto& pattern : patterns) {
        WIN32_FIND_DATAW data;
        EXPECT_EQ(FindFirstFileW(pattern.c_str(), &data), INVALID_HANDLE_VALUE);
    }
}

TEST_F(FileSearch, NamesTheDeviceCannotUseAreSkipped)
{
    dir_.Write("bad\xFF.skn", "x");        // not UTF-8
    dir_.Write("back\\slash.skn", "x");    // would read as a directory on the device
    dir_.Write("\xE9\x9B\xBB\xE5\x8D\x93.skn", "x");
    EXPECT_EQ(Names(Pattern(u"*.skn")),
              (std::vector<std::u16string>{u"A b.skn", u"C.SKN", u"a.skn", u"ab.skn", u"b.skn", u"sub.skn", u"電卓.skn"}));
}

TEST_F(FileSearch, SearchesRunIndependently)
{
    WIN32_FIND_DATAW first, second;
    HANDLE one = FindFirstFileW(Pattern(u"?.skn").c_str(), &first);
    HANDLE two = FindFirstFileW(Pattern(u"a*").c_str(), &second);
    ASSERT_NE(one, INVALID_HANDLE_VALUE);
    ASSERT_NE(two, INVALID_HANDLE_VALUE);
    EXPECT_NE(one, two);
    ASSERT_EQ(FindNextFileW(one, &first), TRUE);
    EXPECT_EQ(std::u16string(first.cFileName), u"a.skn");
    EXPECT_EQ(FindClose(one), TRUE);
    ASSERT_EQ(FindNextFileW(two, &second), TRUE);
    EXPECT_EQ(std::u16string(second.cFileName), u"a.skn");
    EXPECT_EQ(FindClose(two), TRUE);
}

TEST_F(FileSearch, InjectedFailureFindsNothingOnce)
{
    FailNextCalls("FindFirstFileW", 1);
    WIN32_FIND_DATAW data;
    EXPECT_EQ(FindFirstFileW(Pattern(u"*.skn").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Names(Pattern(u"a.skn")), std::vector<std::u16string>{u"a.skn"});
}

}  // namespace
