// The keyboard on the calculator face. A key-down presses a named key (engine/keyboard_map.h) and
// a typed character the key it stands for, through the stylus's own press: the same action, sound
// and Down face. The face comes Up when the physical key that pressed it is released (messages
// carry the key's scan code in lParam bits 16-23); auto-repeat presses nothing. Ctrl+C copies the
// number shown and Ctrl+V pastes one.
#pragma once
#include "platform/types.h"

// WM_KEYDOWN, WM_CHAR and WM_KEYUP; true when the message is one of them, which is then handled.
bool HandleFaceKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Lifts every key that the keyboard holds down and forgets them: the face has lost the keyboard.
void ReleaseKeyboardKeys();
// Forgets the held keys without touching the face (a fresh calculator).
void ForgetKeyboardKeys();
