// Program-wide globals that every subsystem reads: the instance, the program's directory, the
// main window and the persisted settings.
#pragma once
#include "platform/types.h"

struct AppSettings {
    WCHAR skinFile[MAX_PATH];   // full path of the skin in use
    int32_t soundEffects;       // sounds play only when exactly 1
};

extern HINSTANCE appInstance;
extern WCHAR appDirectory[MAX_PATH];   // ends with a backslash; empty when unknown
extern HWND mainWindow;
// The skin file given on the command line for this run, empty for none: the skin loader finds its
// images and sounds beside it.
extern WCHAR commandLineSkin[MAX_PATH];
extern AppSettings appSettings;
