// Message boxes in the SDL2 host: the window-based box of ui/message_box.cpp, waiting for a tap,
// with the text and caption in the language of the catalogues.
#include "platform/host.h"
#include "platform/dialogs.h"

#include "platform/kernel/catalogue_internals.h"
#include "platform/ui/dialog_internals.h"

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (type != MB_OK) NotImplemented("MessageBoxW with buttons other than OK");
    return RunMessageBox(owner, LocalisedText(text ? text : u""), caption ? LocalisedText(caption) : u"Error");
}
