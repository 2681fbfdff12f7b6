// The SDL2 host: one resizable host window shows the device screen at an integer scale with
// nearest-neighbour sampling, through the window's own surface (no accelerated renderer: it maps
// faster and uses far less memory). It presents only when the screen changed, right before it
// waits for events, and sleeps in SDL_WaitEvent while idle. It has the font prepared while it
// creates its window, and lets the audio device open once the first frame is shown.
// The keyboard's text is joined to the key-down that typed it; Ctrl with plus, minus and 0 zoom
// the window. The window's scale and place are kept for the next run (window_placement.h).
#include "platform/hosts/sdl/sdl_host.h"

#include "platform/accessible_tree.h"
#include "platform/font.h"
#include "platform/host.h"
#include "platform/hosts/sdl/accessibility.h"
#include "platform/hosts/sdl/events.h"
#include "platform/hosts/sdl/window_placement.h"
#include "platform/screen.h"
#include "platform/unicode.h"
#include "platform/user/input.h"
#include "platform/user/screen_internals.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

SDL_Window* hostWindow = nullptr;
bool shown = false;
bool redraw = true;       // something to present
bool wholeFrame = true;   // the whole window needs drawing, not only what changed
std::u16string shownTitle;
std::vector<uint32_t> frame;
// The surface the screen was last presented to, which holds that screen scaled: later frames are
// compared with it rather than with a copy of the screen.
const SDL_Surface* presentedSurface = nullptr;
int presentedWidth = 0, presentedHeight = 0;
// The SDL event types that carry another instance's raise request and the wake-up of a worker
// thread that posted a message (0 before the host starts).
std::atomic<Uint32> raiseEventType{0};
std::atomic<Uint32> wakeEventType{0};

void PushEvent(Uint32 type)
{
    if (type == 0) return;
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}

// The scale the user chose with the zoom keys (0: automatic) and the window's place, kept for the
// next run once the user has zoomed or moved the window.
StoredPlacement kept;
bool placementChanged = false;

void FollowMainWindowTitle()
{
    std::u16string title = WindowTitle(MainTopLevelWindow());
    if (title == shownTitle) return;
    shownTitle = title;
    SDL_SetWindowTitle(hostWindow, Utf8FromUtf16(title).c_str());
}

uint32_t* HostRow(uint8_t* rows, int pitch, int y)
{
    return reinterpret_cast<uint32_t*>(rows + size_t(y) * size_t(pitch));
}

// Scales a rectangle of the screen into rows of 0x00RRGGBB pixels of the host window's size.
// Each screen row is scaled once; the rows it covers below that are copies of it.
void DrawArea(const PixelBuffer& screen, const Viewport& view, uint8_t* rows, int pitch, int width, int height,
              const RECT& area)
{
    const int left = view.x + int(area.left) * view.scale;
    const int right = std::min(width, view.x + int(area.right) * view.scale);
    for (int y = area.top; y < area.bottom && left < right; ++y) {
        const int top = view.y + y * view.scale, bottom = std::min(height, top + view.scale);
        if (top >= bottom) break;
        uint32_t* target = HostRow(rows, pitch, top);
        const uint32_t* source = &screen.pixels[size_t(y) * size_t(screen.width) + size_t(area.left)];
        for (int x = left; x < right; ++source)
            for (int copy = 0; copy < view.scale && x < right; ++copy) target[x++] = *source;
        for (int row = top + 1; row < bottom; ++row) std::copy(target + left, target + right, HostRow(rows, pitch, row) + left);
    }
}

// The whole screen, black around it.
void DrawFrame(const PixelBuffer& screen, const Viewport& view, uint8_t* rows, int pitch, int width, int height)
{
    const int right = std::min(width, view.x + screen.width * view.scale);
    const int bottom = std::min(height, view.y + screen.height * view.scale);
    for (int y = 0; y < height; ++y) {
        uint32_t* target = HostRow(rows, pitch, y);
        if (y < view.y || y >= bottom) {
            std::fill(target, target + width, 0u);
            continue;
        }
        std::fill(target, target + view.x, 0u);
        std::fill(target + right, target + width, 0u);
    }
    DrawArea(screen, view, rows, pitch, width, height, RECT{0, 0, screen.width, screen.height});
}

// What the window's surface shows of the screen: the device pixels whose top-left host pixel it
// holds.
ScaledPicture ShownOnSurface(const SDL_Surface* surface, const Viewport& view)
{
    const uint8_t* origin = static_cast<const uint8_t*>(surface->pixels) + size_t(view.y) * size_t(surface->pitch);
    return ScaledPicture{reinterpret_cast<const uint32_t*>(origin) + view.x, size_t(surface->pitch) / 4, view.scale,
                         std::min(ScreenWidth, (surface->w - view.x + view.scale - 1) / view.scale),
                         std::min(ScreenHeight, (surface->h - view.y + view.scale - 1) / view.scale)};
}

// The host window's rectangles that show the screen's changed rectangles.
std::vector<SDL_Rect> HostRects(const std::vector<RECT>& changed, const Viewport& view)
{
    std::vector<SDL_Rect> rects;
    for (const RECT& r : changed)
        rects.push_back(SDL_Rect{view.x + int(r.left) * view.scale, view.y + int(r.top) * view.scale,
                                 int(r.right - r.left) * view.scale, int(r.bottom - r.top) * view.scale});
    return rects;
}

// Draws the screen into the window's surface and sends it to the display. After a first whole
// frame only the rectangles that changed are drawn and sent: a tap shows sooner, and the display
// server copies a key's and the display's pixels instead of the window. Those are the areas
// composed again when only drawings changed; otherwise the rectangles in which the screen
// differs from what the surface shows.
// A new surface (the window was resized), a surface of another pixel format, or the host's own
// request (an exposed window, a zoom) get the whole frame.
void Present()
{
    FollowMainWindowTitle();
    const PixelBuffer& screen = ComposedScreen();
    std::vector<RECT> composed;
    bool onlyComposed = TakeComposedAreas(&composed);
    // The window is shown once its first frame is composed, and the frame drawn at once: X keeps
    // no picture of a window that is not mapped, so a frame drawn before would be lost, and
    // mapping would wait for it.
    bool first = !shown;
    if (first) {
        SDL_ShowWindow(hostWindow);
        shown = true;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(hostWindow);
    if (!surface) {
        wholeFrame = true;
        return;
    }
    Viewport view = FitViewport(surface->w, surface->h);
    // The usual X11 surface holds 0x00RRGGBB already: draw straight into it; convert otherwise.
    bool direct = surface->format->format == SDL_PIXELFORMAT_RGB888;
    bool whole = wholeFrame || !direct || surface != presentedSurface || surface->w != presentedWidth ||
                 surface->h != presentedHeight;
    std::vector<RECT> changed;
    if (SDL_LockSurface(surface) == 0) {
        auto* pixels = static_cast<uint8_t*>(surface->pixels);
        if (!whole) {
            changed = onlyComposed ? std::move(composed) : ChangedRects(ShownOnSurface(surface, view), screen);
            for (const RECT& area : changed) DrawArea(screen, view, pixels, surface->pitch, surface->w, surface->h, area);
        } else if (direct) {
            DrawFrame(screen, view, pixels, surface->pitch, surface->w, surface->h);
        } else {
            frame.resize(size_t(surface->w) * size_t(surface->h));
            DrawFrame(screen, view, reinterpret_cast<uint8_t*>(frame.data()), surface->w * 4, surface->w, surface->h);
            SDL_ConvertPixels(surface->w, surface->h, SDL_PIXELFORMAT_RGB888, frame.data(), surface->w * 4,
                              surface->format->format, surface->pixels, surface->pitch);
        }
        SDL_UnlockSurface(surface);
    } else {
        wholeFrame = true;
        return;
    }
    if (whole) {
        SDL_UpdateWindowSurface(hostWindow);
    } else if (!changed.empty()) {
        std::vector<SDL_Rect> rects = HostRects(changed, view);
        SDL_UpdateWindowSurfaceRects(hostWindow, rects.data(), int(rects.size()));
    }
    presentedSurface = surface;
    presentedWidth = surface->w;
    presentedHeight = surface->h;
    redraw = false;
    wholeFrame = false;
    if (first) {
        TextFirstFrameShown();
        SoundFirstFrameShown();
        StartAccessibility();
    }
}

// The screen as screen readers see it, for the ATK thread, while one is served.
void PublishForScreenReaders()
{
    if (!AccessibilityOn()) return;
    HostPlacement where;
    SDL_GetWindowPosition(hostWindow, &where.windowX, &where.windowY);
    int width = 0, height = 0;
    SDL_GetWindowSize(hostWindow, &width, &height);
    Viewport view = FitViewport(width, height);
    where.viewX = view.x;
    where.viewY = view.y;
    where.scale = view.scale;
    PublishAccessibleTree(DescribeScreen(Utf16FromUtf8(NUMBRIX_APP_NAME)), where, AccessibleActionsDone());
}

// The text that SDL reports right after a key-down is what that key typed: it travels with the
// key-down, so that the program can pair the characters with their key. Text typed with Ctrl
// held is no text (the device makes control codes of such keys).
std::u16string TakeTextTypedBy(const SDL_KeyboardEvent& keyDown)
{
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1 || next.type != SDL_TEXTINPUT)
        return std::u16string();
    SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
    return (keyDown.keysym.mod & KMOD_CTRL) ? std::u16string() : Utf16FromUtf8(next.text.text);
}

std::vector<SDL_Rect> UsableDisplayAreas()
{
    std::vector<SDL_Rect> areas;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect usable;
        if (SDL_GetDisplayUsableBounds(i, &usable) == 0) areas.push_back(usable);
    }
    return areas;
}

// A new scale for the window, kept inside the usable area of the display it is on.
void Zoom(DeviceEvent::Kind kind)
{
    int display = std::max(0, SDL_GetWindowDisplayIndex(hostWindow));
    SDL_Rect usable{0, 0, ScreenWidth, ScreenHeight};
    SDL_GetDisplayUsableBounds(display, &usable);
    int width = 0, height = 0;
    SDL_GetWindowSize(hostWindow, &width, &height);
    int step = kind == DeviceEvent::ZoomIn ? 1 : -1;
    kept.scale = kind == DeviceEvent::ZoomReset ? 0 : ZoomedScale(FitViewport(width, height).scale, step, LargestScale(usable));
    int scale = kept.scale > 0 ? kept.scale : InitialScale(usable.w, usable.h);
    int x = 0, y = 0;
    SDL_GetWindowPosition(hostWindow, &x, &y);
    x = std::max(usable.x, std::min(x, usable.x + usable.w - ScreenWidth * scale));
    y = std::max(usable.y, std::min(y, usable.y + usable.h - ScreenHeight * scale));
    SDL_SetWindowSize(hostWindow, ScreenWidth * scale, ScreenHeight * scale);
    SDL_SetWindowPosition(hostWindow, x, y);
    redraw = wholeFrame = true;
    placementChanged = true;
}

// Turns one SDL event into device messages; true when it made any.
bool Handle(const SDL_Event& event)
{
    int width = 0, height = 0;
    if (raiseEventType != 0 && event.type == raiseEventType) {
        HostRaiseWindow();
        return false;
    }
    if (shown && event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_MOVED) placementChanged = true;
    if (wakeEventType != 0 && event.type == wakeEventType) return true;
    std::u16string typed = event.type == SDL_KEYDOWN ? TakeTextTypedBy(event.key) : std::u16string();
    SDL_GetWindowSize(hostWindow, &width, &height);
    SDL_Surface* surface = SDL_GetWindowSurface(hostWindow);
    Viewport view = surface ? FitViewport(surface->w, surface->h) : FitViewport(width, height);
    DeviceEvent device = TranslateEvent(event, view, width, height);
    switch (device.kind) {
    case DeviceEvent::None: return false;
    case DeviceEvent::StylusDown: DeliverStylus(StylusAction::Down, device.point.x, device.point.y); return true;
    case DeviceEvent::StylusMove: DeliverStylus(StylusAction::Move, device.point.x, device.point.y); return true;
    case DeviceEvent::StylusUp: DeliverStylus(StylusAction::Up, device.point.x, device.point.y); return true;
    case DeviceEvent::KeyDown: device.key.text = typed; DeliverKey(device.key, true); return true;
    case DeviceEvent::KeyUp: DeliverKey(device.key, false); return true;
    case DeviceEvent::Text: DeliverText(device.key.text); return true;
    case DeviceEvent::Close: DeliverCloseRequest(); return true;
    case DeviceEvent::Minimize: DeliverMinimizeRequest(); return true;
    case DeviceEvent::Redraw: redraw = wholeFrame = true; return false;
    case DeviceEvent::ZoomIn:
    case DeviceEvent::ZoomOut:
    case DeviceEvent::ZoomReset: Zoom(device.kind); return false;
    }
    return false;
}

bool Set(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}

// Without a display SDL falls back to a driver that shows nothing, and the program would run
// unseen until killed; a driver that SDL_VIDEODRIVER asks for is what the caller wants.
bool NoDisplayToOpen(const char* driver)
{
    if (Set("SDL_VIDEODRIVER")) return false;
    if (!driver) return !Set("DISPLAY") && !Set("WAYLAND_DISPLAY");
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

void ComplainNoDisplay()
{
    std::fprintf(stderr, "numbrix: no display to open (set DISPLAY or WAYLAND_DISPLAY)\n");
}

}  // namespace

bool SdlHostStart(int requestedScale)
{
    if (NoDisplayToOpen(nullptr)) {
        ComplainNoDisplay();
        return false;
    }
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The desktop groups the window with the program's desktop entry by this name: X11's WM_CLASS
    // (the entry's StartupWMClass) and Wayland's application id (the entry's file name). SDL reads
    // both from the environment when the video starts; a name set there already is kept.
    setenv("SDL_VIDEO_X11_WMCLASS", NUMBRIX_APP_ID, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", NUMBRIX_APP_ID, 0);
    // A killed process ends at once, as on the device, leaving the stored settings as they were;
    // SDL would otherwise turn SIGTERM into a close request that an open dialog can refuse.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL need not grab the pointer at a press: the window system sends the release to the window
    // that took the press anyway, and the grab cost round trips to the X server before the press
    // reached the program.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // A tap always presses what it lands on, as the device's stylus does, also the tap that
    // makes the window active: SDL would drop a press that comes within 10 ms of the focus.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "numbrix: cannot open the display: %s\n", SDL_GetError());
        return false;
    }
    if (NoDisplayToOpen(SDL_GetCurrentVideoDriver())) {
        ComplainNoDisplay();
        SDL_Quit();
        return false;
    }
    PrefetchFont();   // the title bar and the menu bar show text in the first frame
    SDL_StartTextInput();
    Uint32 firstType = SDL_RegisterEvents(2);
    raiseEventType = firstType == Uint32(-1) ? 0 : firstType;
    wakeEventType = firstType == Uint32(-1) ? 0 : firstType + 1;
    kept = LoadPlacement();
    Placement place = ChoosePlacement(kept, requestedScale, UsableDisplayAreas());
    int x = place.centred ? int(SDL_WINDOWPOS_CENTERED_DISPLAY(0)) : place.x;
    int y = place.centred ? int(SDL_WINDOWPOS_CENTERED_DISPLAY(0)) : place.y;
    hostWindow = SDL_CreateWindow("", x, y, ScreenWidth * place.scale, ScreenHeight * place.scale,
                                  SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!hostWindow) {
        std::fprintf(stderr, "numbrix: cannot create the window: %s\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    SDL_SetWindowMinimumSize(hostWindow, ScreenWidth, ScreenHeight);
    return true;
}

// Nothing is written when the user neither zoomed nor moved the window (a second instance shows
// none, and a run that ends at its skin dialog leaves the settings file as it was).
void SdlHostStop()
{
    SoundStop();
    StopAccessibility();
    if (hostWindow && placementChanged) {
        SDL_GetWindowPosition(hostWindow, &kept.x, &kept.y);
        SavePlacement(kept);
    }
    if (hostWindow) SDL_DestroyWindow(hostWindow);
    hostWindow = nullptr;
    raiseEventType = 0;
    wakeEventType = 0;
    shown = false;
    placementChanged = false;
    redraw = wholeFrame = true;
    presentedSurface = nullptr;
    shownTitle.clear();
    SDL_Quit();
}

SDL_Window* SdlHostWindow()
{
    return hostWindow;
}

bool HostWaitForInput()
{
    if (!hostWindow) return false;
    for (;;) {
        if (redraw || ScreenDirty()) Present();
        PublishForScreenReaders();
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) return false;
        bool messages = Handle(event);
        while (SDL_PollEvent(&event)) messages = Handle(event) || messages;
        if (messages) return true;
    }
}

void HostScreenChanged()
{
    redraw = true;
}

void HostRaiseWindow()
{
    if (!hostWindow) return;
    SDL_RestoreWindow(hostWindow);
    SDL_RaiseWindow(hostWindow);
}

bool HostSetClipboardText(const std::u16string& text)
{
    return SDL_SetClipboardText(Utf8FromUtf16(text).c_str()) == 0;
}

bool HostGetClipboardText(std::u16string* text)
{
    char* held = SDL_GetClipboardText();
    if (!held) return false;
    *text = Utf16FromUtf8(held);
    SDL_free(held);
    return !text->empty();
}

// SDL_PushEvent may be called from any thread; the event wakes SDL_WaitEvent.
void HostPostRaiseRequest()
{
    PushEvent(raiseEventType);
}

void HostWake()
{
    PushEvent(wakeEventType);
}
