#include "shell/main_window.h"

#include "display/face_window.h"
#include "engine/app_globals.h"
#include "engine/calc_state.h"
#include "shell/app_main.h"
#include "shell/dialogs.h"
#include "shell/face_accessible.h"
#include "shell/resources.h"
#include "shell/skin_watch.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

HWND menuBar;
static SHACTIVATEINFO activateInfo;

static HWND CreateMenuBar(HWND window)
{
    SHMENUBARINFO info = {};
    info.cbSize = 36;
    info.hwndParent = window;
    info.nToolBarId = IdrMenu;
    info.hInstRes = appInstance;
    if (!SHCreateMenuBar(&info)) return nullptr;
    return info.hwndMB;
}

static void ShowSoundCheckMark()
{
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuBar, SHCMBM_GETSUBMENU, 0, IdmTools));
    if (menu) CheckMenuItem(menu, IdmSoundEffects, appSettings.soundEffects == 1 ? MF_CHECKED : MF_UNCHECKED);
}

// The skin the window starts with: the watched one, the chosen one, or one chosen in the skin
// dialog until one loads. 1 when the dialog was cancelled.
static int32_t LoadFirstSkin()
{
    if (skinWatchOn) {
        StartSkinWatch();
        return 0;
    }
    if (LoadSkin(appSettings.skinFile) == 0) return 0;
    for (;;) {
        if (ShowDialog(IddSkin, SkinDialogProc) == IDCANCEL) return 1;
        ReleaseSurfaces();
        if (LoadSkin(appSettings.skinFile) == 0) {
            KeepChosenSkin();
            return 0;
        }
    }
}

static int32_t InitMainWindow()
{
    menuBar = CreateMenuBar(mainWindow);
    activateInfo = SHACTIVATEINFO{};
    activateInfo.cbSize = 12;
    ShowSoundCheckMark();
    DescribeFaceForScreenReaders(mainWindow);
    return StartFace(LoadFirstSkin);
}

static void ChooseSkin()
{
    WCHAR previous[MAX_PATH];
    wcscpy(previous, appSettings.skinFile);
    for (;;) {
        ReleaseSurfaces();
        bool chosen = ShowDialog(IddSkin, SkinDialogProc) != IDCANCEL;
        if (!chosen) wcscpy(appSettings.skinFile, previous);
        if (LoadSkin(appSettings.skinFile) == 0) {
            if (chosen) KeepChosenSkin();
            break;
        }
    }
    if (skinWatchOn) WatchChosenSkin();
}

static void ToggleSoundEffects()
{
    appSettings.soundEffects ^= 1;
    ShowSoundCheckMark();
}

static LRESULT OnCreate(HWND window)
{
    mainWindow = window;
    if (InitMainWindow() != 0) DestroyWindow(window);
    return 0;
}

static void OnDestroy()
{
    PlaySkinSound(SoundExit);
    if (skinWatchOn) StopSkinWatch();
    ReleaseSurfaces();
    DestroyWindow(menuBar);
    PostQuitMessage(0);
}

static bool OnCommand(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IdmAbout:
        ShowDialog(IddAbout, AboutDialogProc);
        return true;
    case IdmChooseSkin:
        ChooseSkin();
        return true;
    case IdmSoundEffects:
        ToggleSoundEffects();
        return true;
    }
    return false;
}

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HandleFaceMessage(window, message, wParam, lParam)) return 0;
    if (skinWatchOn && HandleSkinWatchMessage(message, lParam)) return 0;
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) DestroyWindow(window);
        return 0;
    case WM_ACTIVATE:
        SHHandleWMActivate(window, wParam, lParam, &activateInfo, 0);
        return 0;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(window, wParam, lParam, &activateInfo);
        return 0;
    case WM_COMMAND:
        if (OnCommand(wParam)) return 0;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
