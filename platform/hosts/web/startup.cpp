// The program's entry in the web host. The page has put the program's folder (/numbrix: the skin
// folder and the catalogues) and the settings file in place and set the environment (LANG,
// NUMBRIX_REGISTRY) before main; its one argument, when given, is a skin file for this visit only
// (as the desktop's --skin). The page asks for the settings to be saved whenever it is hidden or
// left (numbrix_save_settings), since a page is not closed as a program is.
#include "platform/catalogue.h"
#include "platform/files.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "platform/windows.h"

#include <emscripten.h>

// The program's main routine, and its routine that stores its settings (run when its loop ends).
int AppMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);
void SaveSettings();

namespace {

EM_JS(void, ProgramEnded, (int exitCode), { Module.numbrix.ended(exitCode); });

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void numbrix_save_settings()
{
    SaveSettings();
}

int main(int argc, char** argv)
{
    OverrideModuleFileName("/numbrix/numbrix");
    UseCataloguesOfEnvironment();
    std::u16string skin = argc > 1 ? DevicePathFromHost(argv[1]) : std::u16string();
    if (skin.size() >= MAX_PATH) skin.clear();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(uintptr_t(0x00010000));   // the program's module
    int exitCode = AppMain(instance, nullptr, skin.data(), SW_SHOWNORMAL);
    ProgramEnded(exitCode);
    return exitCode;
}
