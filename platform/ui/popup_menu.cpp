// Pop-up menus: a window that never becomes active, above the point it opens from, listing its
// items (separators as lines, a check mark before checked items), with a loop of its own that
// runs until an item is chosen or the menu is dismissed. While it runs, the pop-up alone gets the
// stylus: a press anywhere else closes the menu and goes no further, as on the device.
#include "platform/ui/menus.h"

#include "platform/font.h"
#include "platform/screen.h"
#include "platform/ui/shell_drawing.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <algorithm>
#include <map>

namespace {

constexpr LPCWSTR PopupClass = u"PopupMenu";
constexpr int ItemHeight = 22;
constexpr int SeparatorHeight = 7;
constexpr int CheckColumn = 18;    // the check marks' column left of the texts
constexpr int RightMargin = 12;
constexpr int MinWidth = 96;
constexpr int TextSize = 12;

struct Popup {
    std::vector<PopupItem> items;
    int hot = -1;         // the item under a press in progress
    bool tracking = false;
    UINT chosen = 0;
    bool closed = false;
};

std::map<HWND, Popup*> popups;   // the state lives on the stack of TrackPopup

int HeightOf(const PopupItem& item)
{
    return item.separator ? SeparatorHeight : ItemHeight;
}

// An item's rectangle in the pop-up's client area, inside the one-pixel frame.
RECT ItemRect(HWND window, const Popup& popup, int index)
{
    RECT client;
    GetClientRect(window, &client);
    LONG top = 1;
    for (int i = 0; i < index; ++i) top += HeightOf(popup.items[size_t(i)]);
    return RECT{1, top, client.right - 1, top + HeightOf(popup.items[size_t(index)])};
}

// The item (never a separator) at a point of the client area, or -1.
int ItemAt(HWND window, const Popup& popup, LONG x, LONG y)
{
    for (int i = 0; i < int(popup.items.size()); ++i) {
        RECT r = ItemRect(window, popup, i);
        if (PtInRect(&r, POINT{x, y})) return popup.items[size_t(i)].separator ? -1 : i;
    }
    return -1;
}

void DrawCheckMark(WindowCanvas& canvas, int x, int y, uint32_t color)
{
    for (int i = 0; i < 3; ++i) canvas.Fill(RECT{x + i, y + 3 + i, x + i + 2, y + 5 + i}, color);
    for (int i = 0; i < 6; ++i) canvas.Fill(RECT{x + 3 + i, y + 4 - i, x + 5 + i, y + 6 - i}, color);
}

void Paint(HWND window, const Popup& popup)
{
    WindowCanvas canvas(window);
    RECT client;
    GetClientRect(window, &client);
    canvas.Fill(client, ShellWhite);
    canvas.Frame(client, ShellBlack);
    int lineHeight = TextLineHeight(TextSize);
    for (int i = 0; i < int(popup.items.size()); ++i) {
        const PopupItem& item = popup.items[size_t(i)];
        RECT r = ItemRect(window, popup, i);
        if (item.separator) {
            LONG middle = (r.top + r.bottom) / 2;
            canvas.Fill(RECT{r.left + 3, middle, r.right - 3, middle + 1}, ShellDarkGrey);
            continue;
        }
        bool hot = i == popup.hot;
        uint32_t ink = hot ? ShellWhite : ShellBlack;
        if (hot) canvas.Fill(r, ShellHighlight);
        if (item.checked) DrawCheckMark(canvas, int(r.left) + 4, int(r.top + r.bottom) / 2 - 5, ink);
        canvas.Text(int(r.left) + CheckColumn, int(r.top) + (ItemHeight - lineHeight) / 2, item.text, TextSize, ink, &r);
    }
}

void SetHot(HWND window, Popup& popup, int hot)
{
    if (popup.hot == hot) return;
    popup.hot = hot;
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        popups[window] = static_cast<Popup*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    auto it = popups.find(window);
    if (it == popups.end()) return DefWindowProcW(window, message, wParam, lParam);
    Popup& popup = *it->second;
    LONG x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
    switch (message) {
    case WM_PAINT:
        Paint(window, popup);
        break;
    case WM_LBUTTONDOWN:
        popup.tracking = true;
        SetHot(window, popup, ItemAt(window, popup, x, y));
        return 0;
    case WM_MOUSEMOVE:
        if (popup.tracking) SetHot(window, popup, ItemAt(window, popup, x, y));
        return 0;
    case WM_LBUTTONUP: {
        if (!popup.tracking) return 0;
        popup.tracking = false;
        int item = ItemAt(window, popup, x, y);   // the stylus may have slid from another item
        if (item >= 0) {
            popup.chosen = popup.items[size_t(item)].command;
            popup.closed = true;
        }
        SetHot(window, popup, -1);
        return 0;
    }
    case WM_DESTROY:
        popups.erase(it);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool IsStylusMessage(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONUP;
}

bool IsKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
}

// One message of the menu's loop; false when the menu is to close.
bool HandleInMenu(HWND popup, const MSG& msg)
{
    if (msg.message == WM_PAINT || (IsStylusMessage(msg.message) && msg.hwnd == popup)) {
        DispatchMessageW(&msg);
        return true;
    }
    if (IsStylusMessage(msg.message)) return msg.message != WM_LBUTTONDOWN;   // the press is swallowed
    if (IsKeyMessage(msg.message)) return false;
    DestroyWindow(popup);   // anything else is for after the menu
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return false;
}

}  // namespace

UINT TrackPopup(HWND owner, const std::vector<PopupItem>& items, int left, int bottom)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PopupProc;
    windowClass.lpszClassName = PopupClass;
    RegisterClassW(&windowClass);   // fails harmlessly when it is there already
    Popup popup;
    popup.items = items;
    int width = MinWidth;
    int height = 2;
    for (const PopupItem& item : items) {
        width = std::max(width, CheckColumn + TextWidth(item.text, TextSize) + RightMargin + 2);
        height += HeightOf(item);
    }
    width = std::min(width, ScreenWidth);
    left = std::clamp(left, 0, ScreenWidth - width);
    HWND window = CreateWindowExW(0, PopupClass, u"", 0, left, bottom - height, width, height, owner, nullptr,
                                  nullptr, &popup);
    if (!window) return 0;
    SetWindowNoActivate(window, true);
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (!popup.closed && IsWindow(window)) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        if (!HandleInMenu(window, msg)) break;
    }
    if (IsWindow(window)) DestroyWindow(window);
    return popup.chosen;
}
