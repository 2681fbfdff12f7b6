#include "engine/keyboard_map.h"

#include "engine/key_table.h"
#include "platform/windows.h"

int KeyForCharacter(WCHAR character)
{
    if (int value = DigitValue(character); value >= 0) return KeyForDigit(value);
    switch (character) {
    case u'.':
    case u',': return KeyPoint;
    case u'+': return KeyAdd;
    case u'-': return KeySubtract;
    case u'*': return KeyMultiply;
    case u'/': return KeyDivide;
    case u'=': return KeyEquals;
    default: return -1;
    }
}

int KeyForVirtualKey(UINT virtualKey)
{
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9) return KeyForDigit(int(virtualKey - VK_NUMPAD0));
    switch (virtualKey) {
    case VK_DECIMAL: return KeyPoint;
    case VK_ADD: return KeyAdd;
    case VK_SUBTRACT: return KeySubtract;
    case VK_MULTIPLY: return KeyMultiply;
    case VK_DIVIDE: return KeyDivide;
    case VK_RETURN: return KeyEquals;
    case VK_ESCAPE: return KeyClearAll;
    case VK_DELETE: return KeyClearEntry;
    case VK_BACK: return KeyBackspace;
    case VK_F9: return KeySign;
    case VK_F5: return KeyHexMode;
    case VK_F6: return KeyDecMode;
    case VK_F8: return KeyBinMode;
    default: return -1;
    }
}
