// The main window's handling of paint and stylus messages, for tests and benchmarks that drive the
// calculator face through the message loop without the rest of the program (menu bar, dialogs).
#pragma once
#include "display/frame_painter.h"
#include "engine/app_globals.h"
#include "engine/calc_state.h"
#include "platform/wince.h"

inline int faceWindowPaints = 0;

inline LRESULT FaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        PaintFrame();
        EndPaint(window, &paint);
        faceWindowPaints++;
        return 0;
    }
    case WM_LBUTTONDOWN:
        PressKey(lParam);
        return 0;
    case WM_LBUTTONUP:
        ReleaseKeys();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A shown window of the calculator's client size below the title bar, which becomes mainWindow.
inline HWND CreateFaceWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FaceWindowProc;
    windowClass.lpszClassName = u"NumbrixFace";
    RegisterClassW(&windowClass);
    mainWindow = CreateWindowExW(0, u"NumbrixFace", u"Numbrix", WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                                 nullptr, nullptr);
    return mainWindow;
}
