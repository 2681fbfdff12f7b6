#include "display/face_window.h"

#include "display/face_keyboard.h"
#include "display/frame_painter.h"
#include "engine/calc_state.h"
#include "platform/windows.h"

void ResetCalculator()
{
    ForgetKeyboardKeys();
    for (auto& state : keyStates) state = Up;
    calcState.radixMode = Dec;
    ClearAll();
}

int32_t StartFace(int32_t (*loadSkin)())
{
    ResetCalculator();
    int32_t result = loadSkin();
    if (result == 0) SetRadixMode(Dec);
    return result;
}

bool HandleFaceMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HandleFaceKey(window, message, wParam, lParam)) return true;
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) ReleaseKeyboardKeys();
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
