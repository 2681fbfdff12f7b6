#include "platform/windows.h"

#include "platform/inspect.h"
#include "platform/internal.h"

#include <map>
#include <memory>

namespace {

struct Window {
    std::u16string className;
    std::u16string title;
    WNDPROC proc = nullptr;
    RECT rect{};
    PixelBuffer surface;
};

std::map<std::u16string, WNDCLASSW> classes;
std::map<HWND, std::unique_ptr<Window>> windows;
uintptr_t nextHandle = 0x1000;
std::vector<InvalidateRecord> invalidateLog;

Window* Find(HWND window)
{
    auto it = windows.find(window);
    return it == windows.end() ? nullptr : it->second.get();
}

}  // namespace

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
    return w ? &w->surface : nullptr;
}

void WindowSurfaceChanged(HWND) {}

ATOM RegisterClassW(const WNDCLASSW* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName) return 0;
    classes[windowClass->lpszClassName] = *windowClass;
    return ATOM(classes.size());
}

// A top-level window with CW_USEDEFAULT covers the screen below the shell's title bar.
HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName, DWORD, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE, LPVOID)
{
    auto cls = classes.find(className ? className : u"");
    if (cls == classes.end()) return nullptr;
    auto window = std::make_unique<Window>();
    window->className = className;
    window->title = windowName ? windowName : u"";
    window->proc = cls->second.lpfnWndProc;
    if (x == CW_USEDEFAULT) window->rect = RECT{0, 26, 240, 320};
    else window->rect = RECT{x, y, x + width, y + height};
    window->surface.Resize(window->rect.right - window->rect.left, window->rect.bottom - window->rect.top);
    HWND handle = reinterpret_cast<HWND>(nextHandle += 0x10);
    windows[handle] = std::move(window);
    if (windows[handle]->proc && windows[handle]->proc(handle, WM_CREATE, 0, 0) == -1) {
        windows.erase(handle);
        return nullptr;
    }
    return Find(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND window)
{
    Window* w = Find(window);
    if (!w) return FALSE;
    if (w->proc) w->proc(window, WM_DESTROY, 0, 0);
    windows.erase(window);
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    Window* w = Find(window);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL)
{
    if (invalidateLog.size() >= 100000) invalidateLog.clear();   // only tests read it
    invalidateLog.push_back(InvalidateRecord{window, rect == nullptr, rect ? *rect : RECT{}});
    return TRUE;
}
