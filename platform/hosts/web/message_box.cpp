// Message boxes in the web host: the window-based box of ui/message_box.cpp, waiting for a tap,
// with the text and caption in the language of the catalogues; each box's caption and text also
// go to the browser's console, where a skin author looks for what went wrong.
#include "platform/host.h"
#include "platform/dialogs.h"

#include "platform/kernel/catalogue_internals.h"
#include "platform/ui/dialog_internals.h"
#include "platform/unicode.h"

#include <emscripten.h>

namespace {

EM_JS(void, LogMessageBox, (const char* caption, const char* text), {
    console.info('numbrix: ' + UTF8ToString(caption) + ': ' + UTF8ToString(text));
});

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (type != MB_OK) NotImplemented("MessageBoxW with buttons other than OK");
    std::u16string shownText = LocalisedText(text ? text : u"");
    std::u16string shownCaption = caption ? LocalisedText(caption) : u"Error";
    LogMessageBox(Utf8FromUtf16(shownCaption).c_str(), Utf8FromUtf16(shownText).c_str());
    return RunMessageBox(owner, shownText, shownCaption);
}
