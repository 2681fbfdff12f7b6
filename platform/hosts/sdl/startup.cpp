// The program's process entry on the SDL2 host: open the host, run the program's main routine
// with the instance handle, the command line and the show command, and end with its result as
// the exit code.
#include "platform/hosts/sdl/sdl_host.h"
#include "platform/unicode.h"
#include "platform/windows.h"

#include <string>

// The program's main routine.
int AppMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);

// The arguments as one command line: separated by blanks, an argument with blanks (or none at
// all) in quotes, a quote inside one as \".
static std::u16string CommandLine(int argc, char** argv)
{
    std::u16string line;
    for (int i = 1; i < argc; ++i) {
        std::u16string argument = Utf16FromUtf8(argv[i]);
        bool quote = argument.empty() || argument.find_first_of(u" \t\"") != std::u16string::npos;
        if (!line.empty()) line += u' ';
        if (quote) line += u'"';
        for (char16_t c : argument) line += c == u'"' ? std::u16string(u"\\\"") : std::u16string(1, c);
        if (quote) line += u'"';
    }
    return line;
}

int main(int argc, char** argv)
{
    if (!SdlHostStart()) return 1;
    std::u16string commandLine = CommandLine(argc, argv);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(uintptr_t(0x00010000));   // the program's module
    int exitCode = AppMain(instance, nullptr, commandLine.data(), SW_SHOWNORMAL);
    SdlHostStop();
    return exitCode;
}
