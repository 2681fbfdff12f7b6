// A window class for tests that records every message its windows get, with a per-test hook to
// act on messages before default handling.
#pragma once
#include "platform/headless.h"
#include "platform/user/window_internals.h"
#include "platform/wince.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

struct ReceivedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<ReceivedMessage>& Received()
{
    static std::vector<ReceivedMessage> received;
    return received;
}

// Returns true when it handled the message and set *result; otherwise default handling follows.
using MessageHook = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT* result)>;
inline MessageHook& Hook()
{
    static MessageHook hook;
    return hook;
}

inline LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Received().push_back(ReceivedMessage{window, message, wParam, lParam});
    LRESULT result = 0;
    if (Hook()) {
        MessageHook hook = Hook();   // the hook may replace itself
        if (hook(window, message, wParam, lParam, &result)) return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

inline std::vector<UINT> MessagesTo(HWND window)
{
    std::vector<UINT> messages;
    for (const auto& m : Received())
        if (m.window == window) messages.push_back(m.message);
    return messages;
}

inline int CountOf(HWND window, UINT message)
{
    int count = 0;
    for (const auto& m : Received()) count += m.window == window && m.message == message;
    return count;
}

inline const ReceivedMessage* LastOf(HWND window, UINT message)
{
    for (auto it = Received().rbegin(); it != Received().rend(); ++it)
        if (it->window == window && it->message == message) return &*it;
    return nullptr;
}

inline bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline int XOf(LPARAM lParam) { return int(short(LOWORD(lParam))); }
inline int YOf(LPARAM lParam) { return int(short(HIWORD(lParam))); }

constexpr UINT WM_TEST = 0x0400;   // WM_USER

// Every test starts on a fresh device with the recording class registered.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetHeadlessDevice();
        Received().clear();
        Hook() = nullptr;
        WNDCLASSW cls{};
        cls.lpfnWndProc = RecordingProc;
        cls.lpszClassName = u"TestWindow";
        ASSERT_NE(RegisterClassW(&cls), 0);
    }
    void TearDown() override
    {
        Hook() = nullptr;
        ResetHeadlessDevice();
    }

    static HWND TopLevel(int x, int y, int width, int height, bool visible = true, LPCWSTR title = u"Test",
                         DWORD exStyle = 0, HWND owner = nullptr)
    {
        return CreateWindowExW(exStyle, u"TestWindow", title, visible ? WS_VISIBLE : 0, x, y, width, height,
                               owner, nullptr, nullptr, nullptr);
    }
    static HWND FullScreen(bool visible = true, LPCWSTR title = u"Test")
    {
        return TopLevel(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, visible, title);
    }
    static HWND Child(HWND parent, int id, int x, int y, int width, int height, bool visible = true)
    {
        return CreateWindowExW(0, u"TestWindow", u"", WS_CHILD | (visible ? WS_VISIBLE : 0), x, y, width, height,
                               parent, reinterpret_cast<HMENU>(uintptr_t(id)), nullptr, nullptr);
    }
    // Paints every window that waits for it, so the queue starts empty.
    static void Settle() { RunUntilIdle(); Received().clear(); }

    static void FillClient(HWND window, uint32_t color)
    {
        PixelBuffer* surface = nullptr;
        POINT origin;
        RECT clip;
        ASSERT_TRUE(WindowDrawTarget(window, &surface, &origin, &clip));
        for (LONG y = clip.top; y < clip.bottom; ++y)
            for (LONG x = clip.left; x < clip.right; ++x) surface->pixels[size_t(y) * size_t(surface->width) + size_t(x)] = color;
        WindowSurfaceChanged(window);
    }
};
