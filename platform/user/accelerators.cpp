// Keyboard accelerators: a key-down whose virtual key and modifiers match an entry of the table
// becomes WM_COMMAND with the entry's command (1 in the high word: from an accelerator). Shift and
// Alt are never down on this device's keyboard, so entries that need them never match. Entries
// with character codes instead of virtual keys are not emulated.
#include "platform/kernel/resource_internals.h"
#include "platform/resources.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

namespace {

// The flag 0x80 marks the last entry of a table in the resource format; the table's count says
// the same here, so it is ignored.
bool Matches(const ACCEL& entry, WPARAM key)
{
    if (!(entry.fVirt & FVIRTKEY)) NotImplemented("accelerators with character codes");
    if (entry.key != key) return false;
    bool control = (entry.fVirt & FCONTROL) != 0;
    return control == ControlKeyDown() && !(entry.fVirt & (FSHIFT | FALT));
}

}  // namespace

int TranslateAcceleratorW(HWND window, HACCEL table, MSG* msg)
{
    const AcceleratorResource* accelerators = FindAccelerators(table);
    if (!accelerators || !msg || !IsWindow(window) || msg->message != WM_KEYDOWN) return 0;
    for (int i = 0; accelerators->entries && i < accelerators->entryCount; ++i) {
        const ACCEL& entry = accelerators->entries[i];
        if (!Matches(entry, msg->wParam)) continue;
        SendMessageW(window, WM_COMMAND, MAKELONG(entry.cmd, 1), 0);
        return 1;
    }
    return 0;
}
