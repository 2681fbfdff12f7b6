// Modal dialogs from templates: a top-level window owned by the owner's top-level window, its
// controls as child windows in template order, WM_INITDIALOG, then a nested message loop until
// EndDialog. The owner takes no stylus input meanwhile and keeps being painted by the loop.
// Messages go to the dialog procedure first; what it leaves (returns FALSE) gets the default
// handling: a white background, WM_CLOSE as IDCANCEL, Return and Escape as the default button
// and IDCANCEL. The Pocket PC full-screen set-up (SHInitDialog) is here too.
#include "platform/dialogs.h"

#include "platform/accessible_tree.h"
#include "platform/faults.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_internals.h"
#include "platform/ui/menus.h"
#include "platform/ui/shell_drawing.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <map>

namespace {

constexpr LPCWSTR DialogClass = u"#32770";
constexpr DWORD ButtonTypeMask = 0x0F;

struct DialogState {
    DLGPROC proc = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    bool framed = true;   // a dialog that does not fill the screen is set off by a frame
};

// Live dialogs; the state lives on the stack of the DialogBoxIndirectParamW call that runs it.
std::map<HWND, DialogState*> dialogs;

// Dialog units to pixels with base units of 6 x 12 pixels, that is 3 pixels for 2 units in both
// directions, rounded down: the program's largest dialog, 160 x 179 units, then fills exactly the
// 240 x 268 pixels between the title bar and the menu bar, as it does on the device.
int Pixels(int units)
{
    return units * 3 / 2;
}

DialogState* StateOf(HWND dialog)
{
    auto it = dialogs.find(dialog);
    return it == dialogs.end() ? nullptr : it->second;
}

void PaintDialog(HWND dialog, const DialogState* state)
{
    WindowCanvas canvas(dialog);
    RECT client;
    GetClientRect(dialog, &client);
    canvas.Fill(client, ShellWhite);
    if (state && state->framed) canvas.Frame(client, ShellBlack);
}

LRESULT DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        dialogs[dialog] = static_cast<DialogState*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    DialogState* state = StateOf(dialog);
    bool handled = state && state->proc && state->proc(dialog, message, wParam, lParam);
    if (message == WM_DESTROY) dialogs.erase(dialog);
    if (handled) return TRUE;
    state = StateOf(dialog);   // the procedure may have destroyed the dialog
    switch (message) {
    case WM_PAINT:
        PaintDialog(dialog, state);
        break;
    case WM_CLOSE:
        PostMessageW(dialog, WM_COMMAND, MAKELONG(IDCANCEL, 0), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return 0;
    case WM_ACCESSIBLEACTION:   // the title bar's OK button, as a tap on it
        if (WindowInputEnabled(dialog) && TitleBarOkButton(dialog)) PostMessageW(dialog, WM_COMMAND, MAKELONG(IDOK, 0), 0);
        AccessibleActionDone(uint64_t(lParam));
        return 0;
    }
    return DefWindowProcW(dialog, message, wParam, lParam);
}

void EnsureDialogClass()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DialogWindowProc;
    windowClass.lpszClassName = DialogClass;
    RegisterClassW(&windowClass);   // fails harmlessly when it is there already
}

bool IsInDialog(HWND window, HWND dialog)
{
    return window == dialog || (window && WindowParent(window) == dialog);
}

bool IsButton(HWND window)
{
    std::u16string name = WindowClassName(window);
    for (auto& c : name)
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
    return name == u"BUTTON";
}

int DefaultButtonId(HWND dialog)
{
    for (HWND child : ChildWindows(dialog))
        if (IsButton(child) && (WindowStyle(child) & ButtonTypeMask) == BS_DEFPUSHBUTTON) return int(WindowId(child));
    return IDOK;
}

// Return presses the default button and Escape cancels, as the device's dialog manager does.
bool HandleDialogKey(HWND dialog, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !IsInDialog(msg.hwnd, dialog)) return false;
    int command = msg.wParam == VK_RETURN ? DefaultButtonId(dialog) : msg.wParam == VK_ESCAPE ? IDCANCEL : 0;
    if (!command) return false;
    SendMessageW(dialog, WM_COMMAND, MAKELONG(command, 0), reinterpret_cast<LPARAM>(GetDlgItem(dialog, command)));
    return true;
}

// Runs until EndDialog or until the dialog is gone (its owner destroyed, say). A quit request
// ends the loop and is posted again for the loop outside.
void RunModalLoop(HWND dialog, const DialogState& state)
{
    MSG msg;
    while (!state.ended && IsWindow(dialog)) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(int(msg.wParam));
            return;
        }
        if (HandleDialogKey(dialog, msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND CreateControls(HWND dialog, HINSTANCE instance, const DialogTemplate& dialogTemplate)
{
    ControlCreation creation{DialogTextSize(dialogTemplate)};
    HWND first = nullptr;
    for (int i = 0; i < dialogTemplate.itemCount; ++i) {
        const DialogItemTemplate& item = dialogTemplate.items[i];
        if (!item.className || IS_INTRESOURCE(item.className))
            NotImplemented("dialog item with a predefined class atom");
        HWND control = CreateWindowExW(item.exStyle, item.className, item.text, item.style | WS_CHILD, Pixels(item.x),
                                       Pixels(item.y), Pixels(item.cx), Pixels(item.cy), dialog,
                                       reinterpret_cast<HMENU>(uintptr_t(item.id)), instance, &creation);
        if (!control) return nullptr;
        if (!first || (!(WindowStyle(first) & WS_TABSTOP) && (item.style & WS_TABSTOP))) first = control;
    }
    return first ? first : dialog;
}

}  // namespace

int DialogTextSize(const DialogTemplate& dialogTemplate)
{
    if (!(dialogTemplate.style & DS_SETFONT) || dialogTemplate.pointSize == 0) return DefaultControlTextSize;
    return dialogTemplate.pointSize * 4 / 3;   // points at 96 dots per inch
}

RECT WorkArea(HWND owner)
{
    RECT area{0, TitleBarHeight, ScreenWidth, ScreenHeight};
    RECT bar;
    if (HWND menuBar = MenuBarOf(owner); menuBar && GetWindowRect(menuBar, &bar)) area.bottom = bar.top;
    return area;
}

// Template positions are relative to the owner's client area (to the area below the title bar
// without an owner), as for the device's dialogs without DS_ABSALIGN.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC dialogProc,
                                LPARAM initParam)
{
    if (ShouldFail("DialogBoxIndirectParamW")) return -1;
    if (!dialogTemplate || (owner && !IsWindow(owner))) return -1;
    if (dialogTemplate->itemCount < 0 || (dialogTemplate->itemCount > 0 && !dialogTemplate->items)) return -1;
    if (dialogTemplate->style & WS_CHILD) NotImplemented("DialogBoxIndirectParamW with a child dialog");
    EnsureDialogClass();
    EnsureControlClasses();
    HWND ownerTop = TopLevelAncestor(owner);
    POINT base = ownerTop ? WindowClientOrigin(ownerTop) : POINT{0, TitleBarHeight};
    DialogState state;
    state.proc = dialogProc;
    HWND dialog = CreateWindowExW(dialogTemplate->exStyle, DialogClass, dialogTemplate->caption,
                                  dialogTemplate->style & ~DWORD(WS_VISIBLE), base.x + Pixels(dialogTemplate->x),
                                  base.y + Pixels(dialogTemplate->y), Pixels(dialogTemplate->cx),
                                  Pixels(dialogTemplate->cy), ownerTop, nullptr, instance, &state);
    if (!dialog) return -1;
    HWND focus = CreateControls(dialog, instance, *dialogTemplate);
    if (!focus) {
        DestroyWindow(dialog);
        return -1;
    }
    bool ownerWasEnabled = ownerTop && WindowInputEnabled(ownerTop);
    if (ownerTop) SetWindowInputEnabled(ownerTop, false);
    SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), initParam);
    if (!state.ended && IsWindow(dialog)) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
    }
    RunModalLoop(dialog, state);
    if (ownerWasEnabled && IsWindow(ownerTop)) SetWindowInputEnabled(ownerTop, true);
    if (IsWindow(dialog)) DestroyWindow(dialog);
    return state.ended ? state.result : 0;
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    DialogState* state = StateOf(dialog);
    if (!state) return FALSE;
    state->ended = true;
    state->result = result;
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id)
{
    for (HWND child : ChildWindows(dialog))
        if (WindowId(child) == UINT_PTR(WORD(id))) return child;
    return nullptr;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessageW(item, message, wParam, lParam) : 0;
}

// Full screen: the area below the title bar, above the owner's menu bar when it has one. The
// input panel does not exist here, so SHIDIF_SIPDOWN has nothing to put away.
BOOL SHInitDialog(SHINITDLGINFO* info)
{
    if (!info) return FALSE;
    DialogState* state = StateOf(info->hDlg);
    if (!state) return FALSE;
    if (info->dwMask & ~DWORD(SHIDIM_FLAGS)) NotImplemented("SHInitDialog with this mask");
    if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
    const DWORD known = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
    if (info->dwFlags & ~known) NotImplemented("SHInitDialog with these flags");
    if (info->dwFlags & SHIDIF_DONEBUTTON) SetTitleBarOkButton(info->hDlg, true);
    if (info->dwFlags & SHIDIF_SIZEDLGFULLSCREEN) {
        RECT area = WorkArea(WindowOwner(info->hDlg));
        state->framed = false;
        MoveWindow(info->hDlg, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
    return TRUE;
}
