// The emulated screen as assistive technologies see it, for a host that serves a screen reader
// (the SDL host over AT-SPI): a tree of accessible objects built on the loop's thread from what
// is shown now: the main window with the items its face describes (accessibility.h) and its menu
// bar with the pop-up's items, and each dialog and message box with its controls. The host keeps
// the last tree and compares the next with it; an object's key names the same thing in every tree.
// An object's action reaches the device as a WM_ACCESSIBLEACTION message to its target window
// (posted from any thread through the host), which presses the face's button, chooses the menu
// item, clicks the button or selects the list entry, as a tap there would.
// The OK button that the title bar shows for a dialog is one of the dialog's buttons. Left out: the
// pop-up menu's own window (its items are read from the menu bar), the rest of the title bar,
// pictures.
#pragma once
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <vector>

// wParam the item (a face's item index, a menu item's command, a list entry's index; 0 for a
// button), lParam a ticket that AccessibleActionsDone reports once the action has run.
#define WM_ACCESSIBLEACTION 0x03F0

enum class AccessibleRole {
    Application, Frame, Dialog, Alert, Label, PushButton, RadioButton, MenuBar, Menu, MenuItem, CheckMenuItem,
    List, ListItem,
};

struct AccessibleNode {
    std::string key;
    AccessibleRole role = AccessibleRole::Label;
    std::u16string name;
    std::u16string description;
    RECT rect{};              // on the device's screen
    bool enabled = true;
    bool checked = false;     // radio buttons and check menu items
    bool selected = false;    // list entries
    bool active = false;      // the frame, dialog or alert of the active window
    bool hasAction = false;
    int parent = -1;          // index of the parent node; -1 for the application
    HWND target = nullptr;    // where the action goes
    WPARAM item = 0;
    bool operator==(const AccessibleNode& other) const
    {
        return key == other.key && role == other.role && name == other.name && description == other.description &&
               rect.left == other.rect.left && rect.top == other.rect.top && rect.right == other.rect.right &&
               rect.bottom == other.rect.bottom && enabled == other.enabled && checked == other.checked &&
               selected == other.selected && active == other.active && hasAction == other.hasAction && parent == other.parent &&
               target == other.target && item == other.item;
    }
};

// Node 0 is the application, named `applicationName`; every node comes after its parent, and
// siblings in their order on the screen.
std::vector<AccessibleNode> DescribeScreen(const std::u16string& applicationName);

// The highest ticket whose WM_ACCESSIBLEACTION has been handled (0: none); loop's thread.
uint64_t AccessibleActionsDone();
// Called by the windows that handle WM_ACCESSIBLEACTION, with its lParam.
void AccessibleActionDone(uint64_t ticket);
