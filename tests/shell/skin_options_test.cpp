// The command line of a run: --skin makes the path absolute and takes the directory above the
// skin's own for the program's (as numbrix-skin does), quotes keep blanks, --watch switches the
// live reload on, and anything else is a usage error.
#include "engine/app_globals.h"
#include "platform/host_paths.h"
#include "shell/skin_options.h"
#include "shell/skin_watch.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct CommandLineCase {
    const char16_t* line;
    int result;
    bool watch;
    const char* skinFile;       // relative to the working directory; null: the stored skin stays
    const char* appDirectory;   // the same, ending with a slash
};

void PrintTo(const CommandLineCase& c, std::ostream* out)
{
    *out << std::filesystem::path(std::u16string(c.line)).string();
}

class SkinOptions : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(SkinOptions, SetTheRunsSkinAndWatch)
{
    const CommandLineCase& c = GetParam();
    const std::u16string stored = u"\\stored\\skin\\default.skn", program = u"\\program\\";
    std::copy_n(stored.c_str(), stored.size() + 1, appSettings.skinFile);
    std::copy_n(program.c_str(), program.size() + 1, appDirectory);
    std::string cwd = std::filesystem::current_path().string() + "/";
    EXPECT_EQ(ApplyCommandLine(c.line), c.result);
    EXPECT_EQ(bool(skinWatchOn), c.watch);
    EXPECT_EQ(std::u16string(appSettings.skinFile), c.skinFile ? DevicePathFromHost(cwd + c.skinFile) : stored);
    EXPECT_EQ(std::u16string(appDirectory), c.appDirectory ? DevicePathFromHost(cwd + c.appDirectory) : program);
    LeaveRunSkinOutOfSettings();
    EXPECT_EQ(std::u16string(appSettings.skinFile), stored) << "the run's skin is not saved";
    skinWatchOn = FALSE;
    appDirectory[0] = 0;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SkinOptions,
    ::testing::Values(CommandLineCase{u"", 0, false, nullptr, nullptr},
                      CommandLineCase{u"--watch", 0, true, nullptr, nullptr},
                      CommandLineCase{u"--skin \"my skins/skin/a b.skn\" --watch", 0, true, "my skins/skin/a b.skn", "my skins/"},
                      CommandLineCase{u"--skin work/./skin/../skin/x.skn", 0, false, "work/skin/x.skn", "work/"},
                      CommandLineCase{u"--skin", 2, false, nullptr, nullptr},
                      CommandLineCase{u"--skim x.skn", 2, false, nullptr, nullptr}));

}  // namespace
