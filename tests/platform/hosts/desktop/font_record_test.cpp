// The remembered font file: used only while the record is whole and nothing it names changed.
#include "platform/font.h"
#include "platform/hosts/desktop/font_record.h"
#include "platform/pixels.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Touch(const TempDir& dir, const std::string& name)
{
    timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    EXPECT_EQ(utimensat(AT_FDCWD, dir.HostPath(name).c_str(), times, 0), 0) << name;
}

class FontRecord : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* cache = std::getenv("XDG_CACHE_HOME")) savedCache_ = cache;
        setenv("XDG_CACHE_HOME", dir_.HostPath("cache").c_str(), 1);
        unsetenv("FONTCONFIG_FILE");
        dir_.Write("font.ttf", "glyphs");
        dir_.Write("fonts.conf", "<fontconfig/>");
        dir_.MakeDirectory("conf.d");
    }
    void TearDown() override
    {
        if (savedCache_) setenv("XDG_CACHE_HOME", savedCache_->c_str(), 1);
        else unsetenv("XDG_CACHE_HOME");
        unsetenv("FONTCONFIG_FILE");
    }
    std::string Font() const { return dir_.HostPath("font.ttf"); }
    void Remember() const
    {
        RememberFontFile(Font(), {dir_.HostPath("fonts.conf"), dir_.HostPath("conf.d"), dir_.HostPath("local.conf")});
    }
    std::string Record() const
    {
        std::ifstream in(FontRecordPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    TempDir dir_;
    std::optional<std::string> savedCache_;
};

TEST_F(FontRecord, IsUsedWhileNothingChanged)
{
    EXPECT_EQ(RememberedFontFile(), "") << "nothing remembered yet";
    Remember();
    EXPECT_EQ(RememberedFontFile(), Font());
    EXPECT_EQ(RememberedFontFile(), Font());
}

// Each change happens after the record was written.
struct Change {
    const char* name;
    void (*apply)(const TempDir& dir);
};

void PrintTo(const Change& change, std::ostream* out)
{
    *out << change.name;
}

class FontRecordChanged : public FontRecord, public ::testing::WithParamInterface<Change> {};

TEST_P(FontRecordChanged, IsNotUsed)
{
    Remember();
    ASSERT_EQ(RememberedFontFile(), Font());
    GetParam().apply(dir_);
    EXPECT_EQ(RememberedFontFile(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FontRecordChanged,
    ::testing::Values(
        Change{"FontOfAnotherSize", [](const TempDir& dir) { dir.Write("font.ttf", "more glyphs"); }},
        Change{"FontModifiedAtAnotherTime", [](const TempDir& dir) { Touch(dir, "font.ttf"); }},
        Change{"FontRemoved", [](const TempDir& dir) { std::remove(dir.HostPath("font.ttf").c_str()); }},
        Change{"FontReplacedByADirectory",
               [](const TempDir& dir) {
                   std::remove(dir.HostPath("font.ttf").c_str());
                   dir.MakeDirectory("font.ttf");
               }},
        Change{"ConfigurationFileEdited", [](const TempDir& dir) { Touch(dir, "fonts.conf"); }},
        Change{"MissingConfigurationFileAppeared", [](const TempDir& dir) { dir.Write("local.conf", "<fontconfig/>"); }},
        Change{"FileAddedToAConfigurationDirectory",
               [](const TempDir& dir) {
                   dir.Write("conf.d/99-new.conf", "<fontconfig/>");
                   Touch(dir, "conf.d");
               }},
        Change{"FontconfigPointedElsewhere", [](const TempDir&) { setenv("FONTCONFIG_FILE", "/elsewhere/fonts.conf", 1); }}),
    [](const ::testing::TestParamInfo<Change>& info) { return std::string(info.param.name); });

TEST_F(FontRecord, DamagedOrHostileRecordsAreNotUsed)
{
    Remember();
    const std::string good = Record();
    ASSERT_FALSE(good.empty());
    std::string flipped = good;
    flipped[good.find("font.ttf")] ^= 0x01;
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += char(i * 7919 % 256);
    const std::pair<const char*, std::string> records[] = {
        {"empty", ""},
        {"cut short", good.substr(0, good.size() - 5)},
        {"without its closing line", good.substr(0, good.rfind("end "))},
        {"one byte changed", flipped},
        {"binary garbage", garbage},
        {"larger than any record", good + std::string(70000, 'x')},
        {"the closing line alone", good.substr(good.rfind("end "))},
    };
    for (const auto& [name, text] : records) {
        std::ofstream(FontRecordPath(), std::ios::binary | std::ios::trunc) << text;
        EXPECT_EQ(RememberedFontFile(), "") << name;
    }
    std::remove(FontRecordPath().c_str());
    dir_.MakeDirectory("cache/numbrix/font-record");
    EXPECT_EQ(RememberedFontFile(), "") << "a directory";
}

TEST_F(FontRecord, NothingIsRememberedWhereTheCacheCannotBeWritten)
{
    dir_.Write("cache", "a file where the directory should be");
    Remember();
    EXPECT_EQ(RememberedFontFile(), "");
    RememberFontFile(dir_.HostPath("conf.d"), {});   // not a font file
    RememberFontFile("relative/font.ttf", {});
    setenv("XDG_CACHE_HOME", dir_.HostPath("cache2").c_str(), 1);
    RememberFontFile(dir_.HostPath("conf.d"), {});
    EXPECT_EQ(RememberedFontFile(), "");
}

TEST_F(FontRecord, FontconfigsAnswerIsRememberedForTheNextStart)
{
    UseFontFile(nullptr);
    if (!FontAvailable()) GTEST_SKIP() << "no font on this machine (tools/setup installs one)";
    std::string remembered = RememberedFontFile();
    EXPECT_FALSE(remembered.empty());
    EXPECT_NE(Record().find("\nwatch "), std::string::npos) << "the record names fontconfig's configuration";
    UseFontFile(nullptr);
}

// The first frame's texts drawn from the record are the font's own, pixel for pixel, and spare
// opening the font; a text not remembered opens it.
TEST_F(FontRecord, TheFirstFramesTextsAreDrawnFromTheRecordAsTheFontDrewThem)
{
    UseFontFile(nullptr);
    if (!FontAvailable()) GTEST_SKIP() << "no font on this machine (tools/setup installs one)";
    auto draw = [] {
        PixelBuffer picture;
        picture.Resize(240, 80, 0x0A2A7A);
        std::vector<int> figures;
        int y = 0;
        for (const std::u16string& text : {std::u16string(u"Numbrix"), std::u16string(u"ツール"), std::u16string(u"Wa.")}) {
            figures.push_back(RenderText(picture, 3, y, text, 15, 0xFFFFFF));
            figures.push_back(TextWidth(text, 13));
            y += TextLineHeight(15);
        }
        figures.push_back(TextLineHeight(13));
        return std::make_pair(picture.pixels, figures);
    };
    UseFontFile(nullptr);
    PrefetchFont();
    const auto drawn = draw();
    TextFirstFrameShown();
    UseFontFile(nullptr);
    PrefetchFont();
    EXPECT_EQ(draw(), drawn);
    EXPECT_FALSE(FontOpened()) << "every text was remembered";
    EXPECT_GT(TextWidth(u"not drawn before", 15), 0);
    EXPECT_TRUE(FontOpened());
    UseFontFile(nullptr);
}

TEST_F(FontRecord, TextsAreNotTakenFromADamagedOrOutdatedRecord)
{
    Remember();
    dir_.Write("libfreetype.so", "code");
    RememberedTexts texts;
    texts.lineHeights[15] = 18;
    texts.lines[{15, u"Numbrix"}] = RememberedLine{2, 1, {0, 255}};
    auto write = [&] { RememberTexts(Font(), dir_.HostPath("libfreetype.so"), texts); };
    auto damage = [](long from, char byte) {
        std::fstream file(TextRecordPath(), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(from, std::ios::end);
        file.put(byte);
    };
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"cut short", [] { truncate(TextRecordPath().c_str(), 40); }},
        {"a coverage byte changed", [&] { damage(-23, 7); }},
        {"the font file changed", [&] { dir_.Write("font.ttf", "other glyphs"); }},
        {"the library changed", [&] { dir_.Write("libfreetype.so", "new code"); }},
        {"the library is gone", [&] { std::remove(dir_.HostPath("libfreetype.so").c_str()); }},
    };
    for (const auto& [name, change] : changes) {
        write();
        RememberedTexts read;
        ASSERT_TRUE(ReadRememberedTexts(Font(), &read)) << name;
        EXPECT_EQ(read.lines.at({15, u"Numbrix"}).coverage, (std::vector<uint8_t>{0, 255}));
        EXPECT_EQ(read.lineHeights.at(15), 18);
        EXPECT_FALSE(ReadRememberedTexts(dir_.HostPath("fonts.conf"), &read)) << "another font";
        change();
        EXPECT_FALSE(ReadRememberedTexts(Font(), &read)) << name;
    }
}

}  // namespace
