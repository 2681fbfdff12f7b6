// Modal dialogs of the emulated device, built from the program's templates, with the controls the
// program uses (list box, push buttons, static text, icon, picture); the Pocket PC full-screen
// set-up with the OK button in the title bar; message boxes. Each runs a nested message loop, so
// the windows below keep being painted. Dialog units are 3 pixels for 2 units in both directions;
// control text takes the template font's point size at 96 dots per inch, in the platform's font.
// Left out: keyboard focus and tab order (Return and Escape only), modeless dialogs, control
// styles and list-box messages that the program does not use (they abort), message boxes with
// buttons other than OK.
#pragma once
#include "platform/types.h"
#include "platform/windows.h"
#include "platform/resources.h"

#define MB_OK 0x00000000u

#define LB_ADDSTRING 0x0180
#define LB_RESETCONTENT 0x0184
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETCOUNT 0x018B
#define LB_SETCURSEL 0x0186
#define LB_ERR (-1)
#define LBN_SELCHANGE 1
#define BN_CLICKED 0

#define BS_PUSHBUTTON 0x00000000u
#define BS_DEFPUSHBUTTON 0x00000001u
#define LBS_NOTIFY 0x0001u
#define LBS_NOINTEGRALHEIGHT 0x0100u
#define SS_ICON 0x00000003u
#define SS_BITMAP 0x0000000Eu
#define SS_NOPREFIX 0x00000080u
#define DS_MODALFRAME 0x80u
#define DS_SETFONT 0x40u

#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008

struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC dialogProc, LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
HWND GetDlgItem(HWND dialog, int id);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SHInitDialog(SHINITDLGINFO* info);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
