// Dialog layout (dialogs.cpp) and the window-based message box (message_box.cpp).
#pragma once
#include "platform/resources.h"
#include "platform/types.h"

#include <string>

// A dialog template's font point size as a pixel size on this screen.
int DialogTextSize(const DialogTemplate& dialogTemplate);
// Where a full-screen dialog of this owner goes: below the title bar, above the owner's menu bar
// when it has one, else down to the bottom of the screen.
RECT WorkArea(HWND owner);
// The window-based modal message box (the SDL host's MessageBoxW): caption in the title bar,
// wrapped text, an OK button. Returns IDOK when it is dismissed.
int RunMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption);
