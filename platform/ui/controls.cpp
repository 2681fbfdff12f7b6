// The controls of the platform's dialogs, as child windows of their own classes:
// - "LISTBOX": an unsorted list of strings with one selection; a tap selects, dragging moves the
//   selection; when the entries do not fit, a scroll bar with arrows, a page-wise track and a
//   thumb that can be dragged.
// - "BUTTON": push buttons (a default button has a bold border); press and release inside sends
//   WM_COMMAND with the button's id and BN_CLICKED to the parent.
// - "STATIC": text (wrapped), an icon (SS_ICON) or a bitmap (SS_BITMAP) named by resource number in
//   the window name; the control takes the picture's size, as on the device.
// WS_BORDER draws a black line, WS_EX_CLIENTEDGE a sunken edge, both inside the window (windows
// here have no non-client area). Other styles of these classes are not emulated and abort.
#include "platform/ui/controls.h"

#include "platform/accessible_tree.h"
#include "platform/dialogs.h"
#include "platform/font.h"
#include "platform/kernel/resource_internals.h"
#include "platform/ui/shell_drawing.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <algorithm>
#include <map>

namespace {

constexpr int ScrollBarWidth = 13;
constexpr int MinThumbHeight = 8;
constexpr int ItemPadding = 6;        // an entry's height is the text size plus this
constexpr int TextIndent = 3;

// List-box styles that change behaviour this emulation does not have.
constexpr DWORD LbsSort = 0x0002, LbsMultipleSel = 0x0008, LbsOwnerDrawFixed = 0x0010,
                LbsOwnerDrawVariable = 0x0020, LbsExtendedSel = 0x0800;
constexpr UINT FirstListBoxMessage = 0x0180, LastListBoxMessage = 0x01AF;
constexpr DWORD StaticTypeMask = 0x1F;
constexpr DWORD ButtonTypeMask = 0x0F;

struct ControlBase {
    int textSize = DefaultControlTextSize;
    bool clientEdge = false;
};

struct ListBox : ControlBase {
    enum class Drag { None, Entries, Thumb };
    std::vector<std::u16string> entries;
    int selected = -1;
    int top = 0;
    Drag drag = Drag::None;
    int dragStartY = 0;
    int dragStartTop = 0;
};

struct Button : ControlBase {
    bool tracking = false;
    bool pressed = false;
};

struct Static : ControlBase {
    const ImageResource* image = nullptr;
};

std::map<HWND, ListBox> listBoxes;
std::map<HWND, Button> buttons;
std::map<HWND, Static> statics;

LONG XOf(LPARAM lParam) { return short(LOWORD(lParam)); }
LONG YOf(LPARAM lParam) { return short(HIWORD(lParam)); }

void ReadCreation(LPARAM lParam, ControlBase& control)
{
    auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (auto* creation = static_cast<const ControlCreation*>(create->lpCreateParams))
        control.textSize = creation->textSize;
    control.clientEdge = (create->dwExStyle & WS_EX_CLIENTEDGE) != 0;
}

// The client area inside the border and the sunken edge.
RECT Inner(HWND window, const ControlBase& control)
{
    RECT r;
    GetClientRect(window, &r);
    int inset = ((WindowStyle(window) & WS_BORDER) ? 1 : 0) + (control.clientEdge ? 2 : 0);
    return RECT{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
}

void DrawFrameAndEdge(WindowCanvas& canvas, HWND window, const ControlBase& control)
{
    RECT r;
    GetClientRect(window, &r);
    if (control.clientEdge) {
        canvas.SunkenEdge(r);
        r = RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    }
    if (WindowStyle(window) & WS_BORDER) canvas.Frame(r, ShellBlack);
}

void NotifyParent(HWND window, WORD code)
{
    SendMessageW(WindowParent(window), WM_COMMAND, MAKELONG(WindowId(window), code), reinterpret_cast<LPARAM>(window));
}

// ---- List box ----

struct ListGeometry {
    RECT entries;       // where the entries are drawn
    bool scrolls = false;
    RECT up{}, down{}, track{}, thumb{};
    int itemHeight = 0;
    int fullRows = 1;   // entries that fit whole
    int maxTop = 0;
};

ListGeometry Geometry(HWND window, const ListBox& list)
{
    ListGeometry g;
    RECT inner = Inner(window, list);
    g.itemHeight = list.textSize + ItemPadding;
    int count = int(list.entries.size());
    int height = std::max(0, int(inner.bottom - inner.top));
    g.fullRows = std::max(1, height / g.itemHeight);
    g.scrolls = int64_t(count) * g.itemHeight > height;
    g.entries = inner;
    g.maxTop = std::max(0, count - g.fullRows);
    if (!g.scrolls) return g;
    g.entries.right = std::max(inner.left, inner.right - ScrollBarWidth);
    LONG left = g.entries.right;
    g.up = RECT{left, inner.top, inner.right, inner.top + ScrollBarWidth};
    g.down = RECT{left, inner.bottom - ScrollBarWidth, inner.right, inner.bottom};
    g.track = RECT{left, g.up.bottom, inner.right, std::max(g.up.bottom, g.down.top)};
    int trackHeight = int(g.track.bottom - g.track.top);
    int thumbHeight = std::min(trackHeight, std::max(MinThumbHeight, trackHeight * g.fullRows / count));
    int thumbTop = g.maxTop ? (trackHeight - thumbHeight) * list.top / g.maxTop : 0;
    g.thumb = RECT{left, g.track.top + thumbTop, inner.right, g.track.top + thumbTop + thumbHeight};
    return g;
}

void Redraw(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
}

void ScrollTo(HWND window, ListBox& list, int top)
{
    top = std::clamp(top, 0, Geometry(window, list).maxTop);
    if (top == list.top) return;
    list.top = top;
    Redraw(window);
}

void MakeVisible(HWND window, ListBox& list, int index)
{
    ListGeometry g = Geometry(window, list);
    if (index < list.top) ScrollTo(window, list, index);
    else if (index >= list.top + g.fullRows) ScrollTo(window, list, index - g.fullRows + 1);
}

void Select(HWND window, ListBox& list, int index, bool byUser)
{
    if (index == list.selected) return;
    list.selected = index;
    Redraw(window);
    if (byUser && (WindowStyle(window) & LBS_NOTIFY)) NotifyParent(window, LBN_SELCHANGE);
}

int EntryAt(const ListGeometry& g, const ListBox& list, LONG y)
{
    int row = int((y - g.entries.top) / g.itemHeight);
    return y < g.entries.top ? -1 : list.top + row;
}

void ListStylusDown(HWND window, ListBox& list, LONG x, LONG y)
{
    ListGeometry g = Geometry(window, list);
    if (PtInRect(&g.entries, POINT{x, y})) {
        int index = EntryAt(g, list, y);
        list.drag = ListBox::Drag::Entries;
        if (index < int(list.entries.size())) Select(window, list, index, true);
        return;
    }
    if (!g.scrolls) return;
    if (PtInRect(&g.up, POINT{x, y})) ScrollTo(window, list, list.top - 1);
    else if (PtInRect(&g.down, POINT{x, y})) ScrollTo(window, list, list.top + 1);
    else if (PtInRect(&g.thumb, POINT{x, y})) {
        list.drag = ListBox::Drag::Thumb;
        list.dragStartY = int(y);
        list.dragStartTop = list.top;
    } else if (PtInRect(&g.track, POINT{x, y})) {
        ScrollTo(window, list, list.top + (y < g.thumb.top ? -g.fullRows : g.fullRows));
    }
}

void ListStylusMove(HWND window, ListBox& list, LONG y)
{
    ListGeometry g = Geometry(window, list);
    if (list.drag == ListBox::Drag::Entries) {
        LONG inside = std::clamp(y, g.entries.top, std::max(g.entries.top, g.entries.bottom - 1));
        int index = std::min(EntryAt(g, list, inside), int(list.entries.size()) - 1);
        if (index >= 0) Select(window, list, index, true);
    } else if (list.drag == ListBox::Drag::Thumb) {
        int trackHeight = int(g.track.bottom - g.track.top - (g.thumb.bottom - g.thumb.top));
        if (trackHeight > 0)
            ScrollTo(window, list, list.dragStartTop + (int(y) - list.dragStartY) * g.maxTop / trackHeight);
    }
}

void DrawArrow(WindowCanvas& canvas, const RECT& box, bool up)
{
    canvas.Fill(box, ShellWhite);
    canvas.Frame(box, ShellDarkGrey);
    int cx = int(box.left + box.right) / 2, cy = int(box.top + box.bottom) / 2;
    for (int row = 0; row < 4; ++row) {
        int y = up ? cy - 2 + row : cy + 1 - row;
        canvas.Fill(RECT{cx - row, y, cx + row + 1, y + 1}, ShellBlack);
    }
}

void PaintListBox(HWND window, const ListBox& list)
{
    WindowCanvas canvas(window);
    RECT client;
    GetClientRect(window, &client);
    canvas.Fill(client, ShellWhite);
    DrawFrameAndEdge(canvas, window, list);
    ListGeometry g = Geometry(window, list);
    int lineHeight = TextLineHeight(list.textSize);
    for (int i = list.top; i < int(list.entries.size()); ++i) {
        LONG top = g.entries.top + LONG(i - list.top) * g.itemHeight;
        if (top >= g.entries.bottom) break;
        RECT row{g.entries.left, top, g.entries.right, std::min(g.entries.bottom, top + g.itemHeight)};
        bool selected = i == list.selected;
        if (selected) canvas.Fill(row, ShellHighlight);
        canvas.Text(int(row.left) + TextIndent, int(top) + (g.itemHeight - lineHeight) / 2, list.entries[size_t(i)],
                    list.textSize, selected ? ShellWhite : ShellBlack, &row);
    }
    if (!g.scrolls) return;
    canvas.Fill(g.track, ShellGrey);
    canvas.Fill(g.thumb, ShellWhite);
    canvas.Frame(g.thumb, ShellDarkGrey);
    DrawArrow(canvas, g.up, true);
    DrawArrow(canvas, g.down, false);
}

LRESULT ListBoxMessage(HWND window, ListBox& list, UINT message, WPARAM wParam, LPARAM lParam)
{
    int count = int(list.entries.size());
    switch (message) {
    case LB_ADDSTRING:
        if (!lParam) return LB_ERR;
        list.entries.emplace_back(reinterpret_cast<LPCWSTR>(lParam));
        Redraw(window);
        return count;
    case LB_RESETCONTENT:
        list.entries.clear();
        list.selected = -1;
        list.top = 0;
        Redraw(window);
        return 0;
    case LB_GETCOUNT:
        return count;
    case LB_GETCURSEL:
        return list.selected;
    case LB_SETCURSEL: {
        int index = int(wParam);
        if (wParam == WPARAM(-1)) Select(window, list, -1, false);
        if (index < 0 || index >= count) return LB_ERR;
        Select(window, list, index, false);
        MakeVisible(window, list, index);
        return index;
    }
    case LB_GETTEXT: {
        if (wParam >= WPARAM(count) || !lParam) return LB_ERR;
        const std::u16string& entry = list.entries[wParam];
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        std::copy(entry.begin(), entry.end(), buffer);
        buffer[entry.size()] = 0;
        return LRESULT(entry.size());
    }
    default:
        NotImplemented("list box message");
    }
}

LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        if (WindowStyle(window) & (LbsSort | LbsMultipleSel | LbsOwnerDrawFixed | LbsOwnerDrawVariable | LbsExtendedSel))
            NotImplemented("list box with sorting, multiple selection or owner drawing");
        ReadCreation(lParam, listBoxes[window]);
        return 0;
    }
    auto it = listBoxes.find(window);
    if (it == listBoxes.end()) return DefWindowProcW(window, message, wParam, lParam);
    ListBox& list = it->second;
    if (message >= FirstListBoxMessage && message <= LastListBoxMessage)
        return ListBoxMessage(window, list, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        PaintListBox(window, list);
        break;
    case WM_SIZE:
        ScrollTo(window, list, list.top);
        return 0;
    case WM_LBUTTONDOWN:
        ListStylusDown(window, list, XOf(lParam), YOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        ListStylusMove(window, list, YOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        list.drag = ListBox::Drag::None;
        return 0;
    case WM_ACCESSIBLEACTION:   // selects an entry as a tap on it does
        if (wParam < list.entries.size() && WindowInputEnabled(window)) {
            MakeVisible(window, list, int(wParam));
            Select(window, list, int(wParam), true);
        }
        AccessibleActionDone(uint64_t(lParam));
        return 0;
    case WM_DESTROY:
        listBoxes.erase(it);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::vector<std::u16string> ListBoxEntries(HWND window, int* selected)
{
    auto it = listBoxes.find(window);
    *selected = it == listBoxes.end() ? -1 : it->second.selected;
    return it == listBoxes.end() ? std::vector<std::u16string>() : it->second.entries;
}

namespace {

// ---- Push button ----

void PaintButton(HWND window, const Button& button)
{
    WindowCanvas canvas(window);
    RECT client;
    GetClientRect(window, &client);
    canvas.Fill(client, button.pressed ? ShellBlack : ShellWhite);
    bool isDefault = (WindowStyle(window) & ButtonTypeMask) == BS_DEFPUSHBUTTON;
    canvas.Frame(client, ShellBlack, isDefault ? 2 : 1);
    std::u16string text = WindowTitle(window);
    int x = int(client.right - TextWidth(text, button.textSize)) / 2;
    int y = int(client.bottom - TextLineHeight(button.textSize)) / 2;
    canvas.Text(x, y, text, button.textSize, button.pressed ? ShellWhite : ShellBlack, &client);
}

void SetPressed(HWND window, Button& button, bool pressed)
{
    if (button.pressed == pressed) return;
    button.pressed = pressed;
    Redraw(window);
}

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        DWORD type = WindowStyle(window) & ButtonTypeMask;
        if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) NotImplemented("button other than a push button");
        ReadCreation(lParam, buttons[window]);
        return 0;
    }
    auto it = buttons.find(window);
    if (it == buttons.end()) return DefWindowProcW(window, message, wParam, lParam);
    Button& button = it->second;
    RECT client;
    GetClientRect(window, &client);
    bool inside = PtInRect(&client, POINT{XOf(lParam), YOf(lParam)});
    switch (message) {
    case WM_PAINT:
        PaintButton(window, button);
        break;
    case WM_LBUTTONDOWN:
        button.tracking = true;
        SetPressed(window, button, true);
        return 0;
    case WM_MOUSEMOVE:
        if (button.tracking) SetPressed(window, button, inside);
        return 0;
    case WM_LBUTTONUP:
        if (!button.tracking) return 0;
        button.tracking = false;
        SetPressed(window, button, false);
        if (inside) NotifyParent(window, BN_CLICKED);   // may end the dialog: `button` is not used after
        return 0;
    case WM_ACCESSIBLEACTION:   // a click; posted, as the dialog it ends runs the loop that brought it
        if (WindowInputEnabled(window))
            PostMessageW(WindowParent(window), WM_COMMAND, MAKELONG(WindowId(window), BN_CLICKED),
                         reinterpret_cast<LPARAM>(window));
        AccessibleActionDone(uint64_t(lParam));
        return 0;
    case WM_DESTROY:
        buttons.erase(it);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// ---- Static ----

// Without SS_NOPREFIX an ampersand marks the next character (underlined on the device, which is
// not drawn here) and "&&" stands for one ampersand.
std::u16string WithoutPrefixes(const std::u16string& text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

void PaintStatic(HWND window, const Static& control)
{
    WindowCanvas canvas(window);
    RECT client;
    GetClientRect(window, &client);
    canvas.Fill(client, ShellWhite);
    DrawFrameAndEdge(canvas, window, control);
    RECT inner = Inner(window, control);
    DWORD type = WindowStyle(window) & StaticTypeMask;
    if (type == SS_ICON || type == SS_BITMAP) {
        if (control.image) canvas.Image(int(inner.left), int(inner.top), *control.image);
        return;
    }
    std::u16string text = WindowTitle(window);
    if (!(WindowStyle(window) & SS_NOPREFIX)) text = WithoutPrefixes(text);
    int lineHeight = std::max(TextLineHeight(control.textSize), control.textSize);
    int y = int(inner.top);
    for (const std::u16string& line : WrapText(text, int(inner.right - inner.left), control.textSize)) {
        if (y > inner.top && y + lineHeight > inner.bottom) break;   // only whole lines after the first
        canvas.Text(int(inner.left), y, line, control.textSize, ShellBlack, &inner);
        y += lineHeight;
    }
}

const ImageResource* StaticImage(DWORD type, const CREATESTRUCTW& create)
{
    if (!create.lpszName || !IS_INTRESOURCE(create.lpszName)) return nullptr;
    UINT id = LOWORD(create.lpszName);
    return type == SS_ICON ? FindIconImage(create.hInstance, id, 32) : FindBitmapImage(create.hInstance, id);
}

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        DWORD type = WindowStyle(window) & StaticTypeMask;
        if (type != 0 && type != SS_ICON && type != SS_BITMAP) NotImplemented("static control of this type");
        Static& control = statics[window];
        ReadCreation(lParam, control);
        const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        control.image = type ? StaticImage(type, create) : nullptr;
        if (control.image) {   // the control takes the picture's size
            RECT inner = Inner(window, control);
            int extra = int(create.cx - (inner.right - inner.left));
            MoveWindow(window, create.x, create.y, control.image->width + extra, control.image->height + extra, FALSE);
        }
        return 0;
    }
    auto it = statics.find(window);
    if (it == statics.end()) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_PAINT) PaintStatic(window, it->second);
    if (message == WM_DESTROY) statics.erase(it);
    return DefWindowProcW(window, message, wParam, lParam);
}

void EnsureClass(LPCWSTR name, WNDPROC proc)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);   // fails harmlessly when the class is there already
}

}  // namespace

void EnsureControlClasses()
{
    EnsureClass(u"LISTBOX", ListBoxProc);
    EnsureClass(u"BUTTON", ButtonProc);
    EnsureClass(u"STATIC", StaticProc);
}

std::u16string StaticShownText(HWND window)
{
    std::u16string text = WindowTitle(window);
    return (WindowStyle(window) & SS_NOPREFIX) ? text : WithoutPrefixes(text);
}
