// Loading a skin over the one in use without losing it: the main window's live reload of the
// skin file that the author is editing.
#pragma once
#include "platform/types.h"

// Loads the skin at skinPath with LoadSkin, its message (if any) left in `message` (MAX_PATH
// units, empty when it loads) instead of being shown. When it does not load, the skin in use
// stays whole: its surfaces, cells, areas and sounds are as they were. 0 when the new skin is
// loaded; then the old skin's surfaces are released.
int32_t ReloadSkin(LPCWSTR skinPath, LPWSTR message);
