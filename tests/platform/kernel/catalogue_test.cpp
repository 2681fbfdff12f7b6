// The platform's message catalogues: the languages the environment asks for, the file names tried
// for each, and texts looked up in catalogues, formatted texts matched against their patterns.
#include "platform/catalogue.h"
#include "platform/kernel/catalogue_internals.h"
#include "test_files.h"

#include <gtest/gtest.h>

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

TEST(LanguageFallbacks, GoFromTheWholeNameToTheLanguage)
{
    using Names = std::vector<std::string>;
    EXPECT_EQ(LanguageFallbacks("en_US.UTF-8"), (Names{"en_US.UTF-8", "en_US.utf8", "en_US", "en.UTF-8", "en.utf8", "en"}));
    EXPECT_EQ(LanguageFallbacks("de_DE@euro"), (Names{"de_DE@euro", "de@euro", "de_DE", "de"}));
    EXPECT_EQ(LanguageFallbacks("ja.eucJP"), (Names{"ja.eucJP", "ja.eucjp", "ja"}));
    EXPECT_EQ(LanguageFallbacks("en"), (Names{"en"}));
}

// A catalogue as msgfmt writes it, little-endian, without the hash table (readers may ignore it):
// the header, the tables of original and translated strings, then the strings.
std::string MoFile(std::vector<std::pair<std::string, std::string>> entries)
{
    entries.insert(entries.begin(), {"", "Content-Type: text/plain; charset=UTF-8\n"});
    std::string head, strings;
    auto word = [](std::string& out, uint32_t v) {
        for (int i = 0; i < 4; ++i) out += char(v >> (8 * i) & 0xFF);
    };
    uint32_t n = uint32_t(entries.size()), start = 28 + 16 * n;
    for (uint32_t v : {0x950412deu, 0u, n, 28u, 28 + 8 * n, 0u, 0u}) word(head, v);
    std::string originals, translations;
    for (bool translated : {false, true}) {
        std::string& table = translated ? translations : originals;
        for (const auto& [original, translation] : entries) {
            const std::string& text = translated ? translation : original;
            word(table, uint32_t(text.size()));
            word(table, start + uint32_t(strings.size()));
            strings += text + '\0';
        }
    }
    return head + originals + translations + strings;
}

class Catalogues : public ::testing::Test {
protected:
    void TearDown() override { UseCatalogues({}, {}); }
    void Write(const std::string& language, const std::string& bytes)
    {
        std::filesystem::create_directories(dir / (language + "/LC_MESSAGES"));
        WriteFile(dir / (language + "/LC_MESSAGES/numbrix.mo"), bytes);
    }
    TempDir dir;
};

TEST_F(Catalogues, TranslateTextsAndTheTextsFormattedFromTheirPatterns)
{
    Write("en", MoFile({{"効果音", "Sound Effects"},
                        {"仮想画面(%d)の作成に失敗しました。", "Creating virtual screen (%d) failed."},
                        {"[%s][%s]", "<%2$s in %1$s>"},
                        {"%d%% done", "done: %d%%"}}));
    ASSERT_EQ(UseCatalogues({dir.path()}, {"en_US.UTF-8"}), 1);
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"効果音", u"Sound Effects"},
        {u"効果音 ", u"効果音 "},
        {u"仮想画面(3)の作成に失敗しました。", u"Creating virtual screen (3) failed."},
        {u"仮想画面(-12)の作成に失敗しました。", u"Creating virtual screen (-12) failed."},
        {u"仮想画面(x)の作成に失敗しました。", u"仮想画面(x)の作成に失敗しました。"},
        {u"仮想画面()の作成に失敗しました。", u"仮想画面()の作成に失敗しました。"},
        {u"仮想画面(1)の作成に失敗しました。!", u"仮想画面(1)の作成に失敗しました。!"},
        {u"[FILE][BACKIMAGE]", u"<BACKIMAGE in FILE>"},
        {u"[a][b][c]", u"<b][c in a>"},
        {u"[][x]", u"[][x]"},
        {u"50% done", u"done: 50%"},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(LocalisedText(text), shown) << testing::PrintToString(text);
}

TEST_F(Catalogues, EachTextComesFromTheFirstLanguageThatHasIt)
{
    Write("fr", MoFile({{"OK", "D'accord"}}));
    Write("en", MoFile({{"OK", "Okay"}, {"キャンセル", "Cancel"}}));
    ASSERT_EQ(UseCatalogues({dir / "missing", dir.path()}, {"fr_FR", "de", "en"}), 2);
    EXPECT_EQ(LocalisedText(u"OK"), u"D'accord");
    EXPECT_EQ(LocalisedText(u"キャンセル"), u"Cancel");
}

TEST_F(Catalogues, DamagedFilesAreNotUsed)
{
    std::string whole = MoFile({{"OK", "Okay"}});
    for (size_t cut : {size_t(3), size_t(30), whole.size() - 2}) {
        Write("en", whole.substr(0, cut));
        EXPECT_EQ(UseCatalogues({dir.path()}, {"en"}), 0) << cut;
        EXPECT_EQ(LocalisedText(u"OK"), u"OK");
    }
}

}  // namespace
