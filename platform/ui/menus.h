// The menu bar (menu_bar.cpp) and pop-up menus (popup_menu.cpp).
#pragma once
#include "platform/types.h"

#include <string>
#include <vector>

// The shown menu bar of a top-level window, or null.
HWND MenuBarOf(HWND window);
struct PopupItem {
    std::u16string text;   // empty for a separator
    UINT command = 0;
    bool separator = false;
    bool checked = false;
    bool checkable = false;   // CheckMenuItem has set or cleared its check mark
};
// A menu bar's buttons as they are now: label, command, state, rectangle in the bar's client
// area, and the items of its pop-up (none for a button that sends its own command).
struct MenuBarButtonView {
    std::u16string label;
    UINT command = 0;
    bool enabled = true;
    RECT rect{};
    std::vector<PopupItem> items;
};
std::vector<MenuBarButtonView> MenuBarButtons(HWND bar);
// Shows a pop-up menu of these items whose bottom-left corner is at (left, bottom) in screen
// coordinates, owned by `owner`, and runs its loop: a tap on an item chooses it, a tap anywhere
// else, a key or any message other than a paint closes it. Returns the chosen command, 0 for none.
UINT TrackPopup(HWND owner, const std::vector<PopupItem>& items, int left, int bottom);
