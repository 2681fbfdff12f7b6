// The web host: the device screen is the page's canvas (one canvas pixel per device pixel, scaled
// by the page), pointer and keyboard events of the page become the stylus and the keyboard, and
// the page's clipboard events carry copy and paste. The page script (site/page.js) queues its
// events in Module.numbrix; the message loop takes them one at a time, in order, and while there
// is none it waits for the next without a timer (an Asyncify suspension), after painting what
// changed on the canvas.
#include "platform/host.h"
#include "platform/screen.h"
#include "platform/unicode.h"
#include "platform/user/input.h"
#include "platform/user/screen_internals.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <emscripten.h>

namespace {

// Kinds of page events, as page.js numbers them.
enum PageEvent { NoEvent, StylusDown, StylusMove, StylusUp, KeyDown, KeyUp, Text };
// An event's numbers: kind, x, y, virtual key, scan code, control, repeat; then its text.
constexpr int EventFields = 7;
constexpr int EventTextUnits = 64;

EM_ASYNC_JS(void, WaitForPageEvent, (), {
    const host = Module.numbrix;
    if (host.events.length > 0) return;
    await new Promise(resolve => { host.wake = resolve; });
});

EM_JS(int, TakePageEvent, (int* fields, char16_t* text, int textUnits), {
    const event = Module.numbrix.events.shift();
    if (!event) return 0;
    const numbers = [event.kind, event.x | 0, event.y | 0, event.vk | 0, event.scan | 0, event.control ? 1 : 0,
                     event.repeat ? 1 : 0];
    for (let i = 0; i < numbers.length; ++i) HEAP32[(fields >> 2) + i] = numbers[i];
    stringToUTF16(event.text || "", text, textUnits * 2);
    return 1;
});

EM_JS(void, PaintCanvas, (const uint8_t* rgba, int width, int height, int x, int y, int w, int h), {
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    Module.numbrix.paint(new ImageData(pixels, width, height), x, y, w, h);
});

EM_JS(void, SetPageTitle, (const char* title), { Module.numbrix.setTitle(UTF8ToString(title)); });

EM_JS(void, WriteClipboard, (const char16_t* text), { Module.numbrix.writeClipboard(UTF16ToString(text)); });

// The text of the last paste event, or null when there is none.
EM_JS(char16_t*, ReadClipboard, (), {
    const text = Module.numbrix.pastedText;
    if (text === null || text === undefined || text === "") return 0;
    const bytes = text.length * 2 + 2;
    const copy = _malloc(bytes);
    stringToUTF16(text, copy, bytes);
    return copy;
});

bool shownOnce = false;
bool redraw = true;                  // the screen changed since the last paint
PixelBuffer presented;               // the screen as last painted
std::vector<uint8_t> rgba;           // the screen in the canvas's byte order
std::u16string shownTitle;

void ConvertArea(const PixelBuffer& screen, const RECT& area)
{
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            size_t i = size_t(y) * size_t(screen.width) + size_t(x);
            uint32_t pixel = screen.pixels[i];
            uint8_t* out = &rgba[i * 4];
            out[0] = uint8_t(pixel >> 16);
            out[1] = uint8_t(pixel >> 8);
            out[2] = uint8_t(pixel);
            out[3] = 255;
        }
}

void FollowMainWindowTitle()
{
    std::u16string title = WindowTitle(MainTopLevelWindow());
    if (title == shownTitle) return;
    shownTitle = title;
    SetPageTitle(Utf8FromUtf16(title).c_str());
}

// Paints the rectangles that changed since the last paint (the whole screen the first time).
void Present()
{
    FollowMainWindowTitle();
    const PixelBuffer& screen = ComposedScreen();
    std::vector<RECT> changed;
    if (!shownOnce || presented.width != screen.width || presented.height != screen.height) {
        rgba.assign(size_t(screen.width) * size_t(screen.height) * 4, 0);
        changed.push_back(RECT{0, 0, screen.width, screen.height});
    } else {
        changed = ChangedRects(presented, screen);
    }
    for (const RECT& area : changed) {
        ConvertArea(screen, area);
        PaintCanvas(rgba.data(), screen.width, screen.height, area.left, area.top, area.right - area.left,
                    area.bottom - area.top);
    }
    presented = screen;
    shownOnce = true;
    redraw = false;
}

void Deliver(const int* fields, const std::u16string& text)
{
    HostKey key{UINT(fields[3]), UINT(fields[4]), fields[5] != 0, fields[6] != 0, text};
    switch (fields[0]) {
    case StylusDown: DeliverStylus(StylusAction::Down, fields[1], fields[2]); break;
    case StylusMove: DeliverStylus(StylusAction::Move, fields[1], fields[2]); break;
    case StylusUp: DeliverStylus(StylusAction::Up, fields[1], fields[2]); break;
    case KeyDown: DeliverKey(key, true); break;
    case KeyUp: DeliverKey(key, false); break;
    case Text: DeliverText(text); break;
    default: break;
    }
}

}  // namespace

// One page event at a time: the loop handles what it made, and paints, before the next is taken.
bool HostWaitForInput()
{
    for (;;) {
        if (redraw || ScreenDirty()) Present();
        int fields[EventFields] = {};
        char16_t text[EventTextUnits + 1] = {};
        if (TakePageEvent(fields, text, EventTextUnits + 1)) {
            Deliver(fields, text);
            return true;
        }
        WaitForPageEvent();
    }
}

void HostScreenChanged()
{
    redraw = true;
}

void HostRaiseWindow() {}

bool HostSetClipboardText(const std::u16string& text)
{
    WriteClipboard(text.c_str());
    return true;
}

bool HostGetClipboardText(std::u16string* text)
{
    char16_t* held = ReadClipboard();
    if (!held) return false;
    *text = held;
    free(held);
    return true;
}
