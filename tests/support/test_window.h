// A plain top-level window to draw into, for the drawing tests and benchmarks.
#pragma once
#include "platform/wince.h"

inline LRESULT TestWindowProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

// A window at the default place and size: a 240 x 294 backing surface.
inline HWND CreateTestWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.lpszClassName = u"NumbrixDrawingTest";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, u"NumbrixDrawingTest", u"test", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
}
