#include "platform/hosts/sdl/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Case {
    std::vector<const char*> arguments;   // after the program's name
    bool help, version;
    int scale;
    const char* skin;
    bool watch;
    const char* error;   // empty: none
};

TEST(CommandLine, ParsesEveryOptionAndNamesWhatIsWrong)
{
    const Case cases[] = {
        {{}, false, false, 0, "", false, ""},
        {{"--help"}, true, false, 0, "", false, ""},
        {{"--version"}, false, true, 0, "", false, ""},
        {{"--skin", "my skins/a.skn", "--scale", "3"}, false, false, 3, "my skins/a.skn", false, ""},
        {{"--scale=2", "--skin=b.skn"}, false, false, 2, "b.skn", false, ""},
        {{"--skin", "a.skn", "--watch"}, false, false, 0, "a.skn", true, ""},
        {{"--watch"}, false, false, 0, "", true, ""},   // the stored skin is watched
        {{"--watch=yes"}, false, false, 0, "", false, "option '--watch' takes no argument"},
        {{"--bogus"}, false, false, 0, "", false, "unknown option '--bogus'"},
        {{"-h"}, false, false, 0, "", false, "unknown option '-h'"},
        {{"file.skn"}, false, false, 0, "", false, "unexpected argument 'file.skn'"},
        {{"--skin"}, false, false, 0, "", false, "option '--skin' needs an argument FILE"},
        {{"--help=yes"}, false, false, 0, "", false, "option '--help' takes no argument"},
        {{"--scale", "0"}, false, false, 0, "", false, "--scale needs a whole number from 1 to 100, not '0'"},
        {{"--scale", "2x"}, false, false, 0, "", false, "--scale needs a whole number from 1 to 100, not '2x'"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"numbrix"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        CommandLine line = ParseCommandLine(int(argv.size()), argv.data());
        std::string name = argv.size() > 1 ? argv[1] : "(none)";
        EXPECT_EQ(line.error, c.error) << name;
        EXPECT_EQ(line.help, c.help) << name;
        EXPECT_EQ(line.version, c.version) << name;
        EXPECT_EQ(line.scale, c.scale) << name;
        EXPECT_EQ(line.skinFile, c.skin) << name;
        EXPECT_EQ(line.watch, c.watch) << name;
    }
    EXPECT_NE(HelpText().find("F9"), std::string::npos) << "the help shows the keyboard map";
}

}  // namespace
