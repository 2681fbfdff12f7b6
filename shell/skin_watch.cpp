#include "shell/skin_watch.h"

#include "engine/app_globals.h"
#include "platform/wince.h"
#include "shell/resources.h"
#include "skin/check/broken_skin_report.h"
#include "skin/skin_loader.h"
#include "skin/skin_reload.h"

// Posted to the main window by the first change of a burst; the burst's other changes are queued
// before it, so one save gives one reload.
#define WM_RELOADSKIN (WM_APP + 1)

constexpr UINT BrokenMarkId = 1;
constexpr int WatchedFileCount = 1 + SkinNamedFileCount;

BOOL skinWatchOn;
static WCHAR watchedFiles[WatchedFileCount][MAX_PATH];   // the skin file, then what it names
static int watchedCount;
static BOOL reloadPending;
static BOOL brokenMarkShown;

static void ShowBrokenMark(BOOL show)
{
    if (show == brokenMarkShown) return;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow;
    data.uID = BrokenMarkId;
    data.uFlags = NIF_ICON;
    data.hIcon = LoadIconW(appInstance, MAKEINTRESOURCEW(IdiSkinBroken));
    if (Shell_NotifyIconW(show ? NIM_ADD : NIM_DELETE, &data)) brokenMarkShown = show;
}

// The directory part of a path, without its last backslash, into directory (MAX_PATH units).
static void DirectoryOf(LPCWSTR path, LPWSTR directory)
{
    wcscpy(directory, path);
    LPWSTR slash = wcsrchr(directory, u'\\');
    if (slash) *slash = 0;
}

static WCHAR watchedDirectories[WatchedFileCount][MAX_PATH];   // those registered
static int watchedDirectoryCount;

// The directories of the watched files, each once, into directories; returns how many.
static int DirectoriesOfWatchedFiles(WCHAR directories[][MAX_PATH])
{
    int count = 0;
    for (int i = 0; i < watchedCount; i++) {
        DirectoryOf(watchedFiles[i], directories[count]);
        bool known = false;
        for (int d = 0; d < count; d++) known = known || wcscmp(directories[d], directories[count]) == 0;
        if (!known) count++;
    }
    return count;
}

static bool SameDirectories(WCHAR directories[][MAX_PATH], int count)
{
    if (count != watchedDirectoryCount) return false;
    for (int d = 0; d < count; d++)
        if (wcscmp(directories[d], watchedDirectories[d]) != 0) return false;
    return true;
}

// Watches the directories of the skin file and of the files it names (editors save by writing a
// new file and renaming it over the old one, so the files themselves are not enough). The
// registrations are renewed only when the directories change, so that no change is missed in
// between; a directory that does not exist yet is looked for again at every reload.
static void WatchSkinFiles()
{
    wcscpy(watchedFiles[0], appSettings.skinFile);
    watchedCount = 1 + SkinNamedFiles(appSettings.skinFile, &watchedFiles[1]);
    WCHAR directories[WatchedFileCount][MAX_PATH];
    int count = DirectoriesOfWatchedFiles(directories);
    if (SameDirectories(directories, count)) return;
    SHChangeNotifyDeregister(mainWindow);
    watchedDirectoryCount = 0;
    for (int d = 0; d < count; d++) {
        SHCHANGENOTIFYENTRY entry = {SHCNE_ALLEVENTS, directories[d], FALSE};
        if (SHChangeNotifyRegister(mainWindow, &entry)) wcscpy(watchedDirectories[watchedDirectoryCount++], directories[d]);
    }
}

static bool IsWatchedFile(LPCWSTR path)
{
    for (int i = 0; path && i < watchedCount; i++)
        if (wcscmp(path, watchedFiles[i]) == 0) return true;
    return false;
}

// The calculator's state, key states included, is not touched: only the face is drawn anew.
// Every reload that loads plays the skin's "loaded" sound (when sound effects are on), as any load
// does: the author hears that the save took, and hears the sound being made.
static void ReloadWatchedSkin()
{
    WCHAR message[MAX_PATH];
    if (ReloadSkin(appSettings.skinFile, message) == 0) {
        ShowBrokenMark(FALSE);
        InvalidateRect(mainWindow, nullptr, FALSE);
    } else {
        ReportBrokenSkin(appSettings.skinFile, message);
        ShowBrokenMark(TRUE);
    }
    WatchSkinFiles();
}

void StartSkinWatch()
{
    brokenMarkShown = FALSE;
    reloadPending = FALSE;
    watchedDirectoryCount = 0;
    ReloadWatchedSkin();
}

void StopSkinWatch()
{
    SHChangeNotifyDeregister(mainWindow);
    watchedDirectoryCount = 0;
    ShowBrokenMark(FALSE);
}

void WatchChosenSkin()
{
    ShowBrokenMark(FALSE);
    WatchSkinFiles();
}

static void OnFileChanged(FILECHANGENOTIFY* notify)
{
    const FILECHANGEINFO& info = notify->fci;
    bool watched = IsWatchedFile(reinterpret_cast<LPCWSTR>(info.dwItem1)) ||
                   IsWatchedFile(reinterpret_cast<LPCWSTR>(info.dwItem2));
    SHChangeNotifyFree(notify);
    if (!watched || reloadPending) return;
    reloadPending = TRUE;
    PostMessageW(mainWindow, WM_RELOADSKIN, 0, 0);
}

bool HandleSkinWatchMessage(UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_FILECHANGEINFO:
        OnFileChanged(reinterpret_cast<FILECHANGENOTIFY*>(lParam));
        return true;
    case WM_RELOADSKIN:
        reloadPending = FALSE;
        ReloadWatchedSkin();
        return true;
    }
    return false;
}
