// The shell's input-panel bookkeeping on activation and setting changes. There is no input panel
// on this device, so the panel is always down: the record only follows activation, as the shell
// keeps it for a program.
#include "platform/shell.h"
#include "platform/windows.h"

namespace {
constexpr WPARAM SpiSetSipInfo = 224;
}

// Deactivation remembers whether the panel was up, so that activation could raise it again.
BOOL SHHandleWMActivate(HWND, WPARAM wParam, LPARAM, SHACTIVATEINFO* info, DWORD)
{
    if (!info) return FALSE;
    bool active = LOWORD(wParam) != WA_INACTIVE;
    if (!active) info->fSipOnDeactivation = info->fSipUp;
    info->fActive = active ? 1 : 0;
    return TRUE;
}

// A change of the panel's state is the only setting the shell follows here: it is down.
BOOL SHHandleWMSettingChange(HWND, WPARAM wParam, LPARAM, SHACTIVATEINFO* info)
{
    if (!info) return FALSE;
    if (wParam == SpiSetSipInfo) info->fSipUp = 0;
    return TRUE;
}
