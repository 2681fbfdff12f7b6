// The program's process entry on the SDL2 host: open the host, run the program's main routine
// with the instance handle and the show command, and end with its result as the exit code.
#include "platform/hosts/sdl/sdl_host.h"
#include "platform/windows.h"

#include <malloc.h>

// The program's main routine.
int AppMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);

int main(int, char**)
{
    // Pictures and files of 128 KiB or more get mappings of their own, so what start-up frees
    // (file contents, a window's first picture, the mask's working copy) goes back to the system.
    // The C library would otherwise raise this threshold at the first such buffer freed and keep
    // the later ones in its heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    if (!SdlHostStart()) return 1;
    static WCHAR commandLine[1] = {0};
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(uintptr_t(0x00010000));   // the program's module
    int exitCode = AppMain(instance, nullptr, commandLine, SW_SHOWNORMAL);
    SdlHostStop();
    return exitCode;
}
