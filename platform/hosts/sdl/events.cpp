#include "platform/hosts/sdl/events.h"

#include "platform/screen.h"
#include "platform/windows.h"

#include <algorithm>
#include <cmath>

namespace {

int FloorDiv(int value, int divisor)
{
    int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

DeviceEvent Stylus(DeviceEvent::Kind kind, const Viewport& view, int hostX, int hostY)
{
    DeviceEvent event;
    bool onScreen = HostToScreen(view, hostX, hostY, &event.point);
    event.kind = (kind == DeviceEvent::StylusDown && !onScreen) ? DeviceEvent::None : kind;
    return event;
}

DeviceEvent Touch(DeviceEvent::Kind kind, const SDL_TouchFingerEvent& finger, const Viewport& view,
                  int windowWidth, int windowHeight)
{
    int x = int(std::floor(finger.x * float(windowWidth)));
    int y = int(std::floor(finger.y * float(windowHeight)));
    return Stylus(kind, view, x, y);
}

DeviceEvent Key(DeviceEvent::Kind kind, const SDL_KeyboardEvent& key)
{
    DeviceEvent event;
    event.key = VirtualKeyFromSdl(key.keysym.sym);
    if (event.key == 0) return event;
    event.kind = kind;
    event.control = (key.keysym.mod & KMOD_CTRL) != 0;
    return event;
}

DeviceEvent WindowEvent(const SDL_WindowEvent& window)
{
    DeviceEvent event;
    switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE: event.kind = DeviceEvent::Close; break;
    case SDL_WINDOWEVENT_MINIMIZED: event.kind = DeviceEvent::Minimize; break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED: event.kind = DeviceEvent::Redraw; break;
    default: break;
    }
    return event;
}

}  // namespace

Viewport FitViewport(int windowWidth, int windowHeight)
{
    int scale = std::max(1, std::min(windowWidth / ScreenWidth, windowHeight / ScreenHeight));
    return Viewport{scale, std::max(0, (windowWidth - ScreenWidth * scale) / 2),
                    std::max(0, (windowHeight - ScreenHeight * scale) / 2)};
}

int InitialScale(int usableWidth, int usableHeight)
{
    return usableWidth >= 2 * ScreenWidth && usableHeight >= 2 * ScreenHeight ? 2 : 1;
}

bool HostToScreen(const Viewport& view, int hostX, int hostY, POINT* screen)
{
    int scale = std::max(1, view.scale);
    POINT p{FloorDiv(hostX - view.x, scale), FloorDiv(hostY - view.y, scale)};
    if (screen) *screen = p;
    return p.x >= 0 && p.y >= 0 && p.x < ScreenWidth && p.y < ScreenHeight;
}

DeviceEvent TranslateEvent(const SDL_Event& event, const Viewport& view, int windowWidth, int windowHeight)
{
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.which == SDL_TOUCH_MOUSEID || event.button.button != SDL_BUTTON_LEFT) return {};
        return Stylus(event.type == SDL_MOUSEBUTTONDOWN ? DeviceEvent::StylusDown : DeviceEvent::StylusUp,
                      view, event.button.x, event.button.y);
    case SDL_MOUSEMOTION:
        if (event.motion.which == SDL_TOUCH_MOUSEID || !(event.motion.state & SDL_BUTTON_LMASK)) return {};
        return Stylus(DeviceEvent::StylusMove, view, event.motion.x, event.motion.y);
    case SDL_FINGERDOWN:
        return Touch(DeviceEvent::StylusDown, event.tfinger, view, windowWidth, windowHeight);
    case SDL_FINGERMOTION:
        return Touch(DeviceEvent::StylusMove, event.tfinger, view, windowWidth, windowHeight);
    case SDL_FINGERUP:
        return Touch(DeviceEvent::StylusUp, event.tfinger, view, windowWidth, windowHeight);
    case SDL_KEYDOWN:
        return Key(DeviceEvent::KeyDown, event.key);
    case SDL_KEYUP:
        return Key(DeviceEvent::KeyUp, event.key);
    case SDL_WINDOWEVENT:
        return WindowEvent(event.window);
    case SDL_QUIT:
        return DeviceEvent{DeviceEvent::Close};
    default:
        return {};
    }
}

UINT VirtualKeyFromSdl(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) return UINT('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return UINT('0' + (key - SDLK_0));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return UINT(0x61 + (key - SDLK_KP_1));   // VK_NUMPAD1..9
    switch (key) {
    case SDLK_KP_0: return 0x60;   // VK_NUMPAD0
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_DELETE: return VK_DELETE;
    default: return 0;
    }
}
