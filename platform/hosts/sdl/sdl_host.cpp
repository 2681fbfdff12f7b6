// The SDL2 host: one resizable host window shows the device screen at an integer scale with
// nearest-neighbour sampling, through the window's own surface (no accelerated renderer: it maps
// faster and uses far less memory). It presents only when the screen changed, right before it
// waits for events, and sleeps in SDL_WaitEvent while idle. It has the font prepared while it
// creates its window, and lets the audio device open once the first frame is shown.
#include "platform/hosts/sdl/sdl_host.h"

#include "platform/font.h"
#include "platform/host.h"
#include "platform/hosts/sdl/events.h"
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
#include <string>
#include <vector>

namespace {

SDL_Window* hostWindow = nullptr;
bool shown = false;
bool redraw = true;
std::u16string shownTitle;
std::vector<uint32_t> frame;
// The SDL event type that carries another instance's raise request (0 before the host starts).
std::atomic<Uint32> raiseEventType{0};

void FollowMainWindowTitle()
{
    std::u16string title = WindowTitle(MainTopLevelWindow());
    if (title == shownTitle) return;
    shownTitle = title;
    SDL_SetWindowTitle(hostWindow, Utf8FromUtf16(title).c_str());
}

// Scales the screen into rows of 0x00RRGGBB pixels of the host window's size, black around it.
// Each screen row is scaled once; the rows it covers below that are copies of it.
void DrawFrame(const PixelBuffer& screen, const Viewport& view, uint8_t* rows, int pitch, int width, int height)
{
    const int right = std::min(width, view.x + screen.width * view.scale);
    const int bottom = std::min(height, view.y + screen.height * view.scale);
    const uint32_t* above = nullptr;
    for (int y = 0; y < height; ++y) {
        auto* target = reinterpret_cast<uint32_t*>(rows + size_t(y) * size_t(pitch));
        if (y < view.y || y >= bottom) {
            std::fill(target, target + width, 0u);
            continue;
        }
        if ((y - view.y) % view.scale != 0 && above) {
            std::copy(above, above + width, target);
            continue;
        }
        std::fill(target, target + view.x, 0u);
        std::fill(target + right, target + width, 0u);
        const uint32_t* source = &screen.pixels[size_t((y - view.y) / view.scale) * size_t(screen.width)];
        for (int x = view.x; x < right; ++source)
            for (int copy = 0; copy < view.scale && x < right; ++copy) target[x++] = *source;
        above = target;
    }
}

void Present()
{
    FollowMainWindowTitle();
    const PixelBuffer& screen = ComposedScreen();
    // The window is shown once its first frame is composed, and the frame drawn at once: X keeps
    // no picture of a window that is not mapped, so a frame drawn before would be lost, and
    // mapping would wait for it.
    bool first = !shown;
    if (first) {
        SDL_ShowWindow(hostWindow);
        shown = true;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(hostWindow);
    if (!surface) return;
    Viewport view = FitViewport(surface->w, surface->h);
    if (SDL_LockSurface(surface) == 0) {
        // The usual X11 surface holds 0x00RRGGBB already: draw straight into it; convert otherwise.
        if (surface->format->format == SDL_PIXELFORMAT_RGB888) {
            DrawFrame(screen, view, static_cast<uint8_t*>(surface->pixels), surface->pitch, surface->w, surface->h);
        } else {
            frame.resize(size_t(surface->w) * size_t(surface->h));
            DrawFrame(screen, view, reinterpret_cast<uint8_t*>(frame.data()), surface->w * 4, surface->w, surface->h);
            SDL_ConvertPixels(surface->w, surface->h, SDL_PIXELFORMAT_RGB888, frame.data(), surface->w * 4,
                              surface->format->format, surface->pixels, surface->pitch);
        }
        SDL_UnlockSurface(surface);
    }
    SDL_UpdateWindowSurface(hostWindow);
    redraw = false;
    if (first) SoundFirstFrameShown();
}

// Turns one SDL event into device messages; true when it made any.
bool Handle(const SDL_Event& event)
{
    int width = 0, height = 0;
    if (raiseEventType != 0 && event.type == raiseEventType) {
        HostRaiseWindow();
        return false;
    }
    SDL_GetWindowSize(hostWindow, &width, &height);
    SDL_Surface* surface = SDL_GetWindowSurface(hostWindow);
    Viewport view = surface ? FitViewport(surface->w, surface->h) : FitViewport(width, height);
    DeviceEvent device = TranslateEvent(event, view, width, height);
    switch (device.kind) {
    case DeviceEvent::None: return false;
    case DeviceEvent::StylusDown: DeliverStylus(StylusAction::Down, device.point.x, device.point.y); return true;
    case DeviceEvent::StylusMove: DeliverStylus(StylusAction::Move, device.point.x, device.point.y); return true;
    case DeviceEvent::StylusUp: DeliverStylus(StylusAction::Up, device.point.x, device.point.y); return true;
    case DeviceEvent::KeyDown: DeliverKey(device.key, true, device.control); return true;
    case DeviceEvent::KeyUp: DeliverKey(device.key, false, device.control); return true;
    case DeviceEvent::Close: DeliverCloseRequest(); return true;
    case DeviceEvent::Minimize: DeliverMinimizeRequest(); return true;
    case DeviceEvent::Redraw: redraw = true; return false;
    }
    return false;
}

}  // namespace

bool SdlHostStart()
{
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A killed process ends at once, as on the device, leaving the stored settings as they were;
    // SDL would otherwise turn SIGTERM into a close request that an open dialog can refuse.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "numbrix: cannot open the display: %s\n", SDL_GetError());
        return false;
    }
    PrefetchFont();   // the title bar and the menu bar show text in the first frame
    SDL_StopTextInput();
    Uint32 raiseType = SDL_RegisterEvents(1);
    raiseEventType = raiseType == Uint32(-1) ? 0 : raiseType;
    SDL_Rect usable{0, 0, 2 * ScreenWidth, 2 * ScreenHeight};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = SDL_Rect{0, 0, ScreenWidth, ScreenHeight};
    int scale = InitialScale(usable.w, usable.h);
    hostWindow = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, ScreenWidth * scale,
                                  ScreenHeight * scale, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!hostWindow) {
        std::fprintf(stderr, "numbrix: cannot create the window: %s\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    SDL_SetWindowMinimumSize(hostWindow, ScreenWidth, ScreenHeight);
    return true;
}

void SdlHostStop()
{
    SoundStop();
    if (hostWindow) SDL_DestroyWindow(hostWindow);
    hostWindow = nullptr;
    raiseEventType = 0;
    shown = false;
    redraw = true;
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

// SDL_PushEvent may be called from any thread; the event wakes SDL_WaitEvent.
void HostPostRaiseRequest()
{
    Uint32 type = raiseEventType;
    if (type == 0) return;
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}
