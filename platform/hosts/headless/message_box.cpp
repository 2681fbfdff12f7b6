// Message boxes in the headless host: the text, in the language of the catalogues, goes to
// standard error and the box returns at once, as if OK had been pressed; tests read the record.
#include "platform/host.h"
#include "platform/dialogs.h"

#include "platform/inspect.h"
#include "platform/kernel/catalogue_internals.h"
#include "platform/unicode.h"

#include <cstdio>

namespace {
std::vector<MessageBoxRecord> messageBoxLog;
}

const std::vector<MessageBoxRecord>& MessageBoxLog()
{
    return messageBoxLog;
}

void ClearMessageBoxLog()
{
    messageBoxLog.clear();
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    std::u16string body = text ? text : u"";
    std::u16string title = caption ? caption : u"";
    std::u16string shown = LocalisedText(body);
    messageBoxLog.push_back(MessageBoxRecord{owner, body, title, type, shown});
    std::fprintf(stderr, "%s: %s\n", Utf8FromUtf16(LocalisedText(title)).c_str(), Utf8FromUtf16(shown).c_str());
    return IDOK;
}
