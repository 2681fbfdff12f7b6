// Host input in screen coordinates turned into the device's messages: the stylus goes to the
// window under it (or to the shell's title bar), keys to the active window, and the host window's
// close and minimize to the main window. Everything is posted, so it is handled in queue order.
#include "platform/user/input.h"

#include "platform/screen.h"
#include "platform/user/screen_internals.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

namespace {

// A press on the title bar belongs to the shell until its release.
bool titleBarPressed = false;
TitleBarButton pressedButton = TitleBarButton::None;

LPARAM ClientPoint(HWND window, int x, int y)
{
    POINT origin = WindowClientOrigin(window);
    return MAKELPARAM(x - origin.x, y - origin.y);
}

void PressTitleBarButton(TitleBarButton button)
{
    HWND active = ActiveWindow();
    if (!active) return;
    if (button == TitleBarButton::Close) PostInputMessage(active, WM_SIZE, SIZE_MINIMIZED, 0, false);
    if (button == TitleBarButton::Ok) PostInputMessage(active, WM_COMMAND, MAKELONG(IDOK, 0), 0, false);
}

void StylusDown(int x, int y)
{
    ReleaseStylusCapture();
    if (PtInRect(&TitleBarRect, POINT{x, y})) {
        titleBarPressed = true;
        pressedButton = TitleBarButtonAt(x, y);
        return;
    }
    HWND target = WindowFromScreenPoint(x, y);
    if (!target || !WindowInputEnabled(target)) return;
    SetStylusCapture(target);
    PostInputMessage(target, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(target, x, y), false);
}

void StylusUp(int x, int y)
{
    if (titleBarPressed) {
        titleBarPressed = false;
        TitleBarButton button = TitleBarButtonAt(x, y);
        if (button != TitleBarButton::None && button == pressedButton) PressTitleBarButton(button);
        return;
    }
    HWND target = StylusCapture();
    ReleaseStylusCapture();
    if (target) PostInputMessage(target, WM_LBUTTONUP, 0, ClientPoint(target, x, y), false);
}

}  // namespace

void DeliverStylus(StylusAction action, int x, int y)
{
    switch (action) {
    case StylusAction::Down:
        StylusDown(x, y);
        break;
    case StylusAction::Move:
        if (HWND target = StylusCapture(); target && !titleBarPressed)
            PostInputMessage(target, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(target, x, y), false);
        break;
    case StylusAction::Up:
        StylusUp(x, y);
        break;
    }
}

// lParam: repeat count 1, the scan code in bits 16-23, the previous key state in bit 30 (a
// repeated key-down and every key-up) and the release in bit 31.
void DeliverKey(const HostKey& key, bool down)
{
    HWND active = ActiveWindow();
    if (!active || key.virtualKey == 0) return;
    uint32_t flags = 1 | (key.scanCode & 0xFF) << 16;
    if (!down) flags |= 0xC0000000u;
    else if (key.repeat) flags |= 0x40000000u;
    PostInputMessage(active, down ? WM_KEYDOWN : WM_KEYUP, key.virtualKey, LPARAM(flags), key.control,
                     down ? key.text : std::u16string());
}

void DeliverText(const std::u16string& text)
{
    HWND active = ActiveWindow();
    if (!active) return;
    for (char16_t unit : text) PostInputMessage(active, WM_CHAR, unit, 1, false);
}

// While a modal dialog or message box keeps the main window's input off, closing the host window
// closes that dialog (its default handling cancels it) instead of destroying the main window under
// the dialog's loop, and minimizing does nothing: the device has no way to do either then.
void DeliverCloseRequest()
{
    HWND main = MainTopLevelWindow();
    if (!main) return;
    HWND modal = WindowInputEnabled(main) ? nullptr : ActiveWindow();
    PostInputMessage(modal ? modal : main, WM_CLOSE, 0, 0, false);
}

void DeliverMinimizeRequest()
{
    HWND main = MainTopLevelWindow();
    if (main && WindowInputEnabled(main)) PostInputMessage(main, WM_SIZE, SIZE_MINIMIZED, 0, false);
}

void ResetInputState()
{
    titleBarPressed = false;
    pressedButton = TitleBarButton::None;
    ReleaseStylusCapture();
}
