// The 29 keys of the calculator face: which cells draw each key in its three looks, in which
// radix modes it can be pressed and what it stands for. The key index (0 to 28) is a key's
// identity everywhere: row k here, area k of the skin.
#pragma once
#include <cstdint>

enum KeyState : int32_t { Up = 0, Down = 1, Disabled = 2 };
enum RadixMode : int32_t { Hex = 0, Dec = 1, Bin = 2 };
enum OpCode : int32_t { OpNone = 0, OpAdd = 1, OpSubtract = 2, OpMultiply = 3, OpDivide = 4 };

constexpr int KeyCount = 29;
constexpr int KeyPoint = 11;
constexpr int KeySign = 17;
constexpr int KeyDivide = 18;
constexpr int KeyMultiply = 19;
constexpr int KeySubtract = 20;
constexpr int KeyAdd = 21;
constexpr int KeyEquals = 22;
constexpr int KeyClearAll = 23;
constexpr int KeyClearEntry = 24;
constexpr int KeyBackspace = 25;
constexpr int KeyHexMode = 26;
constexpr int KeyDecMode = 27;
constexpr int KeyBinMode = 28;

// Seven bytes in this order, so that the cell of state s is cell[s] and the enable byte of
// mode m is enabled[m]; only the value 1 enables.
struct KeyDef {
    uint8_t cell[3];      // upCell, downCell, disabledCell
    uint8_t enabled[3];   // enabledHex, enabledDec, enabledBin
    uint8_t keyValue;     // digit value, OpCode of an operator key, else 0
};

extern const KeyDef KeyTable[KeyCount];
extern KeyState keyStates[KeyCount];

bool IsKeyEnabled(int key, RadixMode mode);
// The digit key of a digit value 0 to 15, -1 for none.
int KeyForDigit(int value);
// The value of a digit character 0-9, a-f or A-F, -1 for any other character.
int DigitValue(char16_t character);
// The key states with which a radix mode starts: disabled where the mode does not use a key, the
// mode's own key down.
void ModeKeyStates(RadixMode mode, KeyState states[KeyCount]);
