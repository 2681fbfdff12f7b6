// The window-based message box: a modal dialog built from a template of its own, a box across
// the screen with the text wrapped to its width and an OK button, the caption in the shell's
// title bar. OK, Return, Escape and closing all dismiss it with IDOK (it has only that button).
#include "platform/dialogs.h"
#include "platform/font.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_internals.h"
#include "platform/ui/shell_drawing.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <algorithm>

namespace {

constexpr int BoxMargin = 8;       // from the screen's sides and around the contents
constexpr int ButtonWidth = 64;
constexpr int ButtonHeight = 22;
constexpr WORD TextId = 0xFFFF;

int TextLineStep()
{
    return std::max(TextLineHeight(DefaultControlTextSize), DefaultControlTextSize);
}

// Sizes the box to its text: as many lines as the wrapped text needs (as many as fit at most),
// centred in the area between the title bar and the owner's menu bar.
void LayOut(HWND box)
{
    RECT area = WorkArea(WindowOwner(box));
    int width = int(area.right - area.left) - 2 * BoxMargin;
    int textWidth = width - 2 * BoxMargin;
    HWND text = GetDlgItem(box, TextId);
    int lines = int(WrapText(WindowTitle(text), textWidth, DefaultControlTextSize).size());
    int chrome = 3 * BoxMargin + ButtonHeight;
    int maxLines = std::max(1, (int(area.bottom - area.top) - chrome) / TextLineStep());
    int textHeight = std::min(lines, maxLines) * TextLineStep();
    int height = textHeight + chrome;
    int top = int(area.top) + (int(area.bottom - area.top) - height) / 2;
    MoveWindow(box, int(area.left) + BoxMargin, top, width, height, TRUE);
    MoveWindow(text, BoxMargin, BoxMargin, textWidth, textHeight, TRUE);
    MoveWindow(GetDlgItem(box, IDOK), (width - ButtonWidth) / 2, height - BoxMargin - ButtonHeight, ButtonWidth,
               ButtonHeight, TRUE);
}

BOOL MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SetWindowAlert(box);
        LayOut(box);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(box, IDOK);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int RunMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption)
{
    const DialogItemTemplate items[] = {
        {WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0, 0, TextId, u"STATIC", text.c_str()},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, 0, IDOK, u"BUTTON", u"OK"},
    };
    const DialogTemplate box = {WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 0, 0, 0, caption.c_str(), nullptr, 0,
                                items, 2};
    INT_PTR result = DialogBoxIndirectParamW(nullptr, &box, owner, MessageBoxProc, 0);
    return result == -1 ? 0 : IDOK;
}
