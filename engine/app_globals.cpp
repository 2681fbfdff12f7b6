#include "engine/app_globals.h"

HINSTANCE appInstance;
WCHAR appDirectory[MAX_PATH];
HWND mainWindow;
WCHAR commandLineSkin[MAX_PATH];
AppSettings appSettings = {{}, 1};
