#include "platform/hosts/sdl/events.h"

#include "platform/screen.h"
#include "platform/unicode.h"
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

DeviceEvent::Kind ZoomKind(SDL_Keycode key)
{
    switch (key) {
    case SDLK_EQUALS:
    case SDLK_PLUS:
    case SDLK_KP_PLUS: return DeviceEvent::ZoomIn;
    case SDLK_MINUS:
    case SDLK_KP_MINUS: return DeviceEvent::ZoomOut;
    case SDLK_0:
    case SDLK_KP_0: return DeviceEvent::ZoomReset;
    default: return DeviceEvent::None;
    }
}

DeviceEvent Key(DeviceEvent::Kind kind, const SDL_KeyboardEvent& key)
{
    DeviceEvent event;
    bool control = (key.keysym.mod & KMOD_CTRL) != 0;
    if (kind == DeviceEvent::KeyDown && control && ZoomKind(key.keysym.sym) != DeviceEvent::None) {
        if (!key.repeat) event.kind = ZoomKind(key.keysym.sym);
        return event;
    }
    event.key.virtualKey = VirtualKeyFromSdl(key.keysym);
    if (event.key.virtualKey == 0) return event;
    event.kind = kind;
    event.key.scanCode = key.keysym.scancode < 256 ? UINT(key.keysym.scancode) : 0;
    event.key.control = control;
    event.key.repeat = kind == DeviceEvent::KeyDown && key.repeat != 0;
    return event;
}

UINT KeypadVirtualKey(SDL_Scancode code)
{
    if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9) return UINT(VK_NUMPAD0 + 1 + (code - SDL_SCANCODE_KP_1));
    switch (code) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    default: return 0;
    }
}

bool IsModifierOrLock(SDL_Scancode code)
{
    return (code >= SDL_SCANCODE_LCTRL && code <= SDL_SCANCODE_RGUI) || code == SDL_SCANCODE_CAPSLOCK ||
           code == SDL_SCANCODE_NUMLOCKCLEAR || code == SDL_SCANCODE_SCROLLLOCK || code == SDL_SCANCODE_MODE;
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
    case SDL_TEXTINPUT: {
        DeviceEvent text{DeviceEvent::Text};
        text.key.text = Utf16FromUtf8(event.text.text);
        return text;
    }
    case SDL_WINDOWEVENT:
        return WindowEvent(event.window);
    case SDL_QUIT:
        return DeviceEvent{DeviceEvent::Close};
    default:
        return {};
    }
}

UINT VirtualKeyFromSdl(const SDL_Keysym& keysym)
{
    if (UINT keypad = KeypadVirtualKey(keysym.scancode)) return keypad;
    if (IsModifierOrLock(keysym.scancode)) return 0;
    SDL_Keycode key = keysym.sym;
    if (key >= SDLK_a && key <= SDLK_z) return UINT('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return UINT('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return UINT(0x70 + (key - SDLK_F1));   // VK_F1..VK_F12
    switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: return VK_RETURN;
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
    case SDLK_EQUALS:
    case SDLK_PLUS: return VK_OEM_PLUS;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    default: return NoVirtualKey;
    }
}
