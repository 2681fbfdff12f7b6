// The window manager's services to the rest of the platform (windows.cpp); the program never
// includes this. A window's backing surface (WindowBackingSurface) is in inspect.h, since tests
// and tools read it too.
#pragma once
#include "platform/accessibility.h"
#include "platform/inspect.h"
#include "platform/pixels.h"
#include "platform/types.h"

#include <string>
#include <vector>

// Where drawing on a window's client area lands: the backing surface of its top-level ancestor,
// the position of the client area's top-left corner in that surface (the DC origin), and the part
// of the surface the window may draw on (its client area cut by every ancestor's, in surface
// pixels; may be empty). For a top-level window origin is (0, 0) and clip the whole surface.
// False, with nothing written, when the handle is not a live window.
bool WindowDrawTarget(HWND window, PixelBuffer** surface, POINT* origin, RECT* clip);
// GDI calls this after drawing into a window (top-level or child), so the screen is composed again.
void WindowSurfaceChanged(HWND window);
// The same for a rectangle of a top-level window's backing surface: only that is composed again.
void WindowSurfaceAreaChanged(HWND window, const RECT& area);

// Top-level windows in z-order, bottom first (hidden ones included), and the active one: the
// topmost shown top-level window that may be activated (null when there is none).
std::vector<HWND> TopLevelWindows();
HWND ActiveWindow();
// The first-created top-level window still alive (the program's main window), or null.
HWND MainTopLevelWindow();
// A child's parent, or null for a top-level window; a top-level window's owner (the parent handed
// to CreateWindowExW), or null. The top-level window that contains a window (itself if top-level).
HWND WindowParent(HWND window);
HWND WindowOwner(HWND window);
HWND TopLevelAncestor(HWND window);
// A window's children in creation order (the first created is topmost among its siblings).
std::vector<HWND> ChildWindows(HWND window);
// A child window's identifier (the HMENU argument of CreateWindowExW), 0 for top-level windows.
UINT_PTR WindowId(HWND window);
DWORD WindowStyle(HWND window);
std::u16string WindowTitle(HWND window);
std::u16string WindowClassName(HWND window);
// Brings a top-level window, with the windows it owns above it, to the top of the z-order and
// updates activation (SetForegroundWindow on a window of this process).
void RaiseWindow(HWND window);
// Shown: the window and all its ancestors are visible.
bool WindowShown(HWND window);
// Screen coordinates of a window's client-area top-left corner.
POINT WindowClientOrigin(HWND window);
// The deepest shown window under a screen point: the topmost shown top-level window containing it,
// then its topmost shown child containing it, and so on. Null over no window.
HWND WindowFromScreenPoint(int x, int y);

// A window that may not be activated never becomes the active window and its title never shows
// (the menu bar, pop-up menus). Windows may be activated by default.
void SetWindowNoActivate(HWND window, bool noActivate);
// The face a window described itself with (SetWindowAccessibleFace), or null. A window marked as
// an alert is a message box to assistive technologies.
const AccessibleFace* WindowAccessibleFace(HWND window);
void SetWindowAlert(HWND window);
bool WindowIsAlert(HWND window);
// A window whose input is disabled, or whose top-level ancestor's is, gets no stylus input and no
// keyboard message is dispatched to it (the owner of a modal dialog). Enabled by default.
void SetWindowInputEnabled(HWND window, bool enabled);
bool WindowInputEnabled(HWND window);
// The shell's title bar shows an "OK" button instead of the close button while this window is
// the active one; tapping it posts WM_COMMAND IDOK to the window. WS_EX_CAPTIONOKBTN at creation
// sets it too.
void SetTitleBarOkButton(HWND window, bool okButton);
bool TitleBarOkButton(HWND window);

// Stylus capture: while set, every stylus message goes to this window. Destroying or hiding the
// window releases it.
void SetStylusCapture(HWND window);
void ReleaseStylusCapture();
HWND StylusCapture();
// Whether the control key was down when the last keyboard message was taken from the queue (the
// accelerator translation reads it, as GetKeyState would).
bool ControlKeyDown();

// Puts an input message at the end of the queue with the control-key state it was made with and,
// for a key-down, the text that TranslateMessage makes characters of.
void PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool control,
                      const std::u16string& text = std::u16string());
// The time stamp of a message posted now (MSG.time), in milliseconds; thread-safe.
DWORD MessageTime();
// Takes the next message as GetMessageW does (posted messages, then the quit request, then a paint
// for a shown window with a non-empty update region) without waiting for host input. False when
// there is none.
bool TakeNextMessage(MSG* msg);
// Destroys every window (WM_DESTROY as usual), then forgets classes, queued messages, the quit
// request, capture and activation: a fresh device, for tests.
void ResetWindows();
