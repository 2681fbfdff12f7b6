// The calculator face in a window, as the program's main window, the skin tool's window and the
// tests' windows all show it: the state a face starts from, and the paint and stylus messages.
#pragma once
#include "platform/types.h"

#include <cstdint>

// Every key up, decimal mode, everything cleared: the calculator before its skin is loaded. Once
// the skin has loaded, SetRadixMode(Dec) gives the keys their decimal-mode states.
void ResetCalculator();
// The face's start as every window of it makes it: the calculator reset, the skin loaded by
// loadSkin (0 when it loaded, as LoadSkin), then decimal mode. Returns loadSkin's result; a skin
// that did not load leaves the keys as the reset left them.
int32_t StartFace(int32_t (*loadSkin)());

// WM_PAINT paints the whole face, WM_LBUTTONDOWN presses the key under the stylus and
// WM_LBUTTONUP lifts the pressed keys; key messages press keys too (face_keyboard.h). True when
// the message is one of these; it is then handled and its result is 0. A deactivation
// (WM_ACTIVATE with WA_INACTIVE) lifts the keys that the keyboard holds and is left to the caller.
bool HandleFaceMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
