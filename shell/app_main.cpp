#include "shell/app_main.h"

#include "engine/app_globals.h"
#include "platform/wince.h"
#include "shell/main_window.h"
#include "shell/resources.h"
#include "shell/skin_watch.h"

static void FindAppDirectory()
{
    appDirectory[0] = 0;
    WCHAR path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    for (int i = int(length) - 1; i >= 0; i--) {
        if (path[i] == u'\\') {
            path[i + 1] = 0;
            wcscpy(appDirectory, path);
            return;
        }
    }
}

// When the program's directory is too deep for the default skin path to fit, the path stays
// empty (never cut short); the skin loader then says that it cannot find the skin.
static void SetDefaultSettings()
{
    appSettings.skinFile[0] = 0;
    if (wcslen(appDirectory) + wcslen(u"skin\\default.skn") < MAX_PATH)
        wsprintfW(appSettings.skinFile, u"%sskin\\default.skn", appDirectory);
    appSettings.soundEffects = 1;
}

static void RegisterMainClass(HINSTANCE instance, LPCWSTR className)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IdiIcon));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
}

// The window loses the menu bar's height at its bottom edge.
static void FitAboveMenuBar(HWND window)
{
    if (!menuBar) return;
    RECT windowRect, barRect;
    GetWindowRect(window, &windowRect);
    GetWindowRect(menuBar, &barRect);
    LONG bottom = windowRect.bottom - (barRect.bottom - barRect.top);
    MoveWindow(window, windowRect.left, windowRect.top, windowRect.right - windowRect.left,
               bottom - windowRect.top, FALSE);
}

static int InitInstance(HINSTANCE instance, int showCommand)
{
    appInstance = instance;
    WCHAR className[100], title[100];
    LoadStringW(instance, IdsClassName, className, 100);
    LoadStringW(instance, IdsTitle, title, 100);
    HWND running = FindWindowW(className, title);
    if (running) {
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(running) | 1));
        return 0;
    }
    RegisterMainClass(instance, className);
    HWND window = CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    FitAboveMenuBar(window);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return 1;
}

static const WCHAR WatchWord[] = u"--watch";

// The command line's form is in app_main.h.
static void UseCommandLine(LPCWSTR commandLine)
{
    if (!commandLine) commandLine = u"";
    size_t length = wcslen(WatchWord);
    skinWatchOn = wcsncmp(commandLine, WatchWord, length) == 0 && (commandLine[length] == 0 || commandLine[length] == u' ');
    if (skinWatchOn) commandLine += commandLine[length] ? length + 1 : length;
    UseCommandLineSkin(commandLine);
}

int AppMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    RegisterResources(instance, &ProgramResources);
    FindAppDirectory();
    SetDefaultSettings();
    LoadSettings();
    UseCommandLine(commandLine);
    if (!InitInstance(instance, showCommand)) return 0;
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IdrAccelerators));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    SaveSettings();
    return int(msg.wParam);
}
