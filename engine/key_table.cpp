#include "engine/key_table.h"

#include "engine/skin_cells.h"

// Rows are in the order of the keys' areas in a skin; the cells follow engine/skin_cells.h.
constexpr KeyDef KeyTable[KeyCount] = {
    {{13, 42, 71}, {1, 0, 0}, 13},  // D
    {{10, 39, 68}, {1, 0, 0}, 10},  // A
    {{7, 36, 65}, {1, 1, 0}, 7},
    {{4, 33, 62}, {1, 1, 0}, 4},
    {{1, 30, 59}, {1, 1, 1}, 1},
    {{0, 29, 58}, {1, 1, 1}, 0},
    {{14, 43, 72}, {1, 0, 0}, 14},  // E
    {{11, 40, 69}, {1, 0, 0}, 11},  // B
    {{8, 37, 66}, {1, 1, 0}, 8},
    {{5, 34, 63}, {1, 1, 0}, 5},
    {{2, 31, 60}, {1, 1, 0}, 2},
    {{16, 45, 74}, {0, 1, 0}, 0},   // decimal point
    {{15, 44, 73}, {1, 0, 0}, 15},  // F
    {{12, 41, 70}, {1, 0, 0}, 12},  // C
    {{9, 38, 67}, {1, 1, 0}, 9},
    {{6, 35, 64}, {1, 1, 0}, 6},
    {{3, 32, 61}, {1, 1, 0}, 3},
    {{17, 46, 75}, {0, 1, 0}, 0},   // sign change
    {{20, 49, 78}, {1, 1, 1}, OpDivide},
    {{19, 48, 77}, {1, 1, 1}, OpMultiply},
    {{18, 47, 76}, {1, 1, 1}, OpSubtract},
    {{24, 53, 82}, {1, 1, 1}, OpAdd},
    {{25, 54, 83}, {1, 1, 1}, 0},   // equals
    {{21, 50, 79}, {1, 1, 1}, 0},   // clear all
    {{22, 51, 80}, {1, 1, 1}, 0},   // clear entry
    {{23, 52, 81}, {1, 1, 1}, 0},   // backspace
    {{26, 55, 84}, {1, 1, 1}, 0},   // hexadecimal mode
    {{27, 56, 85}, {1, 1, 1}, 0},   // decimal mode
    {{28, 57, 86}, {1, 1, 1}, 0},   // binary mode
};

static constexpr bool FacesFollowTheCellRuns()
{
    for (const KeyDef& key : KeyTable) {
        if (key.cell[Up] >= FaceCount) return false;
        if (key.cell[Down] != key.cell[Up] + CellFirstDown) return false;
        if (key.cell[Disabled] != key.cell[Up] + CellFirstDisabled) return false;
    }
    return true;
}
static_assert(FacesFollowTheCellRuns(), "a key's down and disabled faces lie 29 and 58 cells after its up face");

KeyState keyStates[KeyCount];

bool IsKeyEnabled(int key, RadixMode mode)
{
    return KeyTable[key].enabled[mode] == 1;
}

int KeyForDigit(int value)
{
    for (int k = 0; k < KeySign; k++)
        if (k != KeyPoint && KeyTable[k].keyValue == value) return k;
    return -1;
}

int DigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

void ModeKeyStates(RadixMode mode, KeyState states[KeyCount])
{
    for (int k = 0; k < KeyCount; k++) states[k] = IsKeyEnabled(k, mode) ? Up : Disabled;
    states[KeyHexMode + mode] = Down;
}
