// The skin files: their text as the generator builds it and as the build wrote it, read back by
// the rules the calculator's skin reader applies.
#include "tools/make_skins/skin_design.h"
#include "tools/make_skins/skin_sounds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

using namespace skins;

namespace {

// Sections in order of appearance, each with its key lines; a value loses what follows "#" and
// its trailing blanks, as the reader does.
struct SkinText {
    std::map<std::string, std::multimap<std::string, std::string>> sections;
};

SkinText ReadSkinText(const std::string& text)
{
    SkinText skin;
    std::string section;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            skin.sections[section];
            continue;
        }
        size_t equals = line.find('=');
        if (section.empty() || equals == std::string::npos) continue;
        std::string value = line.substr(equals + 1);
        value = value.substr(0, value.find('#'));
        value.erase(value.find_last_not_of(" \t") + 1);
        skin.sections[section].emplace(line.substr(0, equals), value);
    }
    return skin;
}

std::string KeyName(const char* format, int n)
{
    char key[16];
    std::snprintf(key, sizeof key, format, n);
    return key;
}

Rect ParseRect(const std::string& value)
{
    Rect r = {-1, -1, -1, -1};
    EXPECT_EQ(std::sscanf(value.c_str(), "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h), 4) << value;
    return r;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

enum class Source { Generator, BuildTree };

struct FileCase {
    int design;
    Source source;
};

class SkinFileTest : public ::testing::TestWithParam<FileCase> {
protected:
    const SkinDesign& design = SkinDesigns[GetParam().design];
    std::string text = GetParam().source == Source::Generator
                           ? SkinFileText(design)
                           : ReadFile(std::string(NUMBRIX_SKIN_BUILD_DIR) + "/" + design.name + ".skn");
    SkinText skin = ReadSkinText(text);
};

TEST_P(SkinFileTest, EveryLineEndsWithCarriageReturnAndLineFeed)
{
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    for (size_t i = 0; i < text.size(); i++) {
        bool bareLineFeed = text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
        bool bareReturn = text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
        EXPECT_FALSE(bareLineFeed) << "at byte " << i;
        EXPECT_FALSE(bareReturn) << "at byte " << i;
    }
}

TEST_P(SkinFileTest, NamesBothImages)
{
    const auto& file = skin.sections["FILE"];
    ASSERT_EQ(file.count("BACKIMAGE"), 1u);
    ASSERT_EQ(file.count("PARTSIMAGE"), 1u);
    EXPECT_EQ(file.find("BACKIMAGE")->second, BackImageName);
    EXPECT_EQ(file.find("PARTSIMAGE")->second, PartsImageName);
}

TEST_P(SkinFileTest, HoldsEveryCellOnceAsPlanned)
{
    const auto& cells = skin.sections["CHARACTER"];
    EXPECT_EQ(cells.size(), size_t(CellCount));
    CellPlan plan = PlanCells(design);
    for (int n = 1; n <= CellCount; n++) {
        std::string key = KeyName("CHAR%03d", n);
        ASSERT_EQ(cells.count(key), 1u) << key;
        Rect r = ParseRect(cells.find(key)->second);
        const Rect& want = plan.cells[n - 1];
        EXPECT_TRUE(r.x == want.x && r.y == want.y && r.w == want.w && r.h == want.h) << key;
    }
}

TEST_P(SkinFileTest, HoldsEveryAreaOnceAsPlanned)
{
    const auto& areas = skin.sections["AREA"];
    EXPECT_EQ(areas.size(), size_t(AreaCount));
    Rect planned[AreaCount];
    PlanAreas(design, planned);
    for (int n = 1; n <= AreaCount; n++) {
        std::string key = KeyName("AREA%02d", n);
        ASSERT_EQ(areas.count(key), 1u) << key;
        Rect r = ParseRect(areas.find(key)->second);
        const Rect& want = planned[n - 1];
        EXPECT_TRUE(r.x == want.x && r.y == want.y && r.w == want.w && r.h == want.h) << key;
    }
}

TEST_P(SkinFileTest, NamesNineDistinctSounds)
{
    const auto& sounds = skin.sections["SOUND"];
    EXPECT_EQ(sounds.size(), size_t(SoundEvents));
    std::map<std::string, int> uses;
    for (int n = 1; n <= SoundEvents; n++) {
        std::string key = KeyName("SOUND%02d", n);
        ASSERT_EQ(sounds.count(key), 1u) << key;
        uses[sounds.find(key)->second]++;
    }
    EXPECT_EQ(uses.size(), size_t(SoundEvents));
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinFileTest, ::testing::Values(
    FileCase{0, Source::Generator}, FileCase{1, Source::Generator},
    FileCase{0, Source::BuildTree}, FileCase{1, Source::BuildTree}),
    [](const auto& info) {
        return std::string(SkinDesigns[info.param.design].name) +
               (info.param.source == Source::Generator ? "Generated" : "InBuildTree");
    });

// Beside each skin file that the build wrote lies every file that it names.
class BuiltSkinTest : public ::testing::TestWithParam<int> {
protected:
    const SkinDesign& design = SkinDesigns[GetParam()];
    std::string dir = std::string(NUMBRIX_SKIN_BUILD_DIR) + "/";
};

TEST_P(BuiltSkinTest, NamedFilesExistInTheSkinsOwnDirectory)
{
    SkinText skin = ReadSkinText(ReadFile(dir + design.name + ".skn"));
    std::vector<std::string> names;
    for (const auto& [key, value] : skin.sections["FILE"]) names.push_back(value);
    for (const auto& [key, value] : skin.sections["SOUND"]) names.push_back(value);
    EXPECT_EQ(names.size(), 2u + SoundEvents);
    for (const std::string& name : names) {
        std::string path = dir + design.name + "/" + name;
        EXPECT_TRUE(std::ifstream(path).good()) << path;
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, BuiltSkinTest, ::testing::Range(0, SkinDesignCount),
                         [](const auto& info) { return std::string(SkinDesigns[info.param].name); });

}  // namespace
