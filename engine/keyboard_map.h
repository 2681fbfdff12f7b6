// Which calculator key a desktop keyboard presses, following desktop calculator conventions:
// characters as the keyboard layout types them (digits, a-f, the point and comma, + - * / =),
// and named keys by their virtual key (Return, Escape, Delete, BackSpace, F5 F6 F8 F9 and the
// keypad, whose keys press the same calculator keys with or without NumLock).
#pragma once
#include "platform/types.h"

// The key index a typed character presses, or -1.
int KeyForCharacter(WCHAR character);
// The key index a named key presses, or -1 (keys that type characters are not named keys).
int KeyForVirtualKey(UINT virtualKey);
