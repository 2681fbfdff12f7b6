// The SDL2 host against SDL's dummy video driver: the hidden window shown after its first frame,
// the scaled picture, presenting only after a change, and host events becoming messages.
#include "platform/host.h"
#include "platform/hosts/sdl/sdl_host.h"
#include "platform/hosts/sdl/window_placement.h"
#include "platform/user/input.h"
#include "platform/user/screen_internals.h"
#include "platform/inspect.h"
#include "platform/user/window_internals.h"
#include "platform/wince.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

class SdlHost : public ::testing::Test {
protected:
    HWND main = nullptr;

    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        // The host keeps its window's place in the settings file: a file of this test's own.
        registry = ::testing::TempDir() + "numbrix-sdl-host-" + std::to_string(getpid()) + ".reg";
        std::remove(registry.c_str());
        setenv("NUMBRIX_REGISTRY", registry.c_str(), 1);
        ResetWindows();
        ASSERT_TRUE(SdlHostStart());
        WNDCLASSW cls{};
        cls.lpfnWndProc = Proc;
        cls.lpszClassName = u"SdlTestWindow";
        RegisterClassW(&cls);
        main = CreateWindowExW(0, u"SdlTestWindow", u"Main", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(main, nullptr);
        Fill(0xFF0000);
        MSG msg;
        while (TakeNextMessage(&msg)) DispatchMessageW(&msg);
    }
    void TearDown() override
    {
        ResetWindows();
        SdlHostStop();
        std::remove(registry.c_str());
        unsetenv("NUMBRIX_REGISTRY");
    }

    std::string registry;

    void Fill(uint32_t color)
    {
        PixelBuffer* surface = WindowBackingSurface(main);
        std::fill(surface->pixels.begin(), surface->pixels.end(), color);
    }

    static void Push(SDL_Event event)
    {
        event.common.timestamp = SDL_GetTicks();
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    static void PushButton(Uint32 type, int x, int y)
    {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        e.button.windowID = SDL_GetWindowID(SdlHostWindow());
        Push(e);
    }

    static void PushKey(Uint32 type, SDL_Keycode key, SDL_Scancode code, Uint16 mod)
    {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = code;
        e.key.keysym.mod = mod;
        e.key.windowID = SDL_GetWindowID(SdlHostWindow());
        Push(e);
    }

    static void PushText(const char* text)
    {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        std::strcpy(e.text.text, text);
        e.text.windowID = SDL_GetWindowID(SdlHostWindow());
        Push(e);
    }

    static void PushWindowEvent(Uint8 event)
    {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = event;
        e.window.windowID = SDL_GetWindowID(SdlHostWindow());
        Push(e);
    }

    // The colour shown at a host-window pixel, as 0x00RRGGBB.
    static uint32_t HostPixel(int x, int y)
    {
        SDL_Surface* surface = SDL_GetWindowSurface(SdlHostWindow());
        EXPECT_NE(surface, nullptr);
        if (!surface) return 0xDEADBEEF;
        SDL_LockSurface(surface);
        Uint32 raw = *reinterpret_cast<const Uint32*>(static_cast<const uint8_t*>(surface->pixels) +
                                                      size_t(y) * size_t(surface->pitch) + size_t(x) * 4);
        SDL_UnlockSurface(surface);
        Uint8 r, g, b;
        SDL_GetRGB(raw, surface->format, &r, &g, &b);
        return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
    }
};

TEST_F(SdlHost, ShowsTheHiddenWindowAfterTheFirstFrameAtScaleTwo)
{
    EXPECT_TRUE(SDL_GetWindowFlags(SdlHostWindow()) & SDL_WINDOW_HIDDEN);
    PushButton(SDL_MOUSEBUTTONDOWN, 100, 200);
    ASSERT_TRUE(HostWaitForInput());
    EXPECT_TRUE(SDL_GetWindowFlags(SdlHostWindow()) & SDL_WINDOW_SHOWN);
    int width, height;
    SDL_GetWindowSize(SdlHostWindow(), &width, &height);
    EXPECT_EQ(width, 480);
    EXPECT_EQ(height, 640);
    EXPECT_STREQ(SDL_GetWindowTitle(SdlHostWindow()), "Main") << "the host window follows the main window";
    EXPECT_EQ(HostPixel(0, 52), 0xFF0000u);    // screen (0, 26)
    EXPECT_EQ(HostPixel(479, 639), 0xFF0000u);
    uint32_t title = HostPixel(0, 0);
    EXPECT_EQ(HostPixel(1, 1), title) << "each screen pixel is two by two";
    EXPECT_EQ(HostPixel(1, 51), HostPixel(0, 50));
    EXPECT_NE(title, 0xFF0000u);
}

// The host window's title is the main window's in UTF-8: a character beyond the BMP comes from its
// surrogate pair, a lone surrogate becomes U+FFFD.
TEST_F(SdlHost, TheHostWindowTitleIsTheMainWindowTitleInUtf8)
{
    const struct {
        std::u16string title;
        const char* utf8;
    } cases[] = {
        {std::u16string{u'A', 0x96FB, 0xD83D, 0xDE00}, "A\xE9\x9B\xBB\xF0\x9F\x98\x80"},
        {std::u16string{u'A', 0xDE00, u'B'}, "A\xEF\xBF\xBD" "B"},
    };
    for (const auto& c : cases) {
        DestroyWindow(main);
        main = CreateWindowExW(0, u"SdlTestWindow", c.title.c_str(), WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        PushButton(SDL_MOUSEBUTTONDOWN, 100, 200);
        ASSERT_TRUE(HostWaitForInput());
        EXPECT_STREQ(SDL_GetWindowTitle(SdlHostWindow()), c.utf8);
    }
}

TEST_F(SdlHost, PressesBecomeMessagesInClientCoordinates)
{
    PushButton(SDL_MOUSEBUTTONDOWN, 100, 200);   // screen (50, 100)
    ASSERT_TRUE(HostWaitForInput());
    MSG msg;
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.hwnd, main);
    EXPECT_EQ(msg.message, UINT(WM_LBUTTONDOWN));
    EXPECT_EQ(LOWORD(msg.lParam), 50);
    EXPECT_EQ(HIWORD(msg.lParam), 74);
    PushButton(SDL_MOUSEBUTTONUP, 5, 5);         // over the title bar: still the release
    ASSERT_TRUE(HostWaitForInput());
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.message, UINT(WM_LBUTTONUP));
    EXPECT_EQ(msg.hwnd, main);
}

TEST_F(SdlHost, PresentsOnlyAfterTheScreenChanged)
{
    PushButton(SDL_MOUSEBUTTONDOWN, 100, 200);
    ASSERT_TRUE(HostWaitForInput());
    Fill(0x00FF00);   // drawn without telling the window manager
    PushButton(SDL_MOUSEBUTTONUP, 100, 200);
    ASSERT_TRUE(HostWaitForInput());
    EXPECT_EQ(HostPixel(100, 200), 0xFF0000u);
    WindowSurfaceChanged(main);
    PushButton(SDL_MOUSEBUTTONDOWN, 100, 200);
    ASSERT_TRUE(HostWaitForInput());
    EXPECT_EQ(HostPixel(100, 200), 0x00FF00u);
}

// After the first frame a change redraws what it changed and nothing else stays behind: a
// ragged shape, a block far from it, then one pixel changed back; every host pixel then shows the
// screen twice as large.
TEST_F(SdlHost, EveryChangeShowsWithoutTouchingTheRest)
{
    auto paint = [this](int left, int top, int width, int height, uint32_t color) {
        PixelBuffer* surface = WindowBackingSurface(main);
        for (int y = top; y < top + height; y++)
            std::fill_n(&surface->pixels[size_t(y) * size_t(surface->width) + size_t(left)], width, color);
        WindowSurfaceChanged(main);
    };
    auto present = [this] {
        PushButton(SDL_MOUSEMOTION, 0, 0);
        ASSERT_TRUE(HostWaitForInput());
    };
    paint(0, 0, 1, 1, 0xFF0000);
    present();
    paint(10, 20, 3, 2, 0x00FF00);
    paint(12, 22, 5, 1, 0x0000FF);
    paint(5, 23, 1, 1, 0x0000FF);
    present();
    paint(239, 150, 1, 5, 0x0000FF);
    present();
    paint(10, 20, 1, 1, 0xFF0000);
    present();
    const PixelBuffer& screen = ComposedScreen();
    int wrong = 0;
    for (int y = 0; y < 640; y++)
        for (int x = 0; x < 480; x++) wrong += HostPixel(x, y) != screen.pixels[size_t(y / 2) * 240 + size_t(x / 2)];
    EXPECT_EQ(wrong, 0);
}

TEST_F(SdlHost, ClosingAndMinimizingTheHostWindowGoToTheMainWindow)
{
    HWND top = CreateWindowExW(0, u"SdlTestWindow", u"Top", WS_VISIBLE, 0, 26, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    MSG msg;
    while (TakeNextMessage(&msg)) DispatchMessageW(&msg);
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    ASSERT_TRUE(HostWaitForInput());
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.hwnd, main);
    EXPECT_EQ(msg.message, UINT(WM_SIZE));
    EXPECT_EQ(msg.wParam, WPARAM(SIZE_MINIMIZED));
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    ASSERT_TRUE(HostWaitForInput());
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.hwnd, main);
    EXPECT_EQ(msg.message, UINT(WM_CLOSE));
    EXPECT_TRUE(IsWindow(top));
}

// The text SDL reports after a key-down travels with it and becomes its WM_CHAR; text typed with
// Ctrl held is none. Ctrl+Minus and Ctrl+Plus zoom the window (the dummy display holds scale 2 at
// most) and keep the chosen scale for the next run.
TEST_F(SdlHost, KeysCarryTheirTextAndControlWithPlusOrMinusZooms)
{
    PushKey(SDL_KEYDOWN, SDLK_EQUALS, SDL_SCANCODE_EQUALS, KMOD_LSHIFT);
    PushText("+");
    PushKey(SDL_KEYDOWN, SDLK_v, SDL_SCANCODE_V, KMOD_LCTRL);
    PushText("v");
    ASSERT_TRUE(HostWaitForInput());
    std::vector<std::pair<UINT, WPARAM>> seen;
    MSG msg;
    while (TakeNextMessage(&msg)) {
        TranslateMessage(&msg);
        if (msg.message != WM_PAINT) seen.emplace_back(msg.message, msg.wParam);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{
                        {WM_KEYDOWN, VK_OEM_PLUS}, {WM_CHAR, '+'}, {WM_KEYDOWN, 'V'}, {WM_CHAR, 0x16}}));

    // A zoom makes no message: a press after it ends the wait.
    PushKey(SDL_KEYDOWN, SDLK_MINUS, SDL_SCANCODE_MINUS, KMOD_LCTRL);
    PushButton(SDL_MOUSEBUTTONUP, 0, 0);
    ASSERT_TRUE(HostWaitForInput());
    int width, height;
    SDL_GetWindowSize(SdlHostWindow(), &width, &height);
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 320);
    PushKey(SDL_KEYDOWN, SDLK_PLUS, SDL_SCANCODE_EQUALS, KMOD_RCTRL);
    PushButton(SDL_MOUSEBUTTONUP, 0, 0);
    ASSERT_TRUE(HostWaitForInput());
    SDL_GetWindowSize(SdlHostWindow(), &width, &height);
    EXPECT_EQ(width, 480);
    SdlHostStop();
    EXPECT_EQ(LoadPlacement().scale, 2);
    ASSERT_TRUE(SdlHostStart());
}

}  // namespace
