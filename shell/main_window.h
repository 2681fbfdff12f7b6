// The calculator's window: creation with the skin loop, stylus and paint handling, the Tools
// commands, and teardown.
#pragma once
#include "platform/wince.h"

extern HWND menuBar;

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
