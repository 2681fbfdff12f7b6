// Copy and paste of the number on the display, through the device's clipboard as Unicode text.
#pragma once
#include "platform/types.h"

// The number shown, without grouping commas, onto the clipboard; nothing in the error state.
void CopyShownNumber(HWND owner);
// The clipboard's text entered as a typed number (engine/pasted_number.h); a refused text
// changes nothing.
void PasteNumberFromClipboard(HWND owner);
