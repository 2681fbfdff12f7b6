#include "display/face_window.h"

#include "display/frame_painter.h"
#include "engine/calc_state.h"
#include "platform/windows.h"

void ResetCalculator()
{
    for (auto& state : keyStates) state = Up;
    calcState.radixMode = Dec;
    ClearAll();
}

bool HandleFaceMessage(HWND window, UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        PaintFrame();
        EndPaint(window, &paint);
        return true;
    }
    case WM_LBUTTONDOWN:
        PressKey(lParam);
        return true;
    case WM_LBUTTONUP:
        ReleaseKeys();
        return true;
    }
    return false;
}
