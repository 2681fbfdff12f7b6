// The calculator face as a screen reader reads it (platform/accessibility.h): the display as
// one label, then the 29 keys as buttons in key order.
#pragma once
#include "platform/wince.h"

// The display's text as the display draws it, or the error text in the error state.
void AccessibleDisplayName(WCHAR* name, int capacity);
// What a key does, in the catalogues' language: digits as themselves, the others by their texts.
void AccessibleKeyName(int key, WCHAR* name, int capacity);
// The main window tells its face to assistive technologies.
void DescribeFaceForScreenReaders(HWND window);
