// The control classes "LISTBOX", "BUTTON" and "STATIC" (controls.cpp).
#pragma once
#include "platform/types.h"

#include <string>
#include <vector>

// Registers the control classes on this device unless they are registered already.
void EnsureControlClasses();
// The creation parameter of a control made from a dialog template: the text size of the dialog's
// font. A control created without it uses DefaultControlTextSize. SS_ICON and SS_BITMAP statics
// find their picture by the resource number in the window name, in the creation's instance.
struct ControlCreation {
    int textSize;
};
constexpr int DefaultControlTextSize = 12;
// A list box's entries and its selection (-1: none), as a screen reader reads them; empty for a
// window that is no list box.
std::vector<std::u16string> ListBoxEntries(HWND window, int* selected);
// The text a static control shows: its window text without the prefix marks.
std::u16string StaticShownText(HWND window);
