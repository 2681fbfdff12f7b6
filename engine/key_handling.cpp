#include "engine/calc_state.h"

#include "engine/app_globals.h"
#include "engine/skin_layout.h"
#include "platform/windows.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

CalcState calcState = {Dec, 0, 0, 0, 0, 0, OpNone, 0, 0};

int KeyAtPoint(int x, int y, const KeyState states[KeyCount], const Area areas[AreaCount])
{
    for (int k = 0; k < KeyCount; k++) {
        if (states[k] == Disabled) continue;
        if (AreaContains(areas[k], x, y)) return k;
    }
    return -1;
}

int32_t PressKey(LPARAM position)
{
    uint32_t packed = uint32_t(position);
    int k = KeyAtPoint(int(packed & 0xFFFF), int(packed >> 16), keyStates, SkinLayout);
    if (k >= 0) PressKeyIndex(k);
    return 0;
}

// In the error state the mode keys are not shown pressed, yet they sound like every other key.
bool PressKeyIndex(int key)
{
    if (key < 0 || key >= KeyCount || keyStates[key] == Disabled) return false;
    bool blockedModeKey = key >= KeyHexMode && calcState.errorFlag == 1;
    if (!blockedModeKey) {
        keyStates[key] = Down;
        InvalidateArea(SkinLayout[key]);
    }
    PlaySkinSound(ApplyKey(key));
    return true;
}

// Mode keys stay down: they show the current mode.
static bool Releasable(int key)
{
    return key >= 0 && key <= KeyBackspace && keyStates[key] == Down;
}

int32_t ReleaseKeys()
{
    for (int k = 0; k <= KeyBackspace; k++) ReleaseKey(k);
    return 0;
}

void ReleaseKey(int key)
{
    if (!Releasable(key)) return;
    keyStates[key] = Up;
    InvalidateArea(SkinLayout[key]);
}

void BeginEntry()
{
    CalcState& s = calcState;
    if (s.operatorEntered == 0) return;
    if (s.pendingOp != OpNone) {
        s.decimalAccumulator = s.decimalValue;
        s.integerAccumulator = s.integerValue;
        s.decimalValue = 0;
        s.integerValue = 0;
    } else {
        s.decimalValue = 0;
        s.integerValue = 0;
        s.decimalAccumulator = 0;
        s.integerAccumulator = 0;
    }
    s.operatorEntered = 0;
}

void ClearAll()
{
    CalcState& s = calcState;
    s.decimalValue = 0;
    s.integerValue = 0;
    s.decimalAccumulator = 0;
    s.integerAccumulator = 0;
    s.fractionStep = 0;
    s.pendingOp = OpNone;
    s.operatorEntered = 0;
    s.errorFlag = 0;
}

int FormatTrimmedFixed(double value, char* text, int capacity, int places)
{
    int length = std::snprintf(text, size_t(capacity), "%.*f", places, value);
    if (length < 0) length = 0;
    if (length >= capacity) length = capacity - 1;
    if (std::memchr(text, '.', size_t(length))) {
        while (length > 0 && text[length - 1] == '0') length--;
        if (length > 0 && text[length - 1] == '.') length--;
    }
    text[length] = 0;
    return length;
}

static void DecimalDigit(double digit)
{
    CalcState& s = calcState;
    double d = digit;
    if (s.decimalValue < 0) d = d * -1;
    if (s.fractionStep == 0) {
        // Exactly -9999999 takes an eighth digit as well, like every shorter value.
        bool fits = s.decimalValue >= 0 ? s.decimalValue <= 9999999.0 : s.decimalValue >= -9999999.0;
        if (fits) s.decimalValue = s.decimalValue * 10 + d;
        return;
    }
    char text[400];   // "%f" of any double fits; in range it is at most 16 characters
    int length = FormatTrimmedFixed(s.decimalValue, text, sizeof text);
    int counted = 0;
    for (int i = 0; i < length; i++) counted += text[i] != '.';
    if (s.fractionStep >= 0.000001 && counted < 8) {
        s.decimalValue = s.fractionStep * d + s.decimalValue;
        s.fractionStep = s.fractionStep * 0.1;
    }
}

static void DigitKey(int value)
{
    CalcState& s = calcState;
    BeginEntry();
    switch (s.radixMode) {
    case Hex:
        if (s.integerValue <= 0x0FFFFFFFu) s.integerValue = s.integerValue * 16 + uint32_t(value);
        break;
    case Bin:
        if (s.integerValue < 128) s.integerValue = s.integerValue * 2 + uint32_t(value);
        break;
    case Dec:
        DecimalDigit(value);
        break;
    }
}

static void PointKey()
{
    BeginEntry();
    if (calcState.fractionStep == 0) calcState.fractionStep = 0.1;
}

static double DecimalOperation(OpCode op, double a, double b, bool* divisionByZero)
{
    switch (op) {
    case OpAdd: return a + b;
    case OpSubtract: return a - b;
    case OpMultiply: return a * b;
    case OpDivide:
        if (b == 0) {
            *divisionByZero = true;
            return 0;
        }
        return a / b;
    case OpNone: break;
    }
    return b;
}

static uint32_t IntegerOperation(OpCode op, uint32_t a, uint32_t b)
{
    switch (op) {
    case OpAdd: return a + b;
    case OpSubtract: return a - b;
    case OpMultiply: return a * b;
    case OpDivide: return b == 0 ? 0 : a / b;
    case OpNone: break;
    }
    return b;
}

static void OperatorKey(int key)
{
    CalcState& s = calcState;
    OpCode op = OpCode(KeyTable[key].keyValue);
    // A second operator key in a row replaces the pending operator and leaves the value shown
    // alone; the accumulator holds no operand of this calculation (5 + x 3 = gives 15).
    if (key != KeyEquals && s.operatorEntered == 1 && s.pendingOp != OpNone) {
        s.pendingOp = op;
        s.fractionStep = 0;
        return;
    }
    if (key == KeyEquals && s.operatorEntered == 1 && s.pendingOp != OpNone) {
        s.decimalAccumulator = s.decimalValue;
        s.integerAccumulator = s.integerValue;
    }
    s.operatorEntered = 1;
    if (s.radixMode == Dec) {
        bool divisionByZero = false;
        s.decimalValue = DecimalOperation(s.pendingOp, s.decimalAccumulator, s.decimalValue, &divisionByZero);
        if (!divisionByZero && !(s.decimalValue >= -DecimalLimit && s.decimalValue <= DecimalLimit))
            s.errorFlag = 1;
    } else {
        s.integerValue = IntegerOperation(s.pendingOp, s.integerAccumulator, s.integerValue);
    }
    s.pendingOp = op;
    s.fractionStep = 0;
}

static void ClearEntry()
{
    CalcState& s = calcState;
    BeginEntry();
    s.decimalValue = 0;
    s.integerValue = 0;
    s.fractionStep = 0;
    s.operatorEntered = 0;
}

// Removes the last typed fraction digit: the value rounded to the typed places is exactly the
// typed digits, so dropping the last character of that text leaves the digits before it unchanged.
static double DropLastFractionDigit(double value, int typedDigits)
{
    char text[400];
    int length = std::snprintf(text, sizeof text, "%.*f", typedDigits, value);
    if (length <= 0 || length >= int(sizeof text)) return value;
    text[length - 1] = 0;
    return std::strtod(text, nullptr);
}

static void DecimalBackspace()
{
    CalcState& s = calcState;
    if (s.fractionStep == 0) {
        if (s.decimalValue != 0) {
            double shifted = s.decimalValue * 0.1;
            // Truncation as a 32-bit signed integer; in range always, guarded against any state.
            if (shifted > -2147483648.0 && shifted < 2147483648.0)
                s.decimalValue = double(int32_t(shifted));
        }
        return;
    }
    if (s.fractionStep >= 0.1) {
        // Only the point goes; the value keeps all its digits.
        s.fractionStep = 0;
        return;
    }
    int typedDigits = int(std::lround(-std::log10(s.fractionStep))) - 1;
    s.fractionStep = s.fractionStep * 10;
    if (typedDigits >= 1) s.decimalValue = DropLastFractionDigit(s.decimalValue, typedDigits);
    if (s.fractionStep >= 0.1) s.fractionStep = 0;
}

static void Backspace()
{
    CalcState& s = calcState;
    if (s.operatorEntered == 1) return;
    switch (s.radixMode) {
    case Hex:
        if (s.integerValue > 0) s.integerValue >>= 4;
        break;
    case Bin:
        if (s.integerValue > 0) s.integerValue >>= 1;
        break;
    case Dec:
        DecimalBackspace();
        break;
    }
}

SoundId ApplyKey(int key)
{
    if (key < 0 || key >= KeyCount) return SoundDigit;   // no such key: nothing to do
    bool error = calcState.errorFlag == 1;
    switch (key) {
    case KeyPoint:
        if (!error) PointKey();
        return SoundDigit;
    case KeySign:
        if (!error) calcState.decimalValue = calcState.decimalValue * -1;
        return SoundDigit;
    case KeyDivide:
    case KeyMultiply:
    case KeySubtract:
    case KeyAdd:
        if (!error) OperatorKey(key);
        return SoundOperator;
    case KeyEquals:
        if (!error) OperatorKey(key);
        return SoundEquals;
    case KeyClearAll:
        ClearAll();
        return SoundClearAll;
    case KeyClearEntry:
        if (!error) ClearEntry();
        return SoundClearEntry;
    case KeyBackspace:
        if (!error) Backspace();
        return SoundBackspace;
    case KeyHexMode:
    case KeyDecMode:
    case KeyBinMode:
        if (!error && key - KeyHexMode != calcState.radixMode) SetRadixMode(RadixMode(key - KeyHexMode));
        return SoundMode;
    default:
        if (!error) DigitKey(KeyTable[key].keyValue);
        return SoundDigit;
    }
}
