#include "display/face_keyboard.h"

#include "display/number_clipboard.h"
#include "engine/calc_state.h"
#include "engine/keyboard_map.h"
#include "platform/windows.h"

namespace {

// Calculator keys held by physical keys, by scan code.
struct HeldKey {
    UINT scanCode;
    int key;
};
constexpr int MaxHeld = 16;
HeldKey held[MaxHeld];
int heldCount = 0;

UINT ScanCode(LPARAM lParam)
{
    return (UINT(lParam) >> 16) & 0xFF;
}

bool IsRepeat(LPARAM lParam)
{
    return (UINT(lParam) & 0x40000000u) != 0;
}

int HeldIndex(UINT scanCode)
{
    for (int i = 0; i < heldCount; i++)
        if (held[i].scanCode == scanCode) return i;
    return -1;
}

// Characters that no physical key typed (scan code 0) press and release at once.
void Press(int key, UINT scanCode)
{
    if (key < 0 || !PressKeyIndex(key)) return;
    if (scanCode == 0 || heldCount == MaxHeld) ReleaseKey(key);
    else held[heldCount++] = HeldKey{scanCode, key};
}

// A calculator key that two physical keys hold stays down until both are up.
void Release(int index)
{
    int key = held[index].key;
    held[index] = held[--heldCount];
    for (int i = 0; i < heldCount; i++)
        if (held[i].key == key) return;
    ReleaseKey(key);
}

void OnKeyDown(HWND window, WPARAM virtualKey, LPARAM lParam)
{
    if (IsRepeat(lParam)) return;
    if (GetKeyState(VK_CONTROL) < 0) {
        if (virtualKey == 'C') CopyShownNumber(window);
        if (virtualKey == 'V') PasteNumberFromClipboard(window);
        return;
    }
    if (HeldIndex(ScanCode(lParam)) < 0) Press(KeyForVirtualKey(UINT(virtualKey)), ScanCode(lParam));
}

// The characters of a key-down that pressed a named key already (the keypad's) press nothing more.
void OnCharacter(WPARAM character, LPARAM lParam)
{
    UINT scanCode = ScanCode(lParam);
    if (IsRepeat(lParam) || (scanCode != 0 && HeldIndex(scanCode) >= 0)) return;
    Press(KeyForCharacter(WCHAR(character)), scanCode);
}

}  // namespace

bool HandleFaceKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        OnKeyDown(window, wParam, lParam);
        return true;
    case WM_CHAR:
        OnCharacter(wParam, lParam);
        return true;
    case WM_KEYUP:
        if (int index = HeldIndex(ScanCode(lParam)); index >= 0) Release(index);
        return true;
    }
    return false;
}

void ReleaseKeyboardKeys()
{
    while (heldCount > 0) Release(heldCount - 1);
}

void ForgetKeyboardKeys()
{
    heldCount = 0;
}
