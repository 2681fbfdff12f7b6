#include "platform/windows.h"

#include "platform/accessible_tree.h"
#include "platform/faults.h"
#include "platform/gdi.h"
#include "platform/host.h"
#include "platform/inspect.h"
#include "platform/screen.h"
#include "platform/user/screen_internals.h"
#include "platform/user/window_internals.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <utility>

namespace {

struct Window {
    HWND handle = nullptr;
    std::u16string className;
    std::u16string title;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;   // child windows only
    HWND owner = nullptr;    // top-level windows only
    UINT_PTR id = 0;         // child windows only
    RECT rect{};             // top-level: screen coordinates; child: parent's client coordinates
    uint64_t serial = 0;     // creation order
    bool visible = false;
    bool inputEnabled = true;
    bool noActivate = false;
    bool okButton = false;
    bool destroying = false;
    bool hasUpdate = false;
    bool alert = false;                       // a message box, to assistive technologies
    const AccessibleFace* face = nullptr;     // what the window tells them about its contents
    RECT update{};           // bounding rectangle of the update region, client coordinates
    PixelBuffer surface;     // top-level windows only
    std::vector<HWND> children;
};

struct QueuedMessage {
    MSG msg;
    bool control;
    std::u16string text;   // a key-down's typed text
};

std::map<std::u16string, WNDCLASSW> classes;   // keyed by upper-case name: names ignore case
std::map<HWND, std::unique_ptr<Window>> windows;
std::vector<HWND> zOrder;   // top-level windows, bottom first
std::deque<QueuedMessage> queue;
bool quitPending = false;
int quitCode = 0;
HWND activeWindow = nullptr;
HWND capture = nullptr;
bool controlDown = false;
std::u16string typedText;   // of the key-down last taken, for TranslateMessage
uintptr_t nextHandle = 0x1000;
uint64_t nextSerial = 0;
ATOM nextAtom = 0xC000;
std::vector<InvalidateRecord> invalidateLog;
uint64_t accessibleActionsDone = 0;


Window* Find(HWND window)
{
    if (!window) return nullptr;
    auto it = windows.find(window);
    return it == windows.end() ? nullptr : it->second.get();
}

std::u16string ClassKey(LPCWSTR name)
{
    std::u16string key = name;
    for (auto& c : key)
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
    return key;
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

RECT Offset(RECT r, LONG dx, LONG dy)
{
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

DWORD Milliseconds()
{
    using namespace std::chrono;
    static const auto start = steady_clock::now();
    return DWORD(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

// Calls a window's procedure. The procedure may destroy the window: callers look it up again
// afterwards instead of keeping the pointer.
LRESULT Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* w = Find(window);
    if (!w || !w->proc) return 0;
    WNDPROC proc = w->proc;
    return proc(window, message, wParam, lParam);
}

RECT ClientRect(const Window& w)
{
    return RECT{0, 0, Width(w.rect), Height(w.rect)};
}

void AddUpdate(Window& w, const RECT& rect)
{
    RECT client = ClientRect(w);
    RECT r;
    if (!IntersectRect(&r, &rect, &client)) return;
    if (!w.hasUpdate) {
        w.update = r;
        w.hasUpdate = true;
        return;
    }
    w.update = RECT{std::min(w.update.left, r.left), std::min(w.update.top, r.top),
                    std::max(w.update.right, r.right), std::max(w.update.bottom, r.bottom)};
}

// Invalidates a rectangle of a window and the parts of its children that it covers: a window
// without WS_CLIPCHILDREN paints over its children, so they must paint again after it.
void Invalidate(Window& w, const RECT& rect)
{
    AddUpdate(w, rect);
    for (HWND child : w.children) {
        Window* c = Find(child);
        if (!c) continue;
        RECT inChild;
        if (IntersectRect(&inChild, &rect, &c->rect)) Invalidate(*c, Offset(inChild, -c->rect.left, -c->rect.top));
    }
}

void InvalidateWhole(Window& w)
{
    Invalidate(w, ClientRect(w));
}

// A top-level window that goes away uncovers the windows below it, which must paint that part
// again, as on Windows: their backing surfaces are theirs, but what they show may have changed
// while they were covered.
void ExposeBelow(HWND window)
{
    Window* w = Find(window);
    if (!w || w->parent || !w->visible) return;
    RECT covered = w->rect;
    for (HWND h : zOrder) {
        if (h == window) break;
        Window* below = Find(h);
        if (!below || below->parent || !below->visible || below->destroying) continue;
        RECT part;
        if (IntersectRect(&part, &covered, &below->rect))
            Invalidate(*below, Offset(part, -below->rect.left, -below->rect.top));
    }
}

bool Shown(const Window* w)
{
    for (; w; w = Find(w->parent))
        if (!w->visible || w->destroying) return false;
    return true;
}

Window* TopLevelOf(Window* w)
{
    while (w && w->parent) w = Find(w->parent);
    return w;
}

// Moves a window to the top, then the windows it owns above it (each with its own), keeping
// their order: an owned window (dialog, menu bar, pop-up) never ends up under its owner.
void RaiseToTop(HWND window)
{
    auto it = std::find(zOrder.begin(), zOrder.end(), window);
    if (it == zOrder.end()) return;
    std::vector<HWND> owned;
    for (HWND h : zOrder)
        if (Window* o = Find(h); o && o->owner == window) owned.push_back(h);
    if (it + 1 != zOrder.end()) {
        zOrder.erase(it);
        zOrder.push_back(window);
        ScreenChanged();
    }
    for (HWND h : owned) RaiseToTop(h);
}

HWND TopmostActivatable()
{
    for (auto it = zOrder.rbegin(); it != zOrder.rend(); ++it) {
        Window* w = Find(*it);
        if (w && w->visible && !w->destroying && !w->noActivate) return *it;
    }
    return nullptr;
}

// Makes the topmost shown window that may be activated the active one, telling both windows as
// Windows does with WM_ACTIVATE.
void UpdateActivation()
{
    HWND next = TopmostActivatable();
    if (next == activeWindow) return;
    HWND previous = activeWindow;
    activeWindow = next;
    ScreenChanged();
    if (Find(previous)) Call(previous, WM_ACTIVATE, WA_INACTIVE, LPARAM(next));
    if (next && activeWindow == next) Call(next, WM_ACTIVATE, WA_ACTIVE, LPARAM(previous));
}

bool InSubtree(HWND window, HWND root)
{
    for (Window* w = Find(window); w; w = Find(w->parent))
        if (w->handle == root) return true;
    return false;
}

// Sends WM_DESTROY to a window, then to its children, as Windows does: the children still exist
// while their parent handles the message.
void SendDestroy(HWND window)
{
    Call(window, WM_DESTROY, 0, 0);
    Window* w = Find(window);
    if (!w) return;
    std::vector<HWND> children = w->children;
    for (HWND child : children) {
        Window* c = Find(child);
        if (!c || c->destroying) continue;
        c->destroying = true;
        SendDestroy(child);
    }
}

void Free(HWND window)
{
    Window* w = Find(window);
    if (!w) return;
    std::vector<HWND> children = w->children;
    for (HWND child : children) Free(child);
    if (Window* parent = Find(w->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    if (!w->parent) InstanceWindowDestroyed(window);
    zOrder.erase(std::remove(zOrder.begin(), zOrder.end(), window), zOrder.end());
    std::erase_if(queue, [window](const QueuedMessage& q) { return q.msg.hwnd == window; });
    if (capture == window) capture = nullptr;
    if (activeWindow == window) activeWindow = nullptr;
    windows.erase(window);
}

// Paint order: top-level windows from the top of the z-order down, each before its children, the
// children bottom first (the last created is lowest), so that what lies on top paints last.
HWND FindWindowToPaint(HWND window)
{
    Window* w = Find(window);
    if (!w || !w->visible || w->destroying) return nullptr;
    if (w->hasUpdate) return window;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
        if (HWND found = FindWindowToPaint(*it)) return found;
    return nullptr;
}

HWND FindWindowToPaint()
{
    for (auto it = zOrder.rbegin(); it != zOrder.rend(); ++it)
        if (HWND found = FindWindowToPaint(*it)) return found;
    return nullptr;
}

void UpdateTree(HWND window)
{
    Window* w = Find(window);
    if (!w || !Shown(w)) return;
    if (w->hasUpdate) Call(window, WM_PAINT, 0, 0);
    w = Find(window);
    if (!w) return;
    std::vector<HWND> children = w->children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) UpdateTree(*it);
}

HWND DeepestChildAt(HWND window, LONG x, LONG y)
{
    Window* w = Find(window);
    for (HWND child : w->children) {
        Window* c = Find(child);
        if (c && c->visible && !c->destroying && PtInRect(&c->rect, POINT{x, y}))
            return DeepestChildAt(child, x - c->rect.left, y - c->rect.top);
    }
    return window;
}

// A null class or title matches any; class names ignore case, titles do not.
bool Matches(const Window& w, LPCWSTR className, LPCWSTR windowName)
{
    if (className && ClassKey(w.className.c_str()) != ClassKey(className)) return false;
    return !windowName || w.title == windowName;
}

bool IsKeyboardMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
}

}  // namespace

// ---- Internal contracts ----

const std::vector<InvalidateRecord>& InvalidateLog()
{
    return invalidateLog;
}

void ClearInvalidateLog()
{
    invalidateLog.clear();
}

PixelBuffer* WindowBackingSurface(HWND window)
{
    Window* w = Find(window);
    return w && !w->parent ? &w->surface : nullptr;
}

bool WindowDrawTarget(HWND window, PixelBuffer** surface, POINT* origin, RECT* clip)
{
    Window* w = Find(window);
    if (!w) return false;
    RECT visible = ClientRect(*w);
    LONG x = 0, y = 0;
    Window* top = w;
    while (top->parent) {
        // Into the parent's client coordinates, cut by the parent's client area.
        x += top->rect.left;
        y += top->rect.top;
        visible = Offset(visible, top->rect.left, top->rect.top);
        top = Find(top->parent);
        RECT parentClient = ClientRect(*top);
        IntersectRect(&visible, &visible, &parentClient);
    }
    if (surface) *surface = &top->surface;
    if (origin) *origin = POINT{x, y};
    if (clip) *clip = visible;
    return true;
}

void WindowSurfaceChanged(HWND window)
{
    Window* w = TopLevelOf(Find(window));
    if (w && w->visible) ScreenChanged();
}

void WindowSurfaceAreaChanged(HWND window, const RECT& area)
{
    Window* w = TopLevelOf(Find(window));
    if (w && w->visible) ScreenAreaChanged(Offset(area, w->rect.left, w->rect.top));
}

std::vector<HWND> TopLevelWindows()
{
    return zOrder;
}

HWND ActiveWindow()
{
    return activeWindow;
}

HWND MainTopLevelWindow()
{
    Window* first = nullptr;
    for (HWND h : zOrder) {
        Window* w = Find(h);
        if (w && !w->destroying && (!first || w->serial < first->serial)) first = w;
    }
    return first ? first->handle : nullptr;
}

HWND WindowParent(HWND window)
{
    Window* w = Find(window);
    return w ? w->parent : nullptr;
}

HWND WindowOwner(HWND window)
{
    Window* w = Find(window);
    return w ? w->owner : nullptr;
}

HWND TopLevelAncestor(HWND window)
{
    Window* w = TopLevelOf(Find(window));
    return w ? w->handle : nullptr;
}

std::vector<HWND> ChildWindows(HWND window)
{
    Window* w = Find(window);
    return w ? w->children : std::vector<HWND>{};
}

UINT_PTR WindowId(HWND window)
{
    Window* w = Find(window);
    return w ? w->id : 0;
}

DWORD WindowStyle(HWND window)
{
    Window* w = Find(window);
    if (!w) return 0;
    return w->visible ? (w->style | WS_VISIBLE) : (w->style & ~DWORD(WS_VISIBLE));
}

std::u16string WindowTitle(HWND window)
{
    Window* w = Find(window);
    return w ? w->title : std::u16string();
}

std::u16string WindowClassName(HWND window)
{
    Window* w = Find(window);
    return w ? w->className : std::u16string();
}

void RaiseWindow(HWND window)
{
    Window* w = Find(window);
    if (!w || w->parent) return;
    RaiseToTop(window);
    UpdateActivation();
}

bool WindowShown(HWND window)
{
    Window* w = Find(window);
    return w && Shown(w);
}

POINT WindowClientOrigin(HWND window)
{
    POINT p{0, 0};
    for (Window* w = Find(window); w; w = Find(w->parent)) {
        p.x += w->rect.left;
        p.y += w->rect.top;
    }
    return p;
}

HWND WindowFromScreenPoint(int x, int y)
{
    for (auto it = zOrder.rbegin(); it != zOrder.rend(); ++it) {
        Window* w = Find(*it);
        if (!w || !w->visible || w->destroying || !PtInRect(&w->rect, POINT{x, y})) continue;
        return DeepestChildAt(*it, x - w->rect.left, y - w->rect.top);
    }
    return nullptr;
}

void SetWindowNoActivate(HWND window, bool noActivate)
{
    Window* w = Find(window);
    if (!w || w->noActivate == noActivate) return;
    w->noActivate = noActivate;
    UpdateActivation();
}

void SetWindowInputEnabled(HWND window, bool enabled)
{
    if (Window* w = Find(window)) w->inputEnabled = enabled;
}

void SetWindowAccessibleFace(HWND window, const AccessibleFace* face)
{
    if (Window* w = Find(window)) w->face = face;
}

const AccessibleFace* WindowAccessibleFace(HWND window)
{
    Window* w = Find(window);
    return w ? w->face : nullptr;
}

uint64_t AccessibleActionsDone()
{
    return accessibleActionsDone;
}

void AccessibleActionDone(uint64_t ticket)
{
    accessibleActionsDone = std::max(accessibleActionsDone, ticket);
}

void SetWindowAlert(HWND window)
{
    if (Window* w = Find(window)) w->alert = true;
}

bool WindowIsAlert(HWND window)
{
    Window* w = Find(window);
    return w && w->alert;
}

bool WindowInputEnabled(HWND window)
{
    Window* w = Find(window);
    if (!w) return false;
    Window* top = TopLevelOf(w);
    return w->inputEnabled && top->inputEnabled;
}

void SetTitleBarOkButton(HWND window, bool okButton)
{
    Window* w = Find(window);
    if (!w || w->okButton == okButton) return;
    w->okButton = okButton;
    if (window == activeWindow) ScreenChanged();
}

bool TitleBarOkButton(HWND window)
{
    Window* w = Find(window);
    return w && w->okButton;
}

void SetStylusCapture(HWND window)
{
    capture = Find(window) ? window : nullptr;
}

void ReleaseStylusCapture()
{
    capture = nullptr;
}

HWND StylusCapture()
{
    return capture;
}

bool ControlKeyDown()
{
    return controlDown;
}

void PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool control,
                      const std::u16string& text)
{
    if (!Find(window)) return;
    queue.push_back(QueuedMessage{MSG{window, message, wParam, lParam, Milliseconds(), {}}, control, text});
}

DWORD MessageTime()
{
    return Milliseconds();
}

// Messages that the host's worker threads posted, taken into the queue on the loop's thread;
// those for windows that are gone by now are dropped.
static void TakeWorkerMessages()
{
    for (const MSG& msg : HostTakeWorkerMessages())
        if (Find(msg.hwnd)) queue.push_back(QueuedMessage{msg, false, {}});
}

bool TakeNextMessage(MSG* msg)
{
    TakeWorkerMessages();
    if (!queue.empty()) {
        QueuedMessage next = queue.front();
        queue.pop_front();
        if (IsKeyboardMessage(next.msg.message)) {
            controlDown = next.control;
            typedText = next.msg.message == WM_KEYDOWN ? next.text : std::u16string();
        }
        *msg = next.msg;
        return true;
    }
    if (quitPending) {
        quitPending = false;
        *msg = MSG{nullptr, WM_QUIT, WPARAM(quitCode), 0, Milliseconds(), {}};
        return true;
    }
    if (HWND paint = FindWindowToPaint()) {
        *msg = MSG{paint, WM_PAINT, 0, 0, Milliseconds(), {}};
        return true;
    }
    return false;
}

void ResetWindows()
{
    while (!zOrder.empty()) {
        HWND top = zOrder.back();
        if (!DestroyWindow(top)) Free(top);
    }
    windows.clear();
    classes.clear();
    queue.clear();
    HostTakeWorkerMessages();
    quitPending = false;
    quitCode = 0;
    activeWindow = nullptr;
    capture = nullptr;
    controlDown = false;
    typedText.clear();
    invalidateLog.clear();
    accessibleActionsDone = 0;
    ReleaseInstanceLocks();
    ScreenChanged();
}

// ---- Windows services ----

ATOM RegisterClassW(const WNDCLASSW* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    std::u16string key = ClassKey(windowClass->lpszClassName);
    if (classes.count(key)) return 0;   // ERROR_CLASS_ALREADY_EXISTS
    classes[key] = *windowClass;
    return nextAtom++;
}

// A top-level window with CW_USEDEFAULT covers the screen below the shell's title bar. WM_CREATE
// is sent before the window is shown; a window created with WS_VISIBLE is shown, raised to the top
// and activated once WM_CREATE has succeeded.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    if (ShouldFail("CreateWindowExW")) return nullptr;
    if (!className || IS_INTRESOURCE(className)) return nullptr;
    auto cls = classes.find(ClassKey(className));
    if (cls == classes.end()) return nullptr;
    bool child = (style & WS_CHILD) != 0;
    if (child && !Find(parent)) return nullptr;
    if (!child && parent && !Find(parent)) return nullptr;
    if (!child && menu) NotImplemented("CreateWindowExW with a window menu");

    auto window = std::make_unique<Window>();
    HWND handle = reinterpret_cast<HWND>(nextHandle += 0x10);
    window->handle = handle;
    window->className = className;
    // A name that is a resource number (a static control's picture) is no title.
    window->title = windowName && !IS_INTRESOURCE(windowName) ? windowName : u"";
    window->proc = cls->second.lpfnWndProc;
    window->style = style & ~DWORD(WS_VISIBLE);
    window->exStyle = exStyle;
    window->okButton = (exStyle & WS_EX_CAPTIONOKBTN) != 0;
    window->serial = nextSerial++;
    if (child) {
        window->parent = parent;
        window->id = reinterpret_cast<UINT_PTR>(menu);
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) width = height = 0;
    } else {
        window->owner = TopLevelAncestor(parent);
        if (x == CW_USEDEFAULT) x = 0, y = TitleBarHeight;
        if (width == CW_USEDEFAULT) width = ScreenWidth, height = ScreenHeight - TitleBarHeight;
    }
    window->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    if (!child) {
        window->surface.Resize(Width(window->rect), Height(window->rect));
        zOrder.push_back(handle);
    } else {
        Find(parent)->children.push_back(handle);
    }
    AddUpdate(*window, ClientRect(*window));
    windows[handle] = std::move(window);
    if (!child) InstanceWindowCreated(handle, ClassKey(className), windows[handle]->title, HostPostRaiseRequest);

    const RECT& r = windows[handle]->rect;
    CREATESTRUCTW create{param,       instance, menu,       parent,    int(Height(r)), int(Width(r)),
                         int(r.top), int(r.left), LONG(style), windowName, className,  exStyle};
    if (Call(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    Window* w = Find(handle);
    if (!w || w->destroying) return nullptr;
    Call(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(Width(w->rect), Height(w->rect)));
    w = Find(handle);
    if (!w || w->destroying) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return Find(handle) ? handle : nullptr;
}

// Owned windows are destroyed first, whole; then the window gets WM_DESTROY, then its children.
BOOL DestroyWindow(HWND window)
{
    Window* w = Find(window);
    if (!w || w->destroying) return FALSE;
    w->destroying = true;
    if (!w->parent) {
        std::vector<HWND> owned;
        for (HWND h : zOrder)
            if (Window* o = Find(h); o && o->owner == window) owned.push_back(h);
        for (HWND h : owned) DestroyWindow(h);
    }
    w = Find(window);
    if (w->visible) ScreenChanged();
    ExposeBelow(window);
    HWND parent = w->parent;
    SendDestroy(window);
    Free(window);
    if (Window* p = Find(parent)) InvalidateWhole(*p);
    UpdateActivation();
    return TRUE;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACCESSIBLEACTION:
        if (Window* w = Find(window); w && w->face && WindowInputEnabled(window) && int(wParam) < w->face->itemCount())
            w->face->doItemAction(int(wParam));
        AccessibleActionDone(uint64_t(lParam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT:
        if (Window* w = Find(window)) w->hasUpdate = false;
        return 0;
    default:
        return 0;
    }
}

// Returns posted messages first, then the quit request, then a paint for a shown window whose
// update region is not empty, and otherwise waits for the host. Re-entrant: a modal loop inside a
// dispatched message simply calls it again.
BOOL GetMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax)
{
    if (window || filterMin || filterMax) NotImplemented("GetMessageW with a filter");
    if (!msg) return -1;
    for (;;) {
        if (TakeNextMessage(msg)) return msg->message == WM_QUIT ? FALSE : TRUE;
        if (!HostWaitForInput()) PostQuitMessage(0);
    }
}

// The characters of a key-down are what the host's keyboard layout typed with it; a key-down that
// typed nothing gives the control codes, which no layout changes: BackSpace, Tab, Return and
// Escape their own, control with a letter the letter's (Ctrl+A is 1). They come next, before any
// input queued after the key-down (its key-up among them), as on Windows.
BOOL TranslateMessage(const MSG* msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP)) return FALSE;
    if (msg->message == WM_KEYUP) return TRUE;
    std::u16string characters = std::exchange(typedText, std::u16string());
    WPARAM key = msg->wParam;
    if (characters.empty() && controlDown && key >= 'A' && key <= 'Z') characters = char16_t(key - 'A' + 1);
    if (characters.empty() && (key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE))
        characters = char16_t(key);
    if (!Find(msg->hwnd)) return TRUE;
    auto at = queue.begin();
    for (char16_t c : characters)
        at = std::next(queue.insert(at, QueuedMessage{MSG{msg->hwnd, WM_CHAR, c, msg->lParam, Milliseconds(), {}},
                                                      controlDown, {}}));
    return TRUE;
}

SHORT GetKeyState(int virtualKey)
{
    if (virtualKey != VK_CONTROL) NotImplemented("GetKeyState for keys other than VK_CONTROL");
    return controlDown ? SHORT(-0x8000) : SHORT(0);
}

LRESULT DispatchMessageW(const MSG* msg)
{
    if (!msg || !Find(msg->hwnd)) return 0;
    if (IsKeyboardMessage(msg->message) && !WindowInputEnabled(msg->hwnd)) return 0;
    return Call(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window && !Find(window)) return FALSE;
    queue.push_back(QueuedMessage{MSG{window, message, wParam, lParam, Milliseconds(), {}}, false, {}});
    return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Call(window, message, wParam, lParam);
}

void PostQuitMessage(int exitCode)
{
    quitPending = true;
    quitCode = exitCode;
}

// Every call is recorded for tests. No window means every window, as on Windows.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL)
{
    if (invalidateLog.size() >= 100000) invalidateLog.clear();   // only tests read it
    invalidateLog.push_back(InvalidateRecord{window, rect == nullptr, rect ? *rect : RECT{}});
    if (!window) {
        for (HWND h : zOrder) InvalidateRect(h, rect, FALSE);
        return TRUE;
    }
    Window* w = Find(window);
    if (!w) return FALSE;
    Invalidate(*w, rect ? *rect : ClientRect(*w));
    return TRUE;
}

// The paint DC covers the whole client area: the program draws the whole face through a DC of its
// own anyway, so clipping to the update region would change nothing it relies on.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint)
{
    Window* w = Find(window);
    if (!w || !paint) return nullptr;
    *paint = PAINTSTRUCT{};
    if (w->hasUpdate) paint->rcPaint = w->update;
    w->hasUpdate = false;
    paint->hdc = GetDC(window);
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint)
{
    if (paint && paint->hdc) ReleaseDC(window, paint->hdc);
    return TRUE;
}

// Paints the window at once when its update region is not empty, then its children.
BOOL UpdateWindow(HWND window)
{
    if (!Find(window)) return FALSE;
    UpdateTree(window);
    return TRUE;
}

BOOL ShowWindow(HWND window, int showCommand)
{
    Window* w = Find(window);
    if (!w) return FALSE;
    bool wasVisible = w->visible;
    switch (showCommand) {
    case SW_HIDE:
        if (!wasVisible) return FALSE;
        ExposeBelow(window);
        w->visible = false;
        if (capture && InSubtree(capture, window)) capture = nullptr;
        if (Window* p = Find(w->parent)) Invalidate(*p, w->rect);
        ScreenChanged();
        UpdateActivation();
        return TRUE;
    case SW_SHOW:
    case SW_SHOWNORMAL:
        if (!wasVisible) {
            w->visible = true;
            InvalidateWhole(*w);
        }
        if (!w->parent) RaiseToTop(window);
        ScreenChanged();
        UpdateActivation();
        return wasVisible;
    default:
        NotImplemented("ShowWindow with this show command");
    }
}

BOOL GetWindowRect(HWND window, RECT* rect)
{
    Window* w = Find(window);
    if (!w || !rect) return FALSE;
    POINT origin = WindowClientOrigin(window);
    *rect = RECT{origin.x, origin.y, origin.x + Width(w->rect), origin.y + Height(w->rect)};
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    Window* w = Find(window);
    if (!w || !rect) return FALSE;
    *rect = ClientRect(*w);
    return TRUE;
}

// The backing surface follows the new size and keeps its pixels at the top-left; new parts are
// white. A size change sends WM_SIZE.
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint)
{
    Window* w = Find(window);
    if (!w) return FALSE;
    RECT old = w->rect;
    w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    bool resized = Width(old) != Width(w->rect) || Height(old) != Height(w->rect);
    if (!w->parent && resized) {
        PixelBuffer resizedSurface;
        resizedSurface.Resize(Width(w->rect), Height(w->rect));
        int copyWidth = std::min(w->surface.width, resizedSurface.width);
        int copyHeight = std::min(w->surface.height, resizedSurface.height);
        for (int row = 0; row < copyHeight; ++row)
            std::copy_n(w->surface.pixels.begin() + ptrdiff_t(row) * w->surface.width, copyWidth,
                        resizedSurface.pixels.begin() + ptrdiff_t(row) * resizedSurface.width);
        w->surface = std::move(resizedSurface);
    }
    RECT client = ClientRect(*w);
    if (!IntersectRect(&w->update, &w->update, &client)) w->hasUpdate = false;
    if (repaint) {
        InvalidateWhole(*w);
        if (Window* p = Find(w->parent)) Invalidate(*p, old);
    }
    if (Shown(w)) ScreenChanged();
    if (resized) Call(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(Width(w->rect), Height(w->rect)));
    return TRUE;
}

HGDIOBJ GetStockObject(int object)
{
    static int whiteBrush;
    if (object != WHITE_BRUSH) NotImplemented("GetStockObject for this object");
    return &whiteBrush;
}

BOOL IsWindow(HWND window)
{
    return Find(window) ? TRUE : FALSE;
}

// Top-level windows of this process first, topmost first; then, when both class and title are
// given, another instance of the program (the single-instance rule of host.h).
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    if (className && IS_INTRESOURCE(className)) NotImplemented("FindWindowW with a class atom");
    for (auto it = zOrder.rbegin(); it != zOrder.rend(); ++it)
        if (Window* w = Find(*it); w && Matches(*w, className, windowName)) return *it;
    if (!className || !windowName) return nullptr;
    return FindOtherInstance(ClassKey(className), windowName);
}

// The lowest bit of the handle may be set (the device's way of asking to bring owned windows
// forward too); it is ignored. A handle of another instance asks that instance to come forward.
BOOL SetForegroundWindow(HWND window)
{
    HWND target = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(window) & ~uintptr_t(1));
    if (Window* w = Find(target)) {
        if (w->parent) return FALSE;
        RaiseWindow(target);
        HostRaiseWindow();
        return TRUE;
    }
    return AskOtherInstanceToRaise(target) ? TRUE : FALSE;
}
