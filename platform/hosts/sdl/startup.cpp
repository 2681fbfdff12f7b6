// The program's process entry on the SDL2 host: read the command line, take the catalogues of the
// environment's language into use, open the host, run the program's main routine with the instance
// handle, the program's part of the command line (--watch and the skin file) and the show command,
// and end with its result as the exit code.
#include "platform/catalogue.h"
#include "platform/host_paths.h"
#include "platform/hosts/sdl/command_line.h"
#include "platform/hosts/sdl/sdl_host.h"
#include "platform/windows.h"

#include <cstdio>
#include <filesystem>
#include <malloc.h>

// The program's main routine.
int AppMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);

namespace {

constexpr int UsageError = 2;

int Complain(const std::string& error)
{
    std::fprintf(stderr, "numbrix: %s\n%s", error.c_str(), UsageText().c_str());
    return UsageError;
}

// The skin file as the program sees it: the device path of its absolute host path.
bool DeviceSkinPath(const std::string& file, std::u16string* devicePath, std::string* error)
{
    std::error_code failed;
    std::filesystem::path absolute = std::filesystem::absolute(file, failed).lexically_normal();
    *devicePath = DevicePathFromHost(failed ? file : absolute.string());
    if (devicePath->size() < MAX_PATH) return true;
    *error = "the path of the skin file is longer than " + std::to_string(MAX_PATH - 1) + " characters";
    return false;
}

// The program's command line (its form is the program's, see AppMain): "--watch" when given,
// then the skin file's device path when given, one blank between them.
std::u16string ProgramCommandLine(bool watch, const std::u16string& skin)
{
    std::u16string programLine = watch ? u"--watch" : u"";
    if (watch && !skin.empty()) programLine += u' ';
    return programLine + skin;
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine line = ParseCommandLine(argc, argv);
    std::u16string skin;
    if (line.error.empty() && !line.skinFile.empty()) DeviceSkinPath(line.skinFile, &skin, &line.error);
    if (!line.error.empty()) return Complain(line.error);
    if (line.help) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("numbrix %s\n", NUMBRIX_VERSION);
        return 0;
    }
    // Pictures and files of 128 KiB or more get mappings of their own, so what start-up frees
    // (file contents, a window's first picture, the mask's working copy) goes back to the system.
    // The C library would otherwise raise this threshold at the first such buffer freed and keep
    // the later ones in its heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    UseCataloguesOfEnvironment();
    if (!SdlHostStart(line.scale)) return 1;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(uintptr_t(0x00010000));   // the program's module
    std::u16string programLine = ProgramCommandLine(line.watch, skin);
    int exitCode = AppMain(instance, nullptr, programLine.data(), SW_SHOWNORMAL);
    SdlHostStop();
    return exitCode;
}
