// The skin-selection and About dialogs.
#pragma once
#include "platform/wince.h"

BOOL SkinDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs dialog template `id` modally, owned by the main window; returns what it ended with.
INT_PTR ShowDialog(unsigned id, DLGPROC handler);
