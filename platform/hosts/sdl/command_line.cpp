#include "platform/hosts/sdl/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// One row for each option: its name, the name of its argument (null for none), what it does for
// the help text ("\n" starts another line in the help's column), and how it fills the command
// line (false with *error set for a bad argument).
struct Option {
    const char* name;
    const char* argument;
    const char* help;
    bool (*apply)(CommandLine& line, const char* value, std::string* error);
};

bool ReadScale(CommandLine& line, const char* value, std::string* error)
{
    errno = 0;
    char* end = nullptr;
    long scale = std::strtol(value, &end, 10);
    if (errno != 0 || end == value || *end || scale < 1 || scale > 100) {
        *error = std::string("--scale needs a whole number from 1 to 100, not '") + value + "'";
        return false;
    }
    line.scale = int(scale);
    return true;
}

const Option Options[] = {
    {"--help", nullptr, "show this help and exit",
     [](CommandLine& line, const char*, std::string*) { return line.help = true; }},
    {"--version", nullptr, "show the version and exit",
     [](CommandLine& line, const char*, std::string*) { return line.version = true; }},
    {"--skin", "FILE", "use this skin file for this run, its images and sounds in\n"
                       "NAME/ beside it",
     [](CommandLine& line, const char* value, std::string*) {
         line.skinFile = value;
         return true;
     }},
    {"--watch", nullptr, "watch the skin in use (--skin's or the stored one) and its\n"
                         "images and sounds, and reload it on every save",
     [](CommandLine& line, const char*, std::string*) { return line.watch = true; }},
    {"--scale", "N", "show the window N times the device's size (1 to 100, at\n"
                     "most what fits the desktop)", ReadScale},
};

constexpr size_t HelpColumn = 29;

const char KeyboardHelp[] =
    "Keyboard:\n"
    "  0-9, keypad 0-9            digits\n"
    "  a-f, A-F                   digits A-F (hexadecimal mode)\n"
    "  . , keypad .               point\n"
    "  + - * /, keypad + - * /    add, subtract, multiply, divide\n"
    "  Return, keypad Enter, =    equals\n"
    "  Escape                     clear all\n"
    "  Delete                     clear entry\n"
    "  BackSpace                  backspace\n"
    "  F9                         sign\n"
    "  F5, F6, F8                 HEX, DEC, BIN\n"
    "  Ctrl+C, Ctrl+V             copy the number shown, paste a number\n"
    "  Ctrl+Plus, Ctrl+Minus      larger, smaller window; Ctrl+0 the automatic size\n"
    "  Ctrl+A                     about Numbrix\n";

const Option* FindOption(const std::string& name)
{
    for (const Option& option : Options)
        if (name == option.name) return &option;
    return nullptr;
}

}  // namespace

// Options take their argument as the next word or after "=" (--scale=3).
CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CommandLine line;
    for (int i = 1; i < argc && line.error.empty(); ++i) {
        std::string word = argv[i];
        size_t equals = word.find('=');
        std::string name = word.substr(0, equals);
        const Option* option = word.rfind("--", 0) == 0 ? FindOption(name) : nullptr;
        if (!option) {
            line.error = word.rfind("-", 0) == 0 ? "unknown option '" + name + "'" : "unexpected argument '" + word + "'";
        } else if (!option->argument && equals != std::string::npos) {
            line.error = "option '" + name + "' takes no argument";
        } else if (option->argument && equals == std::string::npos && i + 1 >= argc) {
            line.error = "option '" + name + "' needs an argument " + option->argument;
        } else {
            const char* value = !option->argument ? nullptr : equals != std::string::npos ? argv[i] + equals + 1 : argv[++i];
            option->apply(line, value, &line.error);
        }
    }
    return line;
}

std::string UsageText()
{
    std::string text = "Usage: numbrix [OPTION]...\nA skinnable pocket calculator.\n\nOptions:\n";
    for (const Option& option : Options) {
        std::string left = std::string("  ") + option.name + (option.argument ? std::string(" ") + option.argument : "");
        text += left + std::string(left.size() < HelpColumn ? HelpColumn - left.size() : 1, ' ');
        for (const char* c = option.help; *c; ++c) text += *c == '\n' ? "\n" + std::string(HelpColumn, ' ') : std::string(1, *c);
        text += "\n";
    }
    return text;
}

std::string HelpText()
{
    return UsageText() + "\n" + KeyboardHelp;
}
