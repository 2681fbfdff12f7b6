// The program's process entry on the SDL2 host: take the catalogues of the environment's language
// into use, open the host, run the program's main routine with the instance handle and the show
// command, and end with its result as the exit code.
#include "platform/catalogue.h"
#include "platform/hosts/sdl/sdl_host.h"
#include "platform/windows.h"

// The program's main routine.
int AppMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);

int main(int, char**)
{
    UseCataloguesOfEnvironment();
    if (!SdlHostStart()) return 1;
    static WCHAR commandLine[1] = {0};
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(uintptr_t(0x00010000));   // the program's module
    int exitCode = AppMain(instance, nullptr, commandLine, SW_SHOWNORMAL);
    SdlHostStop();
    return exitCode;
}
