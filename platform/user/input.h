// Host input in screen coordinates becomes posted messages (input.cpp): what a host calls with
// its own events.
#pragma once
#include "platform/types.h"

enum class StylusAction { Down, Move, Up };
// Down: the shell's title bar takes a press on it; otherwise the deepest shown window under the
// point gets WM_LBUTTONDOWN in client coordinates (nothing when its input is disabled) and the
// capture. Move and Up go to the window that got the press, Up releases the capture; a release
// over the title-bar button that took the press carries out the button.
void DeliverStylus(StylusAction action, int x, int y);
// WM_KEYDOWN or WM_KEYUP with the virtual key to the active window.
void DeliverKey(UINT virtualKey, bool down, bool control);
// The host window is closed: WM_CLOSE to the main (first) top-level window, or to the active
// window while a modal dialog has turned the main window's input off.
void DeliverCloseRequest();
// The host window is minimized: WM_SIZE with SIZE_MINIMIZED to the main top-level window, unless
// a modal dialog has turned its input off.
void DeliverMinimizeRequest();
// Forgets a title-bar press in progress (tests start from a fresh device).
void ResetInputState();
