// How the SDL2 host maps its window and events onto the device: the integer scale and letterbox
// of the 240 x 320 screen in a host window of any size, host pixels to screen points, and SDL
// events to device events. Pure functions, so they are tested without a window system.
#pragma once
#include "platform/types.h"

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
// The scale of a new host window: 2 when the usable desktop holds the doubled screen, else 1.
int InitialScale(int usableWidth, int usableHeight);
// A host-window pixel as a screen point (rounded down, so points left of or above the picture are
// negative). True when the point lies on the screen.
bool HostToScreen(const Viewport& view, int hostX, int hostY, POINT* screen);

struct DeviceEvent {
    enum Kind { None, StylusDown, StylusMove, StylusUp, KeyDown, KeyUp, Close, Minimize, Redraw };
    Kind kind = None;
    POINT point{};        // stylus events, screen coordinates
    UINT key = 0;         // key events: the virtual key
    bool control = false; // key events: a control key is held
};

// One SDL event as a device event for a host window of the given size showing the screen through
// `view`. The left mouse button or a touch is the stylus: a press off the picture is ignored,
// moves count only while pressed, a release always counts. Mouse events that SDL makes up from
// touches are ignored (the touch itself is used). Keys without a virtual key are ignored.
DeviceEvent TranslateEvent(const SDL_Event& event, const Viewport& view, int windowWidth, int windowHeight);
// The device's virtual key for an SDL key (letters as 'A'..'Z', digits as '0'..'9'), 0 for none.
UINT VirtualKeyFromSdl(SDL_Keycode key);
