#include "engine/app_globals.h"

HINSTANCE appInstance;
WCHAR appDirectory[MAX_PATH];
HWND mainWindow;
AppSettings appSettings = {{}, 1};
