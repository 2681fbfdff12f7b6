// What a window that draws its own contents (the calculator face) tells assistive technologies
// about them: a list of items, each a label or a button with its name, state and rectangle, and
// an action for each button that works as a tap on it. The device itself has no such service; a
// host that serves a screen reader (the SDL host over AT-SPI) reads the items on the loop's
// thread whenever it looks at the screen, and sends an item's action back as a message that the
// window's default handling (DefWindowProcW) turns into a call of doItemAction.
#pragma once
#include "platform/types.h"

enum AccessibleItemRole : int32_t { AccessibleLabel = 0, AccessiblePushButton = 1, AccessibleRadioButton = 2 };

struct AccessibleItem {
    AccessibleItemRole role;
    WCHAR name[64];
    WCHAR description[64];
    RECT rect;         // in the window's client area
    BOOL enabled;      // a button that takes presses
    BOOL checked;      // a radio button that is on
};

struct AccessibleFace {
    int (*itemCount)();
    // Fills in item `index` (0 to itemCount() - 1) as it is now.
    void (*describeItem)(int index, AccessibleItem* item);
    // Presses button `index`; called on the loop's thread, never while the window takes no input.
    void (*doItemAction)(int index);
};

// The face stays the window's until the window is destroyed or another (null: none) is set.
void SetWindowAccessibleFace(HWND window, const AccessibleFace* face);
