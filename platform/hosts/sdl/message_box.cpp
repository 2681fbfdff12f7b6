// Message boxes in the SDL2 host: the window-based box of ui/message_box.cpp, waiting for a tap.
#include "platform/host.h"

#include "platform/ui/dialog_internals.h"

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (type != MB_OK) NotImplemented("MessageBoxW with buttons other than OK");
    return RunMessageBox(owner, text ? text : u"", caption ? caption : u"Error");
}
