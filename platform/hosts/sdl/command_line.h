// The program's command line on the desktop: the options, their parsing and the help text. The
// host owns it: --help and --version end the run before the host starts, --scale is the host
// window's, --skin and --watch reach the program as its command line (the skin file for this run,
// and the live reload of the skin in use).
#pragma once
#include <string>

struct CommandLine {
    bool help = false;
    bool version = false;
    int scale = 0;           // 0: the kept or automatic scale
    std::string skinFile;    // as given; empty: the stored skin
    bool watch = false;      // reload the skin in use (skinFile's or the stored one) on every save
    std::string error;       // not empty: what is wrong, one line; the run ends with exit code 2
};

CommandLine ParseCommandLine(int argc, const char* const* argv);
// The usage line and the options, shown after an error (on standard error).
std::string UsageText();
// The usage and the keyboard map, for --help.
std::string HelpText();
