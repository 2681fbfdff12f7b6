// numbrix-skin: the skin author's tool. It checks a skin for every problem at once and renders
// the face that the calculator shows, with the calculator's own loader, key handling and painter
// running in the headless host.
#include "platform/catalogue.h"
#include "tools/skin_tool/calculator_session.h"
#include "tools/skin_tool/new_skin.h"
#include "skin/check/skin_check.h"
#include "tools/skin_tool/skin_guide.h"
#include "skin/check/skin_location.h"
#include "tools/skin_tool/skin_render.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace skintool;

namespace {

constexpr int DefaultGuideScale = 2;

constexpr const char* Usage =
    "usage: numbrix-skin new NAME [--from SKIN.skn] [--dir DIR]\n"
    "       numbrix-skin guide FILE.skn --out GUIDE.png [--scale N] [--app-dir DIR]\n"
    "       numbrix-skin check FILE.skn... [--app-dir DIR]\n"
    "       numbrix-skin render FILE.skn --keys \"KEYS\" --out FACE.png [--scale N] [--app-dir DIR]\n"
    "       numbrix-skin render FILE.skn --all-states --out SHEET.png [--scale N] [--app-dir DIR]\n"
    "       numbrix-skin help\n";

constexpr const char* Help =
    "\n"
    "Starts, checks and renders skins of the Numbrix calculator with the calculator's own skin\n"
    "loader, key handling and painter.\n"
    "\n"
    "new NAME [--from SKIN.skn] [--dir DIR]\n"
    "    Writes DIR/NAME.skn and DIR/NAME/ with copies of the images and sounds of SKIN (the\n"
    "    calculator's default skin beside numbrix-skin when not given), the skin file saying in\n"
    "    remarks what each section and group of keys is; numbrix --skin DIR/NAME.skn loads it at\n"
    "    once. DIR is an existing directory, the working directory when not given. Nothing that\n"
    "    exists is overwritten, and names that the calculator could not load (empty, with / or \\,\n"
    "    with paths over 259 characters) are refused, with the reason; the exit status is then 1.\n"
    "\n"
    "guide FILE.skn --out GUIDE.png [--scale N]\n"
    "    Draws the parts image with every cell's rectangle outlined and labelled (\"7 up\",\n"
    "    \"display 3\", \"minus indicator\") beside the face at start with every area outlined and\n"
    "    labelled (its key, \"panel\", \"position 0\", \"indicator\"); what check finds fault with\n"
    "    is outlined in red. Each skin pixel is N x N pixels (default 2): the parts image's\n"
    "    top-left corner is at (8N, 18N), the face's at ((32 + parts image width) N, 18N).\n"
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
    "    --scale N makes each pixel N x N pixels (nearest neighbour), here and with --all-states.\n"
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
    "Where files are looked up: the tool takes a skin file as numbrix --skin FILE does, its images\n"
    "and sounds in NAME/ of the directory that holds it, NAME being the file's name without\n"
    "\".skn\" (for a skin in the calculator's skin directory that is DIR/skin/NAME/, DIR being the\n"
    "calculator's directory). --app-dir DIR takes DIR as the calculator's directory, as for a skin\n"
    "chosen in its skin dialog: the images and sounds are then in DIR/skin/NAME/ wherever the\n"
    "skin file is, and the calculator lists only the skins in DIR/skin/.\n"
    "\n"
    "The tool reports in English. When the calculator refuses a skin, its own message is quoted as\n"
    "the calculator shows it, in the language that LANGUAGE, LC_ALL, LC_MESSAGES and LANG ask for.\n"
    "\n"
    "Exit status: 0 success (check: no errors), 1 errors (check: the skin has errors; render: the\n"
    "skin does not load; new: the skin is refused; render, guide, new: a file cannot be written),\n"
    "2 usage error.\n";

int UsageError(const std::string& problem)
{
    std::fprintf(stderr, "numbrix-skin: %s\n%s", problem.c_str(), Usage);
    return 2;
}

struct Arguments {
    std::vector<std::string> files;   // what is not an option: skin files, or the new skin's name
    std::map<std::string, std::string> options;   // given options with their values ("" for a flag)
    std::string Option(const std::string& name) const
    {
        auto it = options.find(name);
        return it == options.end() ? "" : it->second;
    }
    bool Has(const std::string& name) const { return options.count(name) > 0; }
};

// The options, whether each takes a value, and the commands that take it.
struct OptionRule {
    const char* name;
    const char* value;   // what the value is, for "needs" messages; null for a flag
    std::vector<std::string> commands;
};
const OptionRule Options[] = {
    {"--app-dir", "a directory", {"check", "render", "guide"}},
    {"--keys", "a key sequence", {"render"}},
    {"--out", "a file name", {"render", "guide"}},
    {"--all-states", nullptr, {"render"}},
    {"--scale", "a whole number from 1 to 16", {"render", "guide"}},
    {"--from", "a skin file", {"new"}},
    {"--dir", "a directory", {"new"}},
};

// Parses what follows the command; an empty result means success.
std::string ParseArguments(int argc, char** argv, const std::string& command, Arguments* args)
{
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        const OptionRule* rule = nullptr;
        for (const OptionRule& option : Options)
            if (arg == option.name) rule = &option;
        if (!rule) {
            if (arg.size() > 1 && arg[0] == '-') return "unknown option " + arg;
            args->files.push_back(arg);
            continue;
        }
        if (std::find(rule->commands.begin(), rule->commands.end(), command) == rule->commands.end())
            return command + " takes no " + arg;
        if (rule->value && i + 1 >= argc) return arg + " needs " + rule->value;
        args->options[arg] = rule->value ? argv[++i] : "";
    }
    return "";
}

// --scale N, 1 when not given; 0 when N is no whole number from 1 to 16.
int Scale(const Arguments& args, int fallback)
{
    if (!args.Has("--scale")) return fallback;
    const std::string& text = args.Option("--scale");
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    int scale = std::stoi(text);
    return scale >= 1 && scale <= 16 ? scale : 0;
}

int Check(const Arguments& args)
{
    if (args.files.empty()) return UsageError("check needs a skin file");
    int status = 0;
    for (const std::string& file : args.files) {
        SkinLocation location = LocateSkin(file, args.Option("--app-dir"));
        CheckReport report =
            CheckSkin(location, [&](std::u16string* message) { return TrialLoad(location, message); });
        PrintReport(report, file, location, stdout);
        if (report.errors > 0) status = 1;
    }
    return status;
}

// The one skin file that render and guide take, with the warnings about where it lies.
SkinLocation OneSkin(const Arguments& args)
{
    SkinLocation location = LocateSkin(args.files[0], args.Option("--app-dir"));
    for (const std::string& warning : location.warnings)
        std::fprintf(stderr, "numbrix-skin: warning: %s\n", warning.c_str());
    return location;
}

int Render(const Arguments& args)
{
    if (args.files.size() != 1) return UsageError("render needs exactly one skin file");
    if (!args.Has("--out")) return UsageError("render needs --out FILE.png");
    if (args.Has("--all-states") && args.Has("--keys")) return UsageError("--all-states and --keys exclude each other");
    int scale = Scale(args, 1);
    if (scale == 0) return UsageError("--scale needs a whole number from 1 to 16");
    std::vector<std::string> words;
    std::string unknown;
    if (!SplitKeySequence(args.Option("--keys"), &words, &unknown)) return UsageError("\"" + unknown + "\" is not a key");
    SkinLocation location = OneSkin(args);
    if (args.Has("--all-states")) return RenderAllStates(location, args.Option("--out"), scale);
    return RenderFace(location, words, args.Option("--out"), scale);
}

int Guide(const Arguments& args)
{
    if (args.files.size() != 1) return UsageError("guide needs exactly one skin file");
    if (!args.Has("--out")) return UsageError("guide needs --out FILE.png");
    int scale = Scale(args, DefaultGuideScale);
    if (scale == 0) return UsageError("--scale needs a whole number from 1 to 16");
    return WriteGuide(OneSkin(args), args.Option("--out"), scale);
}

int New(const Arguments& args)
{
    if (args.files.size() != 1) return UsageError("new needs the new skin's name");
    std::string from = args.Has("--from") ? args.Option("--from") : DefaultSkinBesideTool();
    if (from.empty()) return UsageError("no default skin beside numbrix-skin; name one with --from SKIN.skn");
    return NewSkin(args.files[0], from, args.Has("--dir") ? args.Option("--dir") : DefaultNewSkinDirectory);
}

}  // namespace

int main(int argc, char** argv)
{
    UseCataloguesOfEnvironment();
    if (argc < 2) return UsageError("no command given");
    std::string command = argv[1];
    if (command == "help" || command == "--help" || command == "-h") {
        std::printf("%s%s", Usage, Help);
        return 0;
    }
    if (command != "check" && command != "render" && command != "guide" && command != "new")
        return UsageError("unknown command " + command);
    Arguments args;
    std::string problem = ParseArguments(argc, argv, command, &args);
    if (!problem.empty()) return UsageError(problem);
    if (command == "check") return Check(args);
    if (command == "render") return Render(args);
    if (command == "guide") return Guide(args);
    return New(args);
}
