// The Pocket PC shell pieces the program uses: the menu bar with its drop-down button and pop-up
// menu (check marks, separators), the input-panel bookkeeping on activation and setting changes
// (there is no input panel here, so it only records), file-change notifications to a window, and
// notification icons in the title bar. Left out: button images, menu bars without a resource,
// nested sub-menus, checking items by position, recursive change notification, the icons'
// callback messages and tips.
#pragma once
#include "platform/files.h"
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

// ---- File-change notification (the host's: hosts/desktop/change_notify.cpp) ----
// A window registers directories and gets WM_FILECHANGEINFO for what changes in them, lParam a
// FILECHANGENOTIFY that it hands back with SHChangeNotifyFree. A window may register several
// directories; SHChangeNotifyDeregister ends all of its registrations.
// Changes come in bursts (an editor's save writes, renames and sets attributes in quick
// succession): a burst is handed over once the watched directories have been quiet for
// ChangeNotifyQuietMs, each distinct change once, in the order in which they first happened. A
// rename within watched directories is one SHCNE_RENAMEITEM (dwItem1 the old path, dwItem2 the
// new); a file moved in or out is a creation or a deletion. Paths are full device paths. The
// attributes, time and size of the change are left 0.
#define WM_FILECHANGEINFO (WM_APP + 0x0101)
#define SHCNE_RENAMEITEM 0x00000001
#define SHCNE_CREATE 0x00000002
#define SHCNE_DELETE 0x00000004
#define SHCNE_MKDIR 0x00000008
#define SHCNE_RMDIR 0x00000010
#define SHCNE_ATTRIBUTES 0x00000800
#define SHCNE_UPDATEITEM 0x00002000
#define SHCNE_ALLEVENTS 0x7FFFFFFF
#define SHCNF_PATH 0x0001

constexpr int ChangeNotifyQuietMs = 100;

struct SHCHANGENOTIFYENTRY {
    DWORD dwEventMask;   // the SHCNE_ kinds wanted
    LPWSTR pszWatchDir;
    BOOL fRecursive;     // only FALSE
};
struct FILECHANGEINFO {
    DWORD cbSize;
    LONG wEventId;       // one SHCNE_ kind
    DWORD uFlags;        // SHCNF_PATH
    UINT_PTR dwItem1;    // LPCWSTR path; pointer-sized here, since pointers are 64 bits on the host
    UINT_PTR dwItem2;    // LPCWSTR new path of a rename, else 0
    DWORD dwAttributes;
    FILETIME ftModified;
    DWORD nFileSize;
};
struct FILECHANGENOTIFY {
    DWORD dwRefCount;
    FILECHANGEINFO fci;
};

// FALSE when the directory cannot be watched (it does not exist, or no watch is left).
BOOL SHChangeNotifyRegister(HWND window, SHCHANGENOTIFYENTRY* entry);
BOOL SHChangeNotifyDeregister(HWND window);
void SHChangeNotifyFree(FILECHANGENOTIFY* notify);

// ---- Notification icons (notify_icons.cpp) ----
// Icons shown in the title bar, left of its button, the first added rightmost, as 16 x 16
// images of the icon resource.
#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004

struct NOTIFYICONDATAW {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[64];
};

// NIM_ADD fails for an icon (window and id) already shown; NIM_MODIFY and NIM_DELETE for one
// that is not.
BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW* data);
