// The Pocket PC shell pieces the program uses: the menu bar with its drop-down button and pop-up
// menu (check marks, separators), and the input-panel bookkeeping on activation and setting
// changes (there is no input panel here, so it only records). Left out: button images, menu bars
// without a resource, nested sub-menus, checking items by position.
#pragma once
#include "platform/types.h"

#define SHCMBM_GETSUBMENU 0x0591
#define MF_BYCOMMAND 0x0000
#define MF_UNCHECKED 0x0000
#define MF_CHECKED 0x0008

struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
};

struct SHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
};

BOOL SHCreateMenuBar(SHMENUBARINFO* info);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info, DWORD flags);
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);
