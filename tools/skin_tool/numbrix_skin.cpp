// numbrix-skin: the skin author's tool. It checks a skin for every problem at once and renders
// the face that the calculator shows, with the calculator's own loader, key handling and painter
// running in the headless host.
#include "tools/skin_tool/calculator_session.h"
#include "tools/skin_tool/skin_check.h"
#include "tools/skin_tool/skin_location.h"
#include "tools/skin_tool/skin_render.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace skintool;

namespace {

constexpr const char* Usage =
    "usage: numbrix-skin check FILE.skn... [--app-dir DIR]\n"
    "       numbrix-skin render FILE.skn --keys \"KEYS\" --out FACE.png [--app-dir DIR]\n"
    "       numbrix-skin render FILE.skn --all-states --out SHEET.png [--app-dir DIR]\n"
    "       numbrix-skin help\n";

constexpr const char* Help =
    "\n"
    "Checks and renders skins of the Numbrix calculator with the calculator's own skin loader,\n"
    "key handling and painter.\n"
    "\n"
    "check FILE.skn...\n"
    "    Reports every problem of each skin, one line each: \"FILE:LINE: error: KEY: text\" or\n"
    "    \"warning\", then a summary. Errors break the skin: it does not load, or the face shows or\n"
    "    acts wrongly. Warnings are legal but probably not meant. The calculator's loader runs last,\n"
    "    so a skin without errors always loads.\n"
    "\n"
    "render FILE.skn --keys \"KEYS\" --out FACE.png\n"
    "    Starts the calculator with the skin, presses the keys with the stylus and writes the\n"
    "    240 x 268 face it then shows as a PNG image. Without --keys: the face at start.\n"
    "render FILE.skn --all-states --out SHEET.png\n"
    "    Writes a sheet of faces: each mode with an operator pending, the error state, and each\n"
    "    key held down, so that every cell the calculator draws is in use.\n"
    "\n"
    "Keys, separated by blanks (letter case does not matter):\n"
    "    0-9 a-f           digits\n"
    "    point .           decimal point          sign +/-     sign change\n"
    "    add +   sub -     mul * x   div /        eq =         equals\n"
    "    ac clear          clear all              ce           clear entry\n"
    "    bs                backspace              hex dec bin  radix modes\n"
    "    c                 the digit C in hexadecimal mode, clear all in decimal and binary mode\n"
    "                      (where the digit C is disabled); digit-c is always the digit\n"
    "    down:KEY          presses KEY and holds it; the next key lifts the stylus first\n"
    "    A key that is disabled in the current mode, or that no point of the face reaches, is not\n"
    "    pressed, with a note.\n"
    "\n"
    "Where files are looked up: the calculator reads a skin's images and sounds from\n"
    "DIR/skin/NAME/, where DIR is its own directory and NAME the skin file's name without\n"
    "\".skn\", and it lists the skins in DIR/skin. The tool takes DIR to be the parent of the\n"
    "directory that holds the skin file, which is named \"skin\" where skins are installed (with a\n"
    "warning when it is not); --app-dir DIR names the calculator's directory instead.\n"
    "\n"
    "Exit status: 0 success (check: no errors), 1 errors (check: the skin has errors; render: the\n"
    "skin does not load or the image cannot be written), 2 usage error.\n";

int UsageError(const std::string& problem)
{
    std::fprintf(stderr, "numbrix-skin: %s\n%s", problem.c_str(), Usage);
    return 2;
}

struct Arguments {
    std::vector<std::string> files;
    std::string appDir, keys, out;
    bool keysGiven = false, allStates = false;
};

// Parses what follows the command; an empty result means success.
std::string ParseArguments(int argc, char** argv, Arguments* args)
{
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string* target) {
            if (i + 1 >= argc) return false;
            *target = argv[++i];
            return true;
        };
        if (arg == "--app-dir") {
            if (!value(&args->appDir)) return "--app-dir needs a directory";
        } else if (arg == "--keys") {
            if (!value(&args->keys)) return "--keys needs a key sequence";
            args->keysGiven = true;
        } else if (arg == "--out") {
            if (!value(&args->out)) return "--out needs a file name";
        } else if (arg == "--all-states") {
            args->allStates = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            args->files.push_back(arg);
        }
    }
    return "";
}

int Check(const Arguments& args)
{
    if (args.files.empty()) return UsageError("check needs a skin file");
    if (args.keysGiven || args.allStates || !args.out.empty()) return UsageError("check takes no --keys, --all-states or --out");
    int status = 0;
    for (const std::string& file : args.files) {
        SkinLocation location = LocateSkin(file, args.appDir);
        CheckReport report =
            CheckSkin(location, [&](std::u16string* message) { return TrialLoad(location, message); });
        PrintReport(report, file, location, stdout);
        if (report.errors > 0) status = 1;
    }
    return status;
}

int Render(const Arguments& args)
{
    if (args.files.size() != 1) return UsageError("render needs exactly one skin file");
    if (args.out.empty()) return UsageError("render needs --out FILE.png");
    if (args.allStates && args.keysGiven) return UsageError("--all-states and --keys exclude each other");
    SkinLocation location = LocateSkin(args.files[0], args.appDir);
    for (const std::string& warning : location.warnings)
        std::fprintf(stderr, "numbrix-skin: warning: %s\n", warning.c_str());
    if (args.allStates) return RenderAllStates(location, args.out);
    std::vector<std::string> words;
    std::string unknown;
    if (!SplitKeySequence(args.keys, &words, &unknown)) return UsageError("\"" + unknown + "\" is not a key");
    return RenderFace(location, words, args.out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return UsageError("no command given");
    std::string command = argv[1];
    if (command == "help" || command == "--help" || command == "-h") {
        std::printf("%s%s", Usage, Help);
        return 0;
    }
    Arguments args;
    std::string problem = ParseArguments(argc, argv, &args);
    if (!problem.empty()) return UsageError(problem);
    if (command == "check") return Check(args);
    if (command == "render") return Render(args);
    return UsageError("unknown command " + command);
}
