// The Pocket PC menu bar: a top-level window at the bottom of the screen, owned by the window it
// serves and never active, made from a menu-bar resource. Each button shows its label string; a
// button with a sub-menu opens that pop-up of the menu above the bar, whose chosen item comes to
// the owner as WM_COMMAND; a button without one sends its own command. The bar keeps the pop-ups'
// items, so their check marks can be asked for (SHCMBM_GETSUBMENU) and set (CheckMenuItem).
// Not emulated: button images, menu bars without a resource (flags), sub-menus inside pop-ups.
#include "platform/shell.h"

#include "platform/accessible_tree.h"
#include "platform/faults.h"
#include "platform/font.h"
#include "platform/kernel/resource_internals.h"
#include "platform/screen.h"
#include "platform/ui/menus.h"
#include "platform/ui/shell_drawing.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr LPCWSTR MenuBarClass = u"MenuBar";
constexpr int ButtonPadding = 8;
constexpr int MinButtonWidth = 40;
constexpr int TextSize = 12;
constexpr int LabelMax = 100;

// The resource: menu id, button count, then per button image index, command, state, style,
// label string id, a zero word and the sub-menu index.
constexpr int HeaderWords = 2;
constexpr int WordsPerButton = 7;
constexpr WORD NoImage = 0xFFFE;
constexpr WORD NoSubMenu = 0xFFFF;
constexpr WORD StateEnabled = 0x04;
constexpr UINT MfByPosition = 0x0400;

// What an HMENU of a menu bar stands for: one pop-up's items.
struct PopupMenu {
    std::vector<PopupItem> items;
};

struct BarButton {
    std::u16string label;
    UINT command = 0;
    bool enabled = true;
    PopupMenu* menu = nullptr;   // null: the button sends its own command
    RECT rect{};
};

struct MenuBar {
    HWND owner = nullptr;
    std::vector<BarButton> buttons;
    std::vector<std::unique_ptr<PopupMenu>> menus;
    int pressed = -1;
};

std::map<HWND, std::unique_ptr<MenuBar>> bars;

PopupMenu* FindPopupMenu(HMENU handle)
{
    for (auto& [window, bar] : bars)
        for (auto& menu : bar->menus)
            if (reinterpret_cast<HMENU>(menu.get()) == handle) return menu.get();
    return nullptr;
}

std::unique_ptr<PopupMenu> MenuFromTemplate(const MenuTemplate& popup)
{
    auto menu = std::make_unique<PopupMenu>();
    for (int i = 0; popup.items && i < popup.itemCount; ++i) {
        PopupItem item;
        item.separator = popup.items[i].text == nullptr;
        item.text = item.separator ? u"" : popup.items[i].text;
        item.command = popup.items[i].command;
        menu->items.push_back(item);
    }
    return menu;
}

// Builds the bar from its resource; null when the resource or its menu is missing or malformed.
std::unique_ptr<MenuBar> BarFromResource(HINSTANCE instance, UINT id)
{
    const MenuBarResource* resource = FindMenuBar(instance, id);
    if (!resource || !resource->words || resource->wordCount < HeaderWords) return nullptr;
    const WORD* words = resource->words;
    int count = words[1];
    if (resource->wordCount < HeaderWords + count * WordsPerButton) return nullptr;
    const MenuResource* menu = FindMenu(instance, words[0]);
    if (!menu) return nullptr;
    auto bar = std::make_unique<MenuBar>();
    for (int i = 0; i < menu->popupCount; ++i) bar->menus.push_back(MenuFromTemplate(menu->popups[i]));
    LONG x = 0;
    for (int i = 0; i < count; ++i) {
        const WORD* button = words + HeaderWords + i * WordsPerButton;
        if (button[0] != NoImage) NotImplemented("menu bar buttons with images");
        BarButton b;
        b.command = button[1];
        b.enabled = (button[2] & StateEnabled) != 0;
        WCHAR label[LabelMax];
        if (LoadStringW(instance, button[4], label, LabelMax) > 0) b.label = label;
        if (button[6] != NoSubMenu) {
            if (button[6] >= bar->menus.size()) return nullptr;
            b.menu = bar->menus[button[6]].get();
        }
        LONG width = std::max(MinButtonWidth, TextWidth(b.label, TextSize) + 2 * ButtonPadding);
        b.rect = RECT{x, 1, x + width, MenuBarHeight};
        x += width;
        bar->buttons.push_back(b);
    }
    return bar;
}

void Paint(HWND window, const MenuBar& bar)
{
    WindowCanvas canvas(window);
    RECT client;
    GetClientRect(window, &client);
    canvas.Fill(client, ShellGrey);
    canvas.Fill(RECT{0, 0, client.right, 1}, ShellDarkGrey);
    int lineHeight = TextLineHeight(TextSize);
    for (int i = 0; i < int(bar.buttons.size()); ++i) {
        const BarButton& button = bar.buttons[size_t(i)];
        bool pressed = i == bar.pressed;
        if (pressed) canvas.Fill(button.rect, ShellHighlight);
        uint32_t ink = pressed ? ShellWhite : button.enabled ? ShellBlack : ShellDarkGrey;
        int x = int(button.rect.left + button.rect.right - TextWidth(button.label, TextSize)) / 2;
        int y = int(button.rect.top + button.rect.bottom - lineHeight) / 2;
        canvas.Text(x, y, button.label, TextSize, ink, &button.rect);
    }
}

int ButtonAt(const MenuBar& bar, LONG x, LONG y)
{
    for (int i = 0; i < int(bar.buttons.size()); ++i) {
        // The bar's top line (above the buttons) belongs to the button below it.
        const RECT& r = bar.buttons[size_t(i)].rect;
        RECT column{r.left, 0, r.right, r.bottom};
        if (PtInRect(&column, POINT{x, y})) return i;
    }
    return -1;
}

MenuBar* BarOf(HWND window)
{
    auto it = bars.find(window);
    return it == bars.end() ? nullptr : it->second.get();
}

// A press on a button opens its pop-up at once and waits for the choice; the command goes to the
// owner after the pop-up has closed. While a modal dialog or message box disables the owner, the
// bar takes no presses either.
void Press(HWND window, MenuBar& bar, LONG x, LONG y)
{
    int index = ButtonAt(bar, x, y);
    if (index < 0 || !bar.buttons[size_t(index)].enabled || !WindowInputEnabled(bar.owner)) return;
    HWND owner = bar.owner;
    const BarButton& button = bar.buttons[size_t(index)];
    if (!button.menu) {
        PostMessageW(owner, WM_COMMAND, MAKELONG(button.command, 0), 0);
        return;
    }
    bar.pressed = index;
    InvalidateRect(window, nullptr, FALSE);
    RECT barRect;
    GetWindowRect(window, &barRect);
    UINT chosen = TrackPopup(window, button.menu->items, int(barRect.left + button.rect.left), int(barRect.top));
    if (MenuBar* still = BarOf(window)) {   // the loop may have destroyed the bar
        still->pressed = -1;
        InvalidateRect(window, nullptr, FALSE);
    }
    if (chosen) PostMessageW(owner, WM_COMMAND, MAKELONG(chosen, 0), 0);
}

LRESULT MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuBar* bar = BarOf(window);
    if (!bar) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        Paint(window, *bar);
        break;
    case WM_LBUTTONDOWN:
        Press(window, *bar, short(LOWORD(lParam)), short(HIWORD(lParam)));
        return 0;
    case WM_ACCESSIBLEACTION:   // chooses the button's or an item's command, as the pop-up does
        if (WindowInputEnabled(bar->owner)) PostMessageW(bar->owner, WM_COMMAND, MAKELONG(wParam, 0), 0);
        AccessibleActionDone(uint64_t(lParam));
        return 0;
    case SHCMBM_GETSUBMENU:
        for (const BarButton& button : bar->buttons)
            if (button.command == UINT(lParam) && button.menu) return reinterpret_cast<LRESULT>(button.menu);
        return 0;
    case WM_DESTROY:
        bars.erase(window);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

BOOL SHCreateMenuBar(SHMENUBARINFO* info)
{
    if (ShouldFail("SHCreateMenuBar")) return FALSE;
    if (!info || !IsWindow(info->hwndParent)) return FALSE;
    if (info->dwFlags != 0) NotImplemented("SHCreateMenuBar with flags");
    if (info->nBmpId != 0 || info->cBmpImages != 0) NotImplemented("SHCreateMenuBar with button images");
    std::unique_ptr<MenuBar> bar = BarFromResource(info->hInstRes, info->nToolBarId);
    if (!bar) return FALSE;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MenuBarProc;
    windowClass.lpszClassName = MenuBarClass;
    RegisterClassW(&windowClass);   // fails harmlessly when it is there already
    bar->owner = TopLevelAncestor(info->hwndParent);
    HWND window = CreateWindowExW(0, MenuBarClass, u"", 0, 0, ScreenHeight - MenuBarHeight, ScreenWidth,
                                  MenuBarHeight, bar->owner, nullptr, info->hInstRes, nullptr);
    if (!window) return FALSE;
    bars[window] = std::move(bar);   // the bar's messages before this get default handling
    SetWindowNoActivate(window, true);
    ShowWindow(window, SW_SHOW);
    info->hwndMB = window;
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check)
{
    if (check & MfByPosition) NotImplemented("CheckMenuItem by position");
    PopupMenu* popup = FindPopupMenu(menu);
    if (!popup) return 0xFFFFFFFF;
    for (PopupItem& entry : popup->items)
        if (!entry.separator && entry.command == item) {
            DWORD previous = entry.checked ? MF_CHECKED : MF_UNCHECKED;
            entry.checked = (check & MF_CHECKED) != 0;
            entry.checkable = true;
            return previous;
        }
    return 0xFFFFFFFF;
}

std::vector<MenuBarButtonView> MenuBarButtons(HWND window)
{
    std::vector<MenuBarButtonView> views;
    if (MenuBar* bar = BarOf(window))
        for (const BarButton& button : bar->buttons)
            views.push_back(MenuBarButtonView{button.label, button.command, button.enabled, button.rect,
                                              button.menu ? button.menu->items : std::vector<PopupItem>()});
    return views;
}

HWND MenuBarOf(HWND window)
{
    if (!window) return nullptr;
    for (const auto& [bar, state] : bars)
        if (state->owner == window && WindowShown(bar)) return bar;
    return nullptr;
}
