// The settings through LoadSettings and SaveSettings against damaged, missing and unwritable
// registry files, and saves that fail at each step: the program always starts, on its defaults
// where the file is not sound, and a failed save never tears the file.
#include "engine/app_globals.h"
#include "platform/faults.h"
#include "platform/inspect.h"
#include "platform/wince.h"
#include "shell/app_main.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>

namespace {

const char16_t DefaultSkin[] = u"\\app\\skin\\default.skn";
const std::string KeyLine = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrel\\Numbrix]\n";

std::string RegistryText(const std::string& skinFile, const std::string& flag)
{
    return "REGEDIT4\n\n" + KeyLine + "\"SkinFile\"=\"" + skinFile + "\"\n\"SEflg\"=\"" + flag + "\"\n";
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* old = std::getenv("NUMBRIX_REGISTRY")) saved = old;
        file = dir.HostPath("registry.reg");
        UseRegistry(file);
        SetSettings(DefaultSkin, 1);
    }
    void TearDown() override
    {
        ClearFaults();
        EXPECT_EQ(OpenRegistryKeyCount(), 0);
        if (saved) setenv("NUMBRIX_REGISTRY", saved->c_str(), 1);
        else unsetenv("NUMBRIX_REGISTRY");
    }
    void UseRegistry(const std::string& path) { setenv("NUMBRIX_REGISTRY", path.c_str(), 1); }
    void SetSettings(const std::u16string& skinFile, int32_t soundEffects)
    {
        ASSERT_LT(skinFile.size(), size_t(MAX_PATH));
        std::memcpy(appSettings.skinFile, skinFile.c_str(), (skinFile.size() + 1) * sizeof(WCHAR));
        appSettings.soundEffects = soundEffects;
    }
    // The settings a fresh start would read from the file.
    std::pair<std::u16string, int32_t> Loaded()
    {
        SetSettings(DefaultSkin, 1);
        LoadSettings();
        return {appSettings.skinFile, appSettings.soundEffects};
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.HostPath()))
            names.push_back(entry.path().filename());
        return names;
    }

    TempDir dir;
    std::string file;
    std::optional<std::string> saved;
};

TEST_F(Settings, DamagedFilesAreReadAsFarAsTheyAreSound)
{
    const std::string longText(100000, 'v');
    const std::string skin259(259, 's'), skin260(260, 's');
    struct {
        const char* what;
        std::string content;
        std::u16string skinFile;
        int32_t soundEffects;
    } cases[] = {
        {"both values", RegistryText("\\\\x\\\\my.skn", "0"), u"\\x\\my.skn", 0},
        {"empty file", "", DefaultSkin, 1},
        {"binary garbage", std::string("\x00\xFF\xFE\x89PNG\r\n\x1A\n\x00\x01[\"=@\\", 18), DefaultSkin, 1},
        {"garbage around the values",
         std::string("\x01\x02\xFF\n", 4) + KeyLine + "\"SEflg\"=\"0\"\n" + std::string("\xC3(\0\n", 4) +
             "\"SkinFile\"=\"a.skn\"\n",
         u"a.skn", 0},
        {"truncated line", "REGEDIT4\n\n" + KeyLine + "\"SEflg\"=\"0\"\n\"SkinFile\"=\"\\\\x\\\\my", DefaultSkin, 0},
        {"value of 100,000 characters", RegistryText(longText, "0"), DefaultSkin, 0},
        {"flag of 100,000 characters", RegistryText("a.skn", longText), u"a.skn", 1},
        {"skin path of 259 characters", RegistryText(skin259, "1"), std::u16string(259, u's'), 1},
        {"skin path of 260 characters", RegistryText(skin260, "1"), DefaultSkin, 1},
        {"flag not a number", RegistryText("a.skn", "on"), u"a.skn", 1},
        {"flag with blanks and a tail", RegistryText("a.skn", " \t-7 and more"), u"a.skn", -7},
        {"CR LF lines and a byte-order mark", "\xEF\xBB\xBFREGEDIT4\r\n\r\n" + KeyLine.substr(0, KeyLine.size() - 1) +
                                                  "\r\n\"SEflg\"=\"2\"\r\n",
         DefaultSkin, 2},
    };
    for (const auto& c : cases) {
        dir.Write("registry.reg", c.content);
        auto [skinFile, soundEffects] = Loaded();
        EXPECT_EQ(skinFile, c.skinFile) << c.what;
        EXPECT_EQ(soundEffects, c.soundEffects) << c.what;
    }
}

TEST_F(Settings, MissingFileStartsOnTheDefaultsAndKeepsWhatIsSaved)
{
    UseRegistry(dir.HostPath("missing/deeper/registry.reg"));
    auto [skinFile, soundEffects] = Loaded();
    EXPECT_EQ(skinFile, DefaultSkin);
    EXPECT_EQ(soundEffects, 1);
    SetSettings(u"\\app\\skin\\midnight.skn", 0);
    SaveSettings();
    EXPECT_EQ(Loaded(), std::make_pair(std::u16string(u"\\app\\skin\\midnight.skn"), 0));
}

TEST_F(Settings, UnwritableLocationOnlyLosesTheSave)
{
    dir.Write("plain-file", "x");
    for (const std::string& place : {dir.HostPath("plain-file/registry.reg"), std::string("/proc/self/numbrix/x.reg")}) {
        UseRegistry(place);
        auto [skinFile, soundEffects] = Loaded();
        EXPECT_EQ(skinFile, DefaultSkin) << place;
        EXPECT_EQ(soundEffects, 1) << place;
        SetSettings(u"\\app\\skin\\midnight.skn", 0);
        SaveSettings();
        EXPECT_EQ(std::u16string(appSettings.skinFile), u"\\app\\skin\\midnight.skn") << place;
        EXPECT_EQ(appSettings.soundEffects, 0) << place;
    }
    UseRegistry(file);
    SaveSettings();
    EXPECT_EQ(Loaded(), std::make_pair(std::u16string(u"\\app\\skin\\midnight.skn"), 0));
}

// A save writes the two values one after the other, each by replacing the whole file. Whichever
// step of either write fails, the file is whole: the value being written is the old one, the
// other is as far as the save had got, and no temporary file is left.
TEST_F(Settings, EachFailedStepOfASaveLeavesAWholeFile)
{
    const std::pair<std::u16string, int32_t> before{u"old.skn", 1}, after{u"new.skn", 0};
    struct {
        const char* step;
        int skip;
        std::pair<std::u16string, int32_t> expected;
    } cases[] = {
        {"RegCreateKeyExW", 0, before},
        {"RegSetValueExW", 0, {before.first, after.second}},
        {"RegistryWrite", 0, {before.first, after.second}},
        {"RegistryFlush", 0, {before.first, after.second}},
        {"RegistryRename", 0, {before.first, after.second}},
        {"RegSetValueExW", 1, {after.first, before.second}},
        {"RegistryWrite", 1, {after.first, before.second}},
        {"RegistryFlush", 1, {after.first, before.second}},
        {"RegistryRename", 1, {after.first, before.second}},
    };
    for (const auto& c : cases) {
        dir.Write("registry.reg", RegistryText("old.skn", "1"));
        SetSettings(after.first, after.second);
        FailNextCalls(c.step, 1, c.skip);
        SaveSettings();
        ClearFaults();
        EXPECT_EQ(Loaded(), c.expected) << c.step << " after " << c.skip;
        EXPECT_EQ(Entries(), std::vector<std::string>{"registry.reg"}) << c.step << " after " << c.skip;
    }
}

}  // namespace
