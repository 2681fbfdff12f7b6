// The calculator proper: its state, the key press and release of the stylus, the action of every
// key and the switch between radix modes. Decimal mode works on doubles, hexadecimal and binary
// mode on unsigned 32-bit integers; each mode uses its own pair of value and accumulator.
#pragma once
#include "engine/key_table.h"
#include "engine/skin_layout.h"
#include "engine/sound_effects.h"
#include "platform/types.h"

struct CalcState {
    RadixMode radixMode;
    double decimalValue;         // number typed or last result, decimal mode
    uint32_t integerValue;       // the same for hexadecimal and binary mode
    double decimalAccumulator;   // left operand of the pending operation, decimal mode
    uint32_t integerAccumulator;
    double fractionStep;         // 0 in integer entry; else place value of the next fraction digit
    OpCode pendingOp;
    int32_t operatorEntered;     // 1 while an operand or result is shown
    int32_t errorFlag;           // 1 after a decimal result out of range
};

extern CalcState calcState;

constexpr double DecimalLimit = 99999999.0;

// The key a press at (x, y) of the face acts on with these key states: the lowest key index whose
// area holds the point, disabled keys skipped. -1 for none.
int KeyAtPoint(int x, int y, const KeyState states[KeyCount], const Area areas[AreaCount]);
int32_t PressKey(LPARAM position);
// Presses a key by its index as a stylus press on its area does: the key goes Down, its action
// runs and its sound plays. False, with nothing done, for a disabled key or no key at all.
bool PressKeyIndex(int key);
// Lifts every pressed key but the mode keys.
int32_t ReleaseKeys();
// Lifts one pressed key; mode keys stay as they are.
void ReleaseKey(int key);
SoundId ApplyKey(int key);
// A digit, the point or clear entry after an operator or a result starts a new operand: after an
// operator the value shown becomes the left operand, after equals the result is dropped.
void BeginEntry();
void ClearAll();
int32_t SetRadixMode(RadixMode newMode);

// Formats a double as "%f" does (sign, integer digits, point, six rounded fraction digits, or
// `places` of them) and drops trailing fraction zeros and a bare point. Returns the length.
int FormatTrimmedFixed(double value, char* text, int capacity, int places = 6);
