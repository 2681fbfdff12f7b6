// The platform's message catalogues: the languages the environment asks for, and texts and
// wsprintfW's formats looked up in catalogues that msgfmt compiled.
#include "platform/catalogue.h"
#include "platform/kernel/catalogue_internals.h"
#include "platform/text.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

struct EnvironmentCase {
    const char *language, *lcAll, *lcMessages, *lang;
    std::vector<std::string> languages;
};

TEST(RequestedLanguages, FollowGettextsOrder)
{
    const EnvironmentCase cases[] = {
        {nullptr, nullptr, nullptr, nullptr, {}},
        {"en", nullptr, nullptr, "C", {}},
        {"en", nullptr, nullptr, "POSIX", {}},
        {nullptr, nullptr, nullptr, "en_US.UTF-8", {"en_US.UTF-8"}},
        {nullptr, "C", nullptr, "en_US.UTF-8", {}},
        {nullptr, "", "en_GB", "ja_JP.UTF-8", {"en_GB"}},
        {nullptr, "ja_JP.UTF-8", "en_GB", nullptr, {"ja_JP.UTF-8"}},
        {"en:ja", nullptr, nullptr, "ja_JP.UTF-8", {"en", "ja"}},
        {"", nullptr, nullptr, "en_US", {"en_US"}},
        {"en", nullptr, nullptr, "C.UTF-8", {"en"}},
        {"fr::C:en", nullptr, nullptr, "de_DE", {"fr"}},
    };
    for (const EnvironmentCase& c : cases) {
        SCOPED_TRACE(std::string(c.language ? c.language : "-") + " " + (c.lcAll ? c.lcAll : "-") + " " +
                     (c.lcMessages ? c.lcMessages : "-") + " " + (c.lang ? c.lang : "-"));
        EXPECT_EQ(RequestedLanguages(c.language, c.lcAll, c.lcMessages, c.lang), c.languages);
    }
}

class Catalogues : public ::testing::Test {
protected:
    void TearDown() override { UseCatalogues("", {}); }
    // Compiles the entries (original, translation) into the language's catalogue with msgfmt.
    std::string Compile(const std::string& language, const std::vector<std::pair<std::string, std::string>>& entries)
    {
        std::string po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
        for (const auto& [original, translation] : entries) po += "\nmsgid \"" + original + "\"\nmsgstr \"" + translation + "\"\n";
        dir.Write(language + ".po", po);
        std::string mo = dir.HostPath(language + "/LC_MESSAGES/numbrix.mo");
        std::filesystem::create_directories(std::filesystem::path(mo).parent_path());
        std::string command = "msgfmt -o '" + mo + "' '" + dir.HostPath(language + ".po") + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return mo;
    }
    TempDir dir;
};

TEST_F(Catalogues, EachTextAndFormatComesFromTheFirstLanguageThatHasIt)
{
    Compile("fr", {{"OK", "D'accord"}});
    Compile("en", {{"OK", "Okay"}, {"効果音", "Sound Effects"},
                   {"仮想画面(%d)の作成に失敗しました。", "Creating virtual screen (%d) failed."},
                   {"[%s][%s]", "<%2$s in %1$s>"}});
    ASSERT_TRUE(UseCatalogues(dir.HostPath(""), {"fr_FR", "de", "en_US.UTF-8"}));
    EXPECT_EQ(LocalisedText(u"OK"), u"D'accord");
    EXPECT_EQ(LocalisedText(u"効果音"), u"Sound Effects");
    EXPECT_EQ(LocalisedText(u"効果音 "), u"効果音 ");
    WCHAR text[MAX_PATH];
    wsprintfW(text, u"仮想画面(%d)の作成に失敗しました。", 3);
    EXPECT_EQ(std::u16string(text), u"Creating virtual screen (3) failed.");
    wsprintfW(text, u"[%s][%s]", u"FILE", u"BACKIMAGE");
    EXPECT_EQ(std::u16string(text), u"[FILE][BACKIMAGE]") << "a translation that takes its values in another order";
}

TEST_F(Catalogues, DamagedFilesGiveTheProgramsTexts)
{
    std::string mo = Compile("en", {{"OK", "Okay"}});
    std::string whole = ReadFile(mo);
    for (size_t cut : {size_t(3), size_t(30), whole.size() - 2}) {
        WriteFile(mo, whole.substr(0, cut));
        UseCatalogues(dir.HostPath(""), {"en"});
        EXPECT_EQ(LocalisedText(u"OK"), u"OK") << cut;
    }
}

}  // namespace
