#include "platform/faults.h"
#include "platform/files.h"
#include "platform/inspect.h"
#include "platform/text.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char16_t R = 0xFFFD;

class TextFiles : public ::testing::Test {
protected:
    void TearDown() override
    {
        ClearFaults();
        EXPECT_EQ(OpenWideFileCount(), openBefore_) << "a stream was left open";
    }

    // Every line as fgetws hands it out with the given capacity, until it reports the end.
    std::vector<std::u16string> ReadLines(const std::string& name, int capacity = MAX_PATH)
    {
        std::vector<std::u16string> lines;
        WFILE* file = _wfopen(dir_.DevicePath(name).c_str(), u"rt");
        if (!file) {
            ADD_FAILURE() << "cannot open " << name;
            return lines;
        }
        std::vector<WCHAR> buffer(size_t(capacity) + 1, 0xAAAA);
        while (fgetws(buffer.data(), capacity, file)) {
            lines.emplace_back(buffer.data());
            EXPECT_EQ(buffer[size_t(capacity)], 0xAAAA) << "wrote past the capacity";
        }
        fclose(file);
        return lines;
    }

    TempDir dir_;
    int openBefore_ = OpenWideFileCount();
};

struct EncodingCase {
    const char* name;
    std::string bytes;
    std::vector<std::u16string> lines;
};

void PrintTo(const EncodingCase& c, std::ostream* out)
{
    *out << c.name;
}

class TextFileEncodings : public TextFiles, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(TextFileEncodings, DecodeToTheSameLines)
{
    dir_.Write("skin.skn", GetParam().bytes);
    EXPECT_EQ(ReadLines("skin.skn"), GetParam().lines);
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values) bytes += char(v);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Encodings, TextFileEncodings, ::testing::Values(
    EncodingCase{"Utf16LittleEndianMark",
                 Bytes({0xFF, 0xFE, '[', 0, 'F', 0, ']', 0, '\r', 0, '\n', 0, 0xA2, 0x30, '=', 0, 0x3D, 0xD8, 0x00, 0xDE}),
                 {u"[F]\n", u"ア=\U0001F600"}},
    EncodingCase{"Utf16BigEndianMark",
                 Bytes({0xFE, 0xFF, 0, '[', 0, 'F', 0, ']', 0, '\r', 0, '\n', 0x30, 0xA2}),
                 {u"[F]\n", u"ア"}},
    EncodingCase{"Utf16OddLastByte", Bytes({0xFF, 0xFE, 'a', 0, 'b'}), {std::u16string{u'a', R}}},
    EncodingCase{"Utf16MarkOnly", Bytes({0xFF, 0xFE}), {}},
    EncodingCase{"Utf8Mark", "\xEF\xBB\xBF[FILE]\r\nA=\xE3\x82\xA2\r\n", {u"[FILE]\n", u"A=ア\n"}},
    EncodingCase{"Utf8MarkWithBadBytes", "\xEF\xBB\xBF" "a\xFF" "b\x83\x58", {std::u16string{u'a', R, u'b', R, u'X'}}},
    EncodingCase{"Utf8WithoutMark", "[FILE]\nA=\xE3\x82\xA2\n", {u"[FILE]\n", u"A=ア\n"}},
    EncodingCase{"Ascii", "K=v", {u"K=v"}},
    EncodingCase{"Empty", "", {}},
    EncodingCase{"CodePage932", "\x83\x58\x83\x4C\x83\x93=\\x~\r\n\x81\x60", {u"スキン=\\x~\n", u"\uFF5E"}},
    EncodingCase{"CodePage932HalfWidthKana", "\xB1\xB2=1\n", {u"\uFF71\uFF72=1\n"}},
    EncodingCase{"CodePage932BadBytes", "A\x80" "B\xA0\r\n", {std::u16string{u'A', R, u'B', R, u'\n'}}},
    EncodingCase{"CodePage932BadTrailByte", "\x81\x20x\x83\x58", {std::u16string{R, u' ', u'x', u'ス'}}},
    EncodingCase{"CodePage932CutAtTheEnd", "\x83\x58\x83", {std::u16string{u'ス', R}}},
    EncodingCase{"CarriageReturns", "a\r\nb\rc\r\r\nd\r", {u"a\n", u"b\rc\r\n", u"d\r"}},
    EncodingCase{"LineFeedsOnly", "\n\n", {u"\n", u"\n"}}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

TEST_F(TextFiles, LongLinesArriveInPiecesOfCapacityLessOne)
{
    dir_.Write("long.skn", std::string(300, 'x') + "\n" + std::string(259, 'y') + "\n" + std::string(258, 'z') + "\n" + "end");
    std::vector<std::u16string> expected = {
        std::u16string(259, u'x'), std::u16string(41, u'x') + u"\n",
        std::u16string(259, u'y'), u"\n",
        std::u16string(258, u'z') + u"\n",
        u"end",
    };
    EXPECT_EQ(ReadLines("long.skn"), expected);
}

TEST_F(TextFiles, CapacityOfOneGivesEmptyTextsUntilTheEnd)
{
    dir_.Write("a.skn", "ab");
    WFILE* file = _wfopen(dir_.DevicePath("a.skn").c_str(), u"rt");
    ASSERT_NE(file, nullptr);
    WCHAR buffer[4] = {u'q', u'q', u'q', u'q'};
    EXPECT_EQ(fgetws(buffer, 1, file), buffer);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], u'q');
    EXPECT_EQ(fgetws(buffer, 4, file), buffer);
    EXPECT_EQ(std::u16string(buffer), u"ab");
    EXPECT_EQ(fgetws(buffer, 4, file), nullptr);
    EXPECT_EQ(fgetws(buffer, 4, file), nullptr);
    fclose(file);
}

TEST_F(TextFiles, NulBytesAreReadAsUnits)
{
    dir_.Write("nul.skn", std::string("a\0b\nc", 5));
    WFILE* file = _wfopen(dir_.DevicePath("nul.skn").c_str(), u"rt");
    ASSERT_NE(file, nullptr);
    WCHAR buffer[MAX_PATH];
    ASSERT_EQ(fgetws(buffer, MAX_PATH, file), buffer);
    EXPECT_EQ(std::u16string(buffer, 5), (std::u16string{u'a', 0, u'b', u'\n', 0}));
    ASSERT_EQ(fgetws(buffer, MAX_PATH, file), buffer);
    EXPECT_EQ(std::u16string(buffer), u"c");
    EXPECT_EQ(fgetws(buffer, MAX_PATH, file), nullptr);
    fclose(file);
}

TEST_F(TextFiles, ManyLinesAndVeryLongLinesArriveWhole)
{
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "KEY" + std::to_string(i) + "=value\r\n";
    dir_.Write("many.skn", many);
    auto lines = ReadLines("many.skn");
    ASSERT_EQ(lines.size(), 100000u);
    EXPECT_EQ(lines[0], u"KEY0=value\n");
    EXPECT_EQ(lines[99999], u"KEY99999=value\n");

    std::string longLine = std::string(10000, 'a') + "\n";
    dir_.Write("wide.skn", longLine + longLine + longLine);
    std::u16string joined;
    size_t pieces = 0;
    for (const auto& piece : ReadLines("wide.skn")) {
        EXPECT_LE(piece.size(), 259u);
        joined += piece;
        ++pieces;
    }
    EXPECT_EQ(pieces, 3 * 39u);   // 10,001 units in pieces of at most 259
    std::string whole = longLine + longLine + longLine;
    EXPECT_EQ(joined, std::u16string(whole.begin(), whole.end()));
}

TEST_F(TextFiles, FilesUpToTheSizeCapOpenAndLargerOnesAreRefused)
{
    for (auto [size, opens] : {std::pair{off_t(TextFileMaxBytes), true}, std::pair{off_t(TextFileMaxBytes) + 1, false}}) {
        std::string path = dir_.HostPath("big.skn");
        dir_.Write("big.skn", "");
        ASSERT_EQ(truncate(path.c_str(), size), 0);
        WFILE* file = _wfopen(dir_.DevicePath("big.skn").c_str(), u"rt");
        EXPECT_EQ(file != nullptr, opens) << size;
        if (file) fclose(file);
    }
}

TEST_F(TextFiles, MissingDirectoriesAndSpecialFilesGiveNull)
{
    dir_.MakeDirectory("folder.skn");
    ASSERT_EQ(mkfifo(dir_.HostPath("pipe.skn").c_str(), 0600), 0);
    for (const char* name : {"missing.skn", "folder.skn", "pipe.skn", "missing/x.skn"}) {
        EXPECT_EQ(_wfopen(dir_.DevicePath(name).c_str(), u"rt"), nullptr) << name;
    }
}

TEST_F(TextFiles, UnreadableFileGivesNull)
{
    if (geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
    dir_.Write("locked.skn", "[FILE]\n");
    ASSERT_EQ(chmod(dir_.HostPath("locked.skn").c_str(), 0), 0);
    EXPECT_EQ(_wfopen(dir_.DevicePath("locked.skn").c_str(), u"rt"), nullptr);
}

TEST_F(TextFiles, InjectedFailureGivesNullOnce)
{
    dir_.Write("a.skn", "x");
    FailNextCalls("_wfopen", 1);
    EXPECT_EQ(_wfopen(dir_.DevicePath("a.skn").c_str(), u"rt"), nullptr);
    WFILE* file = _wfopen(dir_.DevicePath("a.skn").c_str(), u"rt");
    EXPECT_NE(file, nullptr);
    if (file) fclose(file);
}

TEST_F(TextFiles, EachStreamIsCountedUntilClosed)
{
    dir_.Write("a.skn", "x");
    WFILE* first = _wfopen(dir_.DevicePath("a.skn").c_str(), u"rt");
    WFILE* second = _wfopen(dir_.DevicePath("a.skn").c_str(), u"rt");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(OpenWideFileCount(), openBefore_ + 2);
    EXPECT_EQ(fclose(first), 0);
    EXPECT_EQ(OpenWideFileCount(), openBefore_ + 1);
    EXPECT_EQ(fclose(second), 0);
}

TEST(TextFilesDeathTest, OtherModesAreNotImplemented)
{
    for (const char16_t* mode : {u"r", u"rb", u"wt", u"w", u"rt+"}) {
        EXPECT_DEATH_IF_SUPPORTED(_wfopen(u"x.skn", mode), "not implemented: _wfopen");
    }
}

class ModuleFileName : public ::testing::Test {
protected:
    void TearDown() override
    {
        OverrideModuleFileName(nullptr);
        ClearFaults();
    }
};

TEST_F(ModuleFileName, IsTheExecutablesHostPathInDeviceForm)
{
    WCHAR buffer[4096];
    DWORD length = GetModuleFileNameW(nullptr, buffer, 4096);
    ASSERT_GT(length, 0u);
    std::u16string path(buffer);
    EXPECT_EQ(path.size(), length);
    EXPECT_EQ(path.front(), u'\\');
    EXPECT_EQ(path.find(u'/'), std::u16string::npos);
    std::u16string name = u"\\numbrix_tests";
    ASSERT_GE(path.size(), name.size());
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
}

struct ModuleCase {
    const char* hostPath;
    DWORD size;
    std::u16string expected;   // empty: does not fit, nothing returned
};

TEST_F(ModuleFileName, FitsWithItsTerminatorOrIsNotReturnedAtAll)
{
    const ModuleCase cases[] = {
        {"/opt/numbrix/numbrix", 260, u"\\opt\\numbrix\\numbrix"},
        {"/opt/numbrix/numbrix", 21, u"\\opt\\numbrix\\numbrix"},
        {"/opt/numbrix/numbrix", 20, u""},
        {"/opt/numbrix/numbrix", 1, u""},
        {"/\xE9\x9B\xBB\xE5\x8D\x93/calc", 260, u"\\電卓\\calc"},
        {"/\xE9\x9B\xBB\xE5\x8D\x93/calc", 9, u"\\電卓\\calc"},
        {"/\xE9\x9B\xBB\xE5\x8D\x93/calc", 8, u""},
    };
    for (const auto& c : cases) {
        OverrideModuleFileName(c.hostPath);
        std::vector<WCHAR> buffer(c.size + 8, 0xAAAA);
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), c.size);
        EXPECT_EQ(length, c.expected.size()) << c.hostPath << " in " << c.size;
        EXPECT_EQ(std::u16string(buffer.data()), c.expected) << c.hostPath << " in " << c.size;
        for (size_t i = c.size; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xAAAA) << "wrote at " << i;
    }
}

TEST_F(ModuleFileName, ZeroSizeWritesNothing)
{
    OverrideModuleFileName("/opt/numbrix/numbrix");
    WCHAR buffer[1] = {u'q'};
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 0), 0u);
    EXPECT_EQ(buffer[0], u'q');
}

TEST_F(ModuleFileName, InjectedFailureGivesNothing)
{
    OverrideModuleFileName("/opt/numbrix/numbrix");
    FailNextCalls("GetModuleFileNameW", 1);
    WCHAR buffer[MAX_PATH] = {u'q'};
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, MAX_PATH), 0u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, MAX_PATH), 20u);
}

}  // namespace
