// The control classes "LISTBOX", "BUTTON" and "STATIC" (controls.cpp).
#pragma once

// Registers the control classes on this device unless they are registered already.
void EnsureControlClasses();
// The creation parameter of a control made from a dialog template: the text size of the dialog's
// font. A control created without it uses DefaultControlTextSize. SS_ICON and SS_BITMAP statics
// find their picture by the resource number in the window name, in the creation's instance.
struct ControlCreation {
    int textSize;
};
constexpr int DefaultControlTextSize = 12;
