// Shared inside the platform only: the program never includes this.
#pragma once
#include "platform/resources.h"
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A 32-bit colour picture, 0x00RRGGBB per pixel, rows top-down.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    void Resize(int w, int h, uint32_t fill = 0xFFFFFF)
    {
        width = w > 0 ? w : 0;
        height = h > 0 ? h : 0;
        pixels.assign(size_t(width) * size_t(height), fill);
    }
};

// ---- Windows (windows.cpp) ----

// The client-area picture of a top-level window (its backing surface), or null when the handle
// is not a live top-level window (a child window has none of its own: see WindowDrawTarget).
// The window manager owns it; GDI draws into it through GetDC.
PixelBuffer* WindowBackingSurface(HWND window);
// Where drawing on a window's client area lands: the backing surface of its top-level ancestor,
// the position of the client area's top-left corner in that surface (the DC origin), and the part
// of the surface the window may draw on (its client area cut by every ancestor's, in surface
// pixels; may be empty). For a top-level window origin is (0, 0) and clip the whole surface.
// False, with nothing written, when the handle is not a live window.
bool WindowDrawTarget(HWND window, PixelBuffer** surface, POINT* origin, RECT* clip);
// GDI calls this after drawing into a window (top-level or child), so the screen is composed again.
void WindowSurfaceChanged(HWND window);

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
// A window whose input is disabled, or whose top-level ancestor's is, gets no stylus input (the
// owner of a modal dialog). Enabled by default.
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

// Puts an input message at the end of the queue with the control-key state it was made with.
void PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool control);
// Takes the next message as GetMessageW does (posted messages, then the quit request, then a paint
// for a shown window with a non-empty update region) without waiting for host input. False when
// there is none.
bool TakeNextMessage(MSG* msg);
// Destroys every window (WM_DESTROY as usual), then forgets classes, queued messages, the quit
// request, capture and activation: a fresh device, for tests.
void ResetWindows();

// ---- Single instance (instance.cpp) ----

// windows.cpp tells the instance lock about top-level windows as they come and go: the window
// that another instance of the program may look for starts listening for its requests.
void InstanceWindowCreated(HWND window, const std::u16string& className, const std::u16string& title);
void InstanceWindowDestroyed(HWND window);
// Stops listening and gives up every lock this process holds (a fresh device, for tests).
void ReleaseInstanceLocks();

// ---- Host input (input.cpp): host events in screen coordinates become posted messages ----

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

// ---- Screen composition (screen.cpp) ----

constexpr int ScreenWidth = 240;
constexpr int ScreenHeight = 320;
constexpr int TitleBarHeight = 26;
// Something on the screen changed (a surface drawn, a window shown, moved, raised or destroyed,
// the active window changed): the screen is composed again when next wanted, and the host is told.
void ScreenChanged();
// True when the screen changed since it was last composed.
bool ScreenDirty();
// The 240 x 320 screen: every shown top-level window's surface in z-order, then the title bar.
// Composed only when something changed since the last call.
const PixelBuffer& ComposedScreen();
enum class TitleBarButton { None, Close, Ok };
// The title-bar button at a screen point, for the active window.
TitleBarButton TitleBarButtonAt(int x, int y);

// ---- Text (font.cpp) ----

// UTF-16 text drawn with the Japanese-capable sans font that fontconfig finds, loaded at first use.
// Without any font nothing is drawn and every width is 0. Sizes are the font's em size in pixels.
// Draws `text` with its line box's top-left at (x, y), blending `color` (0x00RRGGBB) over the
// target by coverage, inside `clip` (target coordinates; null: the whole target). Returns the
// advance width in pixels.
int RenderText(PixelBuffer& target, int x, int y, const std::u16string& text, int pixelSize,
               uint32_t color, const RECT* clip = nullptr);
int TextWidth(const std::u16string& text, int pixelSize);
// Height of a line box (ascent + descent) at this size; 0 without a font.
int TextLineHeight(int pixelSize);
bool FontAvailable();
// Tests: use this font file instead of asking fontconfig (an empty path: no font at all; null:
// back to fontconfig). Closes what was loaded.
// Starts looking the font up in the background; the first text drawn waits for it.
void PrefetchFont();
void UseFontFile(const char* path);

// ---- The shell's own drawing (shell_drawing.cpp): menus, dialogs, controls, message boxes ----

constexpr uint32_t ShellWhite = 0xFFFFFF;
constexpr uint32_t ShellBlack = 0x000000;
constexpr uint32_t ShellGrey = 0xD6D3CE;         // menu bar, scroll bar track
constexpr uint32_t ShellDarkGrey = 0x848284;     // separators, edges
constexpr uint32_t ShellHighlight = 0x0A2A7A;    // selected entries and items, as the title bar
// Drawing on one window's client area in client coordinates, cut to what the window may draw on
// (see WindowDrawTarget). Draws nothing for a window that is gone.
class WindowCanvas {
public:
    explicit WindowCanvas(HWND window);
    ~WindowCanvas();   // tells the window manager that the surface changed
    WindowCanvas(const WindowCanvas&) = delete;
    WindowCanvas& operator=(const WindowCanvas&) = delete;
    void Fill(const RECT& rect, uint32_t color);
    void Frame(const RECT& rect, uint32_t color, int thickness = 1);
    // The 2-pixel sunken edge of WS_EX_CLIENTEDGE just inside the rectangle.
    void SunkenEdge(const RECT& rect);
    // Text with its line box's top-left at (x, y), cut to `clip` (client coordinates) when given.
    int Text(int x, int y, const std::u16string& text, int pixelSize, uint32_t color, const RECT* clip = nullptr);
    void Image(int x, int y, const ImageResource& image);
    void Plot(int x, int y, uint32_t color);
private:
    HWND window_;
    PixelBuffer* surface_ = nullptr;
    POINT origin_{};
    RECT clip_{};
};
// Breaks text into lines no wider than `width` at this size: at spaces where it can, inside a
// word (or between Japanese characters) where a word alone is too wide; at line feeds always.
std::vector<std::u16string> WrapText(const std::u16string& text, int width, int pixelSize);

// ---- Controls (controls.cpp): the classes "LISTBOX", "BUTTON" and "STATIC" ----

// Registers the control classes on this device unless they are registered already.
void EnsureControlClasses();
// The creation parameter of a control made from a dialog template: the text size of the dialog's
// font. A control created without it uses DefaultControlTextSize. SS_ICON and SS_BITMAP statics
// find their picture by the resource number in the window name, in the creation's instance.
struct ControlCreation {
    int textSize;
};
constexpr int DefaultControlTextSize = 12;

// ---- Dialogs (dialogs.cpp) and message boxes (message_box.cpp) ----

// A dialog template's font point size as a pixel size on this screen.
int DialogTextSize(const DialogTemplate& dialogTemplate);
// Where a full-screen dialog of this owner goes: below the title bar, above the owner's menu bar
// when it has one, else down to the bottom of the screen.
RECT WorkArea(HWND owner);
// The window-based modal message box (the SDL host's MessageBoxW): caption in the title bar,
// wrapped text, an OK button. Returns IDOK when it is dismissed.
int RunMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption);

// ---- The menu bar (menu_bar.cpp) and pop-up menus (popup_menu.cpp) ----

// The shown menu bar of a top-level window, or null.
HWND MenuBarOf(HWND window);
struct PopupItem {
    std::u16string text;   // empty for a separator
    UINT command = 0;
    bool separator = false;
    bool checked = false;
};
// Shows a pop-up menu of these items whose bottom-left corner is at (left, bottom) in screen
// coordinates, owned by `owner`, and runs its loop: a tap on an item chooses it, a tap anywhere
// else, a key or any message other than a paint closes it. Returns the chosen command, 0 for none.
UINT TrackPopup(HWND owner, const std::vector<PopupItem>& items, int left, int bottom);

// ---- Other shared helpers ----

// Device path (backslashes) to host path (slashes) and back.
std::string HostPathFromDevice(LPCWSTR devicePath);
std::u16string DevicePathFromHost(const std::string& hostPath);
std::string Utf8FromUtf16(const std::u16string& text);
std::u16string Utf16FromUtf8(const std::string& text);
// Decodes UTF-8 into text (ill-formed bytes as U+FFFD) and tells whether all of it was well-formed.
bool Utf16FromValidUtf8(std::string_view bytes, std::u16string& text);

// Bitmaps: a colour bitmap from 0x00RRGGBB pixels, rows top-down (the top byte is cleared); null
// when the size is not positive, the pixel count does not match, or it exceeds MaxBitmapPixels.
// No bitmap is larger: 16 Mi pixels, 64 MiB of colour, far beyond what a 240 x 268 face needs and
// the device's memory, so a small hostile file cannot make a skin load take hundreds of megabytes.
constexpr int64_t MaxBitmapPixels = int64_t(1) << 24;
HBITMAP CreateColourBitmap(int width, int height, std::vector<uint32_t> pixels);

// The registered resources, for the platform's own drawing of icons, menus, menu bars and
// accelerators. Null when there is no such resource.
struct MenuResource;
struct MenuBarResource;
struct AcceleratorResource;
// Of an icon's images, the one whose width is nearest to preferredSize (the larger on a tie).
const ImageResource* FindIconImage(HINSTANCE instance, UINT id, int preferredSize);
const ImageResource* IconImage(HICON icon, int preferredSize);   // icon from LoadIconW
const ImageResource* FindBitmapImage(HINSTANCE instance, UINT id);
const MenuResource* FindMenu(HINSTANCE instance, UINT id);
const MenuBarResource* FindMenuBar(HINSTANCE instance, UINT id);
const AcceleratorResource* FindAccelerators(HACCEL table);   // table from LoadAcceleratorsW
