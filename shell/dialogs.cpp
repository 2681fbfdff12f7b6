#include "shell/dialogs.h"

#include "engine/app_globals.h"
#include "shell/resources.h"

INT_PTR ShowDialog(unsigned id, DLGPROC handler)
{
    HRSRC found = FindResourceW(appInstance, MAKEINTRESOURCEW(id), RT_DIALOG);
    HGLOBAL dialogTemplate = LoadResource(appInstance, found);
    return DialogBoxIndirectParamW(appInstance, static_cast<LPCDLGTEMPLATEW>(dialogTemplate), mainWindow,
                                   handler, 0);
}

static void InitFullScreen(HWND dialog)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    SHInitDialog(&info);
}

// When the program's directory is too deep for the search pattern to fit, the list stays empty
// rather than searching a cut-short path.
static void FillSkinList(HWND dialog)
{
    SendDlgItemMessageW(dialog, IdcSkinList, LB_RESETCONTENT, 0, 0);
    if (wcslen(appDirectory) + wcslen(u"skin\\*.skn") >= MAX_PATH) return;
    WCHAR pattern[MAX_PATH];
    wsprintfW(pattern, u"%sskin\\*.skn", appDirectory);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        SendDlgItemMessageW(dialog, IdcSkinList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A chosen name whose full path would not fit leaves skinFile empty, so the loader reports the
// skin as missing and the dialog is offered again; nothing is cut short.
static void ChooseSelectedSkin(HWND dialog, int selected)
{
    WCHAR name[MAX_PATH];
    name[0] = 0;
    if (SendDlgItemMessageW(dialog, IdcSkinList, LB_GETTEXT, WPARAM(selected), reinterpret_cast<LPARAM>(name)) < 0)
        name[0] = 0;
    appSettings.skinFile[0] = 0;
    if (wcslen(appDirectory) + wcslen(u"skin\\") + wcslen(name) < MAX_PATH)
        wsprintfW(appSettings.skinFile, u"%sskin\\%s", appDirectory, name);
}

BOOL SkinDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        InitFullScreen(dialog);
        FillSkinList(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) {
        LRESULT selected = SendDlgItemMessageW(dialog, IdcSkinList, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR) return TRUE;
        ChooseSelectedSkin(dialog, int(selected));
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

BOOL AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        InitFullScreen(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}
