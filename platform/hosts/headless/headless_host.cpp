// The headless host: injected input, the idle rule that ends a program under test by its normal
// path, and the screen as pixels and image files (see headless.h).
#include "platform/headless.h"

#include "platform/host.h"
#include "platform/user/input.h"
#include "platform/user/screen_internals.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

struct HostEvent {
    enum Kind { StylusDown, StylusMove, StylusUp, KeyDown, KeyUp, Text, Close, Minimize } kind;
    int x = 0;
    int y = 0;
    HostKey key{};
};

constexpr int ClosesBeforeDestroy = 3;   // a dialog that ignores closing is destroyed after these

std::deque<HostEvent> pending;
std::u16string clipboard;
bool clipboardHoldsText = false;
std::function<bool()> idleHandler;
HWND lastClosed = nullptr;
int closeAttempts = 0;
int raiseRequests = 0;

// Raise requests posted by the single-instance listener thread, taken on the loop's thread.
std::mutex postedRaisesLock;
int postedRaises = 0;

// Wake-ups of worker threads that posted messages, waited for by WaitForWorkerMessages.
std::mutex wakeLock;
std::condition_variable wakeSignal;
bool woken = false;

bool TakePostedRaises()
{
    int count;
    {
        std::lock_guard<std::mutex> guard(postedRaisesLock);
        count = postedRaises;
        postedRaises = 0;
    }
    for (int i = 0; i < count; ++i) HostRaiseWindow();
    return count > 0;
}

void Deliver(const HostEvent& event)
{
    switch (event.kind) {
    case HostEvent::StylusDown: DeliverStylus(StylusAction::Down, event.x, event.y); break;
    case HostEvent::StylusMove: DeliverStylus(StylusAction::Move, event.x, event.y); break;
    case HostEvent::StylusUp: DeliverStylus(StylusAction::Up, event.x, event.y); break;
    case HostEvent::KeyDown: DeliverKey(event.key, true); break;
    case HostEvent::KeyUp: DeliverKey(event.key, false); break;
    case HostEvent::Text: DeliverText(event.key.text); break;
    case HostEvent::Close: DeliverCloseRequest(); break;
    case HostEvent::Minimize: DeliverMinimizeRequest(); break;
    }
}

bool DeliverNextEvent()
{
    if (pending.empty()) return false;
    HostEvent event = pending.front();
    pending.pop_front();
    Deliver(event);
    closeAttempts = 0;
    return true;
}

void CloseTopmostWindow()
{
    HWND target = ActiveWindow();
    std::vector<HWND> all = TopLevelWindows();
    if (!target && !all.empty()) target = all.back();
    if (!target) {
        PostQuitMessage(0);
        return;
    }
    closeAttempts = target == lastClosed ? closeAttempts + 1 : 1;
    lastClosed = target;
    if (closeAttempts > ClosesBeforeDestroy) {
        closeAttempts = 0;
        DestroyWindow(target);
        return;
    }
    PostMessageW(target, WM_CLOSE, 0, 0);
}

std::vector<uint8_t> RgbBytes(const PixelBuffer& picture)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(picture.pixels.size() * 3);
    for (uint32_t pixel : picture.pixels) {
        bytes.push_back(uint8_t(pixel >> 16));
        bytes.push_back(uint8_t(pixel >> 8));
        bytes.push_back(uint8_t(pixel));
    }
    return bytes;
}

}  // namespace

// ---- The host interface ----

bool HostWaitForInput()
{
    if (TakePostedRaises()) return true;
    if (DeliverNextEvent()) return true;
    if (idleHandler && idleHandler()) return true;
    CloseTopmostWindow();
    return true;
}

void HostScreenChanged() {}

void HostRaiseWindow()
{
    ++raiseRequests;
}

void HostPostRaiseRequest()
{
    std::lock_guard<std::mutex> guard(postedRaisesLock);
    ++postedRaises;
}

bool HostSetClipboardText(const std::u16string& text)
{
    clipboard = text;
    clipboardHoldsText = !text.empty();
    return true;
}

bool HostGetClipboardText(std::u16string* text)
{
    if (!clipboardHoldsText) return false;
    *text = clipboard;
    return true;
}

void HostWake()
{
    {
        std::lock_guard<std::mutex> guard(wakeLock);
        woken = true;
    }
    wakeSignal.notify_all();
}

// ---- For tests and tools ----

bool WaitForWorkerMessages(int timeoutMs)
{
    std::unique_lock<std::mutex> guard(wakeLock);
    bool arrived = wakeSignal.wait_for(guard, std::chrono::milliseconds(timeoutMs), [] { return woken; });
    woken = false;
    return arrived;
}

void InjectStylusDown(int x, int y)
{
    pending.push_back(HostEvent{HostEvent::StylusDown, x, y});
}

void InjectStylusMove(int x, int y)
{
    pending.push_back(HostEvent{HostEvent::StylusMove, x, y});
}

void InjectStylusUp(int x, int y)
{
    pending.push_back(HostEvent{HostEvent::StylusUp, x, y});
}

void InjectTap(int x, int y)
{
    InjectStylusDown(x, y);
    InjectStylusUp(x, y);
}

// The scan code is the virtual key's own number: one physical key for each virtual key.
void InjectKeyDown(UINT virtualKey, const std::u16string& text, bool control, bool repeat)
{
    pending.push_back(HostEvent{HostEvent::KeyDown, 0, 0, HostKey{virtualKey, virtualKey & 0xFF, control, repeat, text}});
}

void InjectKeyUp(UINT virtualKey, bool control)
{
    pending.push_back(HostEvent{HostEvent::KeyUp, 0, 0, HostKey{virtualKey, virtualKey & 0xFF, control, false, {}}});
}

void InjectKey(UINT virtualKey, bool control, const std::u16string& text)
{
    InjectKeyDown(virtualKey, text, control);
    InjectKeyUp(virtualKey, control);
}

void InjectText(const std::u16string& text)
{
    HostEvent event{HostEvent::Text};
    event.key.text = text;
    pending.push_back(event);
}

void InjectCloseRequest()
{
    pending.push_back(HostEvent{HostEvent::Close});
}

void InjectMinimizeRequest()
{
    pending.push_back(HostEvent{HostEvent::Minimize});
}

size_t PendingInput()
{
    return pending.size();
}

void SetIdleHandler(std::function<bool()> handler)
{
    idleHandler = std::move(handler);
}

bool RunUntilIdle()
{
    for (;;) {
        MSG msg;
        if (TakeNextMessage(&msg)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));
                return false;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        if (TakePostedRaises()) continue;
        if (!DeliverNextEvent()) return true;
    }
}

const PixelBuffer& ScreenPixels()
{
    return ComposedScreen();
}

uint32_t ScreenPixel(int x, int y)
{
    const PixelBuffer& screen = ComposedScreen();
    if (x < 0 || y < 0 || x >= screen.width || y >= screen.height) return 0;
    return screen.pixels[size_t(y) * size_t(screen.width) + size_t(x)];
}

bool WritePng(const PixelBuffer& picture, const std::string& path)
{
    if (picture.width <= 0 || picture.height <= 0) return false;
    std::vector<uint8_t> bytes = RgbBytes(picture);
    return stbi_write_png(path.c_str(), picture.width, picture.height, 3, bytes.data(), picture.width * 3) != 0;
}

bool WriteBmp(const PixelBuffer& picture, const std::string& path)
{
    if (picture.width <= 0 || picture.height <= 0) return false;
    std::vector<uint8_t> bytes = RgbBytes(picture);
    return stbi_write_bmp(path.c_str(), picture.width, picture.height, 3, bytes.data()) != 0;
}

int RaiseRequests()
{
    return raiseRequests;
}

void ResetHeadlessDevice()
{
    pending.clear();
    idleHandler = nullptr;
    lastClosed = nullptr;
    closeAttempts = 0;
    raiseRequests = 0;
    clipboard.clear();
    clipboardHoldsText = false;
    {
        std::lock_guard<std::mutex> guard(postedRaisesLock);
        postedRaises = 0;
    }
    {
        std::lock_guard<std::mutex> guard(wakeLock);
        woken = false;
    }
    ResetInputState();
    ResetWindows();
}
