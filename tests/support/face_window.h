// A window of the calculator face, for tests and benchmarks that drive it through the message loop
// without the rest of the program (menu bar, dialogs); it counts its paints.
#pragma once
#include "display/face_window.h"
#include "engine/app_globals.h"
#include "engine/skin_layout.h"
#include "platform/wince.h"

inline int faceWindowPaints = 0;

inline LRESULT FaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) faceWindowPaints++;
    if (HandleFaceMessage(window, message, wParam, lParam)) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// A shown window of the face's size below the title bar, which becomes mainWindow.
inline HWND CreateFaceWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FaceWindowProc;
    windowClass.lpszClassName = u"NumbrixFace";
    RegisterClassW(&windowClass);
    mainWindow = CreateWindowExW(0, u"NumbrixFace", u"Numbrix", WS_VISIBLE, 0, 26, FaceWidth, FaceHeight, nullptr,
                                 nullptr, nullptr, nullptr);
    return mainWindow;
}
