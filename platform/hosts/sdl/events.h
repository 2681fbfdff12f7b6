// How the SDL2 host maps its window and events onto the device: the integer scale and letterbox
// of the 240 x 320 screen in a host window of any size, host pixels to screen points, and SDL
// events to device events. Pure functions, so they are tested without a window system.
#pragma once
#include "platform/types.h"
#include "platform/user/input.h"

#include <SDL2/SDL_events.h>

// The screen drawn with its top-left at (x, y), each device pixel `scale` host pixels square.
struct Viewport {
    int scale;
    int x;
    int y;
};

// The largest integer scale at which the screen fits in a host window of this size (at least 1,
// cut off at the right and bottom when even that does not fit), centred with black bars.
Viewport FitViewport(int windowWidth, int windowHeight);
// A host-window pixel as a screen point (rounded down, so points left of or above the picture are
// negative). True when the point lies on the screen.
bool HostToScreen(const Viewport& view, int hostX, int hostY, POINT* screen);

struct DeviceEvent {
    enum Kind { None, StylusDown, StylusMove, StylusUp, KeyDown, KeyUp, Text, Close, Minimize, Redraw,
                ZoomIn, ZoomOut, ZoomReset };
    Kind kind = None;
    POINT point{};   // stylus events, screen coordinates
    HostKey key{};   // key events; Text: the text alone
};

// One SDL event as a device event for a host window of the given size showing the screen through
// `view`. The left mouse button or a touch is the stylus: a press off the picture is ignored,
// moves count only while pressed, a release always counts. Mouse events that SDL makes up from
// touches are ignored (the touch itself is used). Modifier and lock keys make no key events.
// Ctrl with plus or = (zoom in), minus (out) and 0 (the automatic scale) belong to the host.
// Text arrives alone here; the host joins it to the key-down that typed it.
DeviceEvent TranslateEvent(const SDL_Event& event, const Viewport& view, int windowWidth, int windowHeight);
// The device's virtual key for an SDL key: letters as 'A'..'Z' and digits as '0'..'9' after the
// layout, the keypad after its physical keys (the same with or without NumLock), NoVirtualKey
// for a key the device has no name for, 0 for modifier and lock keys.
UINT VirtualKeyFromSdl(const SDL_Keysym& key);
