// Host input in screen coordinates becomes posted messages (input.cpp): what a host calls with
// its own events.
#pragma once
#include "platform/types.h"

#include <string>

enum class StylusAction { Down, Move, Up };
// Down: the shell's title bar takes a press on it; otherwise the deepest shown window under the
// point gets WM_LBUTTONDOWN in client coordinates (nothing when its input is disabled) and the
// capture. Move and Up go to the window that got the press, Up releases the capture; a release
// over the title-bar button that took the press carries out the button.
void DeliverStylus(StylusAction action, int x, int y);
// A key of the host's keyboard. Every message it makes carries its scan code in lParam bits 16-23,
// as on Windows, so a program pairs a key-up and the characters with the key-down they belong to.
struct HostKey {
    UINT virtualKey = 0;    // VK_*; NoVirtualKey for a key that has none
    UINT scanCode = 0;      // the host's number of the physical key, 1 to 255
    bool control = false;   // a control key is held
    bool repeat = false;    // key-down: the key was down already (auto-repeat); lParam bit 30
    std::u16string text;    // key-down: what the keyboard layout types with it
};
constexpr UINT NoVirtualKey = 0xFF;
// WM_KEYDOWN or WM_KEYUP to the active window. The key-down's text becomes WM_CHAR messages when
// TranslateMessage meets the key-down, as the device's keyboard layout would make them.
void DeliverKey(const HostKey& key, bool down);
// Text that no key press typed (an input method's): WM_CHAR for each code unit, scan code 0.
void DeliverText(const std::u16string& text);
// The host window is closed: WM_CLOSE to the main (first) top-level window, or to the active
// window while a modal dialog has turned the main window's input off.
void DeliverCloseRequest();
// The host window is minimized: WM_SIZE with SIZE_MINIMIZED to the main top-level window, unless
// a modal dialog has turned its input off.
void DeliverMinimizeRequest();
// Forgets a title-bar press in progress (tests start from a fresh device).
void ResetInputState();
