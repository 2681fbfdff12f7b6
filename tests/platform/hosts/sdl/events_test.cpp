#include "platform/hosts/sdl/events.h"
#include "platform/windows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FitCase {
    int width, height;
    Viewport expected;
};

class Fitting : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fitting, UsesTheLargestIntegerScaleCentred)
{
    Viewport v = FitViewport(GetParam().width, GetParam().height);
    EXPECT_EQ(v.scale, GetParam().expected.scale);
    EXPECT_EQ(v.x, GetParam().expected.x);
    EXPECT_EQ(v.y, GetParam().expected.y);
}

INSTANTIATE_TEST_SUITE_P(Windows, Fitting, ::testing::Values(
    FitCase{240, 320, {1, 0, 0}},
    FitCase{480, 640, {2, 0, 0}},
    FitCase{479, 640, {1, 119, 160}},      // one pixel short of double
    FitCase{800, 640, {2, 160, 0}},        // wide: bars left and right
    FitCase{480, 1000, {2, 0, 180}},       // tall: bars above and below
    FitCase{1000, 1000, {3, 140, 20}},
    FitCase{100, 100, {1, 0, 0}}));        // smaller than the screen: cut, never scale 0

TEST(HostToScreen, RoundsDownAndTellsWhetherThePointIsOnTheScreen)
{
    Viewport v{2, 160, 10};
    struct Case {
        int hostX, hostY;
        LONG x, y;
        bool inside;
    } cases[] = {{160, 10, 0, 0, true},   {161, 11, 0, 0, true},      {639, 649, 239, 319, true},
                 {640, 649, 240, 319, false}, {159, 10, -1, 0, false}, {158, 9, -1, -1, false}};
    for (const auto& c : cases) {
        POINT p;
        EXPECT_EQ(HostToScreen(v, c.hostX, c.hostY, &p), c.inside) << c.hostX << "," << c.hostY;
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}

SDL_Event MouseButton(Uint32 type, Uint8 button, int x, int y, Uint32 which = 0)
{
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    e.button.which = which;
    return e;
}

SDL_Event Motion(int x, int y, Uint32 state, Uint32 which = 0)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = state;
    e.motion.which = which;
    return e;
}

SDL_Event Finger(Uint32 type, float x, float y)
{
    SDL_Event e{};
    e.type = type;
    e.tfinger.x = x;
    e.tfinger.y = y;
    return e;
}

SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod, SDL_Scancode code = SDL_SCANCODE_A, Uint8 repeat = 0)
{
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    e.key.keysym.scancode = code;
    e.key.repeat = repeat;
    return e;
}

SDL_Event Window(Uint8 event)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    return e;
}

SDL_Event Quit()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    return e;
}

struct EventCase {
    const char* name;
    SDL_Event event;
    DeviceEvent::Kind kind;
    LONG x, y;
    UINT key;
    bool control;
};

class Translation : public ::testing::TestWithParam<EventCase> {};

// The host window is 800 x 700 showing the screen at scale 2 from (160, 30).
TEST_P(Translation, GivesTheDeviceEvent)
{
    const Viewport view{2, 160, 30};
    DeviceEvent d = TranslateEvent(GetParam().event, view, 800, 700);
    EXPECT_EQ(d.kind, GetParam().kind);
    if (d.kind == DeviceEvent::StylusDown || d.kind == DeviceEvent::StylusMove || d.kind == DeviceEvent::StylusUp) {
        EXPECT_EQ(d.point.x, GetParam().x);
        EXPECT_EQ(d.point.y, GetParam().y);
    }
    if (d.kind == DeviceEvent::KeyDown || d.kind == DeviceEvent::KeyUp) {
        EXPECT_EQ(d.key.virtualKey, GetParam().key);
        EXPECT_EQ(d.key.control, GetParam().control);
        EXPECT_EQ(d.key.scanCode, UINT(GetParam().event.key.keysym.scancode));
        EXPECT_EQ(d.key.repeat, GetParam().event.key.repeat != 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sdl, Translation,
    ::testing::Values(
        EventCase{"LeftPress", MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 161, 31), DeviceEvent::StylusDown, 0, 0, 0, false},
        EventCase{"LeftRelease", MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 400, 90), DeviceEvent::StylusUp, 120, 30, 0, false},
        EventCase{"RightPress", MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 400, 90), DeviceEvent::None, 0, 0, 0, false},
        EventCase{"PressOnTheBar", MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 90), DeviceEvent::None, 0, 0, 0, false},
        EventCase{"ReleaseOnTheBar", MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 20), DeviceEvent::StylusUp, -30, -5, 0, false},
        EventCase{"PressMadeFromATouch", MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 400, 90, SDL_TOUCH_MOUSEID), DeviceEvent::None, 0, 0, 0, false},
        EventCase{"DragWithTheButton", Motion(401, 91, SDL_BUTTON_LMASK), DeviceEvent::StylusMove, 120, 30, 0, false},
        EventCase{"HoverWithoutIt", Motion(401, 91, 0), DeviceEvent::None, 0, 0, 0, false},
        EventCase{"TouchDown", Finger(SDL_FINGERDOWN, 0.5f, 0.5f), DeviceEvent::StylusDown, 120, 160, 0, false},
        EventCase{"TouchMove", Finger(SDL_FINGERMOTION, 0.25f, 0.5f), DeviceEvent::StylusMove, 20, 160, 0, false},
        EventCase{"TouchUp", Finger(SDL_FINGERUP, 1.0f, 1.0f), DeviceEvent::StylusUp, 320, 335, 0, false},
        EventCase{"TouchDownOnTheBar", Finger(SDL_FINGERDOWN, 0.01f, 0.5f), DeviceEvent::None, 0, 0, 0, false},
        EventCase{"CtrlA", Key(SDL_KEYDOWN, SDLK_a, KMOD_LCTRL), DeviceEvent::KeyDown, 0, 0, 'A', true},
        EventCase{"RightCtrlQ", Key(SDL_KEYDOWN, SDLK_q, KMOD_RCTRL), DeviceEvent::KeyDown, 0, 0, 'Q', true},
        EventCase{"PlainSeven", Key(SDL_KEYDOWN, SDLK_7, KMOD_NONE), DeviceEvent::KeyDown, 0, 0, '7', false},
        EventCase{"ShiftIsNotControl", Key(SDL_KEYDOWN, SDLK_z, KMOD_LSHIFT), DeviceEvent::KeyDown, 0, 0, 'Z', false},
        EventCase{"KeyRelease", Key(SDL_KEYUP, SDLK_RETURN, KMOD_NONE, SDL_SCANCODE_RETURN), DeviceEvent::KeyUp, 0, 0, VK_RETURN, false},
        EventCase{"RepeatedKey", Key(SDL_KEYDOWN, SDLK_5, KMOD_NONE, SDL_SCANCODE_5, 1), DeviceEvent::KeyDown, 0, 0, '5', false},
        EventCase{"KeyWithoutVirtualKey", Key(SDL_KEYDOWN, SDLK_F13, KMOD_NONE), DeviceEvent::KeyDown, 0, 0, NoVirtualKey, false},
        EventCase{"ModifierKey", Key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_NONE, SDL_SCANCODE_LSHIFT), DeviceEvent::None, 0, 0, 0, false},
        EventCase{"CtrlEqualsZoomsIn", Key(SDL_KEYDOWN, SDLK_EQUALS, KMOD_LCTRL), DeviceEvent::ZoomIn, 0, 0, 0, false},
        EventCase{"CtrlKeypadMinusZoomsOut", Key(SDL_KEYDOWN, SDLK_KP_MINUS, KMOD_RCTRL), DeviceEvent::ZoomOut, 0, 0, 0, false},
        EventCase{"CtrlZeroResetsTheZoom", Key(SDL_KEYDOWN, SDLK_0, KMOD_LCTRL), DeviceEvent::ZoomReset, 0, 0, 0, false},
        EventCase{"RepeatedZoomDoesNothing", Key(SDL_KEYDOWN, SDLK_PLUS, KMOD_LCTRL, SDL_SCANCODE_A, 1), DeviceEvent::None, 0, 0, 0, false},
        EventCase{"EqualsWithoutCtrlIsAKey", Key(SDL_KEYDOWN, SDLK_EQUALS, KMOD_NONE, SDL_SCANCODE_EQUALS), DeviceEvent::KeyDown, 0, 0, VK_OEM_PLUS, false},
        EventCase{"Close", Window(SDL_WINDOWEVENT_CLOSE), DeviceEvent::Close, 0, 0, 0, false},
        EventCase{"Quit", Quit(), DeviceEvent::Close, 0, 0, 0, false},
        EventCase{"Minimized", Window(SDL_WINDOWEVENT_MINIMIZED), DeviceEvent::Minimize, 0, 0, 0, false},
        EventCase{"Exposed", Window(SDL_WINDOWEVENT_EXPOSED), DeviceEvent::Redraw, 0, 0, 0, false},
        EventCase{"Resized", Window(SDL_WINDOWEVENT_SIZE_CHANGED), DeviceEvent::Redraw, 0, 0, 0, false},
        EventCase{"FocusGained", Window(SDL_WINDOWEVENT_FOCUS_GAINED), DeviceEvent::None, 0, 0, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Keypad keys go by their physical key, whatever NumLock makes their key code.
TEST(VirtualKeys, FollowTheDevicesNumbering)
{
    struct Case {
        SDL_Keycode key;
        SDL_Scancode code;
        UINT vk;
    } cases[] = {{SDLK_a, SDL_SCANCODE_Q, 'A'},        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
                 {SDLK_0, SDL_SCANCODE_0, '0'},        {SDLK_9, SDL_SCANCODE_9, '9'},
                 {SDLK_KP_0, SDL_SCANCODE_KP_0, VK_NUMPAD0}, {SDLK_END, SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1},
                 {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, VK_DECIMAL}, {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
                 {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN}, {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
                 {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE}, {SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},
                 {SDLK_DELETE, SDL_SCANCODE_DELETE, VK_DELETE}, {SDLK_F9, SDL_SCANCODE_F9, VK_F9},
                 {SDLK_COMMA, SDL_SCANCODE_COMMA, VK_OEM_COMMA}, {SDLK_PLUS, SDL_SCANCODE_MINUS, VK_OEM_PLUS},
                 {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0},  {SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, 0},
                 {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, NoVirtualKey}};
    for (const auto& c : cases) {
        SDL_Keysym keysym{};
        keysym.sym = c.key;
        keysym.scancode = c.code;
        EXPECT_EQ(VirtualKeyFromSdl(keysym), c.vk) << SDL_GetKeyName(c.key);
    }
}

}  // namespace
