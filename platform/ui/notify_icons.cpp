// Notification icons (see shell.h): a window's icons by id, in the order they were added. An
// icon goes with its window. The screen's title bar shows them once the first is added.
#include "platform/kernel/resource_internals.h"
#include "platform/shell.h"
#include "platform/user/screen_internals.h"
#include "platform/windows.h"

#include <algorithm>

namespace {

struct NotifyIcon {
    HWND window;
    UINT id;
    HICON icon;
};

std::vector<NotifyIcon> icons;

std::vector<NotifyIcon>::iterator FindIcon(HWND window, UINT id)
{
    return std::find_if(icons.begin(), icons.end(),
                        [&](const NotifyIcon& i) { return i.window == window && i.id == id; });
}

// The images of the icons shown now, the first added first.
std::vector<const ImageResource*> NotifyIconImages()
{
    std::erase_if(icons, [](const NotifyIcon& i) { return !IsWindow(i.window); });
    std::vector<const ImageResource*> images;
    for (const NotifyIcon& i : icons)
        if (const ImageResource* image = IconHandleImage(i.icon, NotifyIconSize)) images.push_back(image);
    return images;
}

}  // namespace

BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW* data)
{
    if (!data) return FALSE;
    auto existing = FindIcon(data->hWnd, data->uID);
    switch (message) {
    case NIM_ADD:
        if (existing != icons.end() || !IsWindow(data->hWnd)) return FALSE;
        SetTitleBarIcons(NotifyIconImages);
        icons.push_back(NotifyIcon{data->hWnd, data->uID, (data->uFlags & NIF_ICON) ? data->hIcon : nullptr});
        break;
    case NIM_MODIFY:
        if (existing == icons.end()) return FALSE;
        if (data->uFlags & NIF_ICON) existing->icon = data->hIcon;
        break;
    case NIM_DELETE:
        if (existing == icons.end()) return FALSE;
        icons.erase(existing);
        break;
    default:
        return FALSE;
    }
    ScreenChanged();
    return TRUE;
}
