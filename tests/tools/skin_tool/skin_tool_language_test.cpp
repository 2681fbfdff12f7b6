// numbrix-skin reports in English and quotes the calculator's message about a skin it refuses in
// the language of the environment, as the calculator would show it.
#include "skin_tool_fixture.h"

namespace {

TEST(SkinToolLanguage, QuotesTheCalculatorsMessageInTheLocalesLanguage)
{
    SkinCopy skin;
    skin.RemoveLine("CHAR042");
    skin.Write();
    const struct {
        const char* lang;
        const char* quote;
    } cases[] = {
        {"C", "it shows \"スキンファイルが壊れている、又はありません。[CHARACTER][CHAR042]\" (the skin file is damaged or missing"},
        {"ja_JP.UTF-8", "it shows \"スキンファイルが壊れている、又はありません。[CHARACTER][CHAR042]\""},
        {"en_US.UTF-8", "it shows \"The skin file is damaged or missing. [CHARACTER][CHAR042]\"\n"},
    };
    for (const auto& c : cases) {
        unsetenv("LANGUAGE");
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", c.lang, 1);
        ToolRun run = RunTool({"check", skin.SkinFile()}, skin.dir);
        unsetenv("LANG");
        EXPECT_EQ(run.status, 1) << c.lang;
        EXPECT_NE(run.out.find("error: the calculator does not load this skin; " + std::string(c.quote)), std::string::npos)
            << c.lang << "\n" << run.out;
    }
}

}  // namespace
