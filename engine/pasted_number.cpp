#include "engine/pasted_number.h"

namespace {

constexpr int MaxIntegerDigits = 8;   // also the most hexadecimal and binary digits
constexpr int MaxFractionDigits = 6;

bool IsBlank(WCHAR c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool IsSeparator(WCHAR c)
{
    return c == u',' || c == u'_' || c == u'\'' || IsBlank(c);
}

int DigitValueIn(RadixMode mode, WCHAR c)
{
    int value = DigitValue(c);
    int radix = mode == Hex ? 16 : mode == Bin ? 2 : 10;
    return value < radix ? value : -1;
}

// The digits of a number as it would be typed: the integer digits without leading zeros, and
// the fraction digits after a point.
struct TypedDigits {
    bool negative = false;
    bool point = false;
    int integerCount = 0;
    int fractionCount = 0;
    int integer[MaxIntegerDigits];
    int fraction[MaxFractionDigits];
};

// Skips "0x" in hexadecimal and "0b" in binary mode, either case.
const WCHAR* SkipPrefix(const WCHAR* p, const WCHAR* end, RadixMode mode)
{
    if (mode == Dec || end - p < 2 || p[0] != u'0') return p;
    WCHAR letter = WCHAR(p[1] | 0x20);
    return letter == (mode == Hex ? u'x' : u'b') ? p + 2 : p;
}

bool AddDigit(TypedDigits& digits, int value)
{
    if (digits.point) {
        if (digits.fractionCount == MaxFractionDigits) return false;
        digits.fraction[digits.fractionCount++] = value;
        return true;
    }
    if (digits.integerCount == 0 && value == 0) return true;
    if (digits.integerCount == MaxIntegerDigits) return false;
    digits.integer[digits.integerCount++] = value;
    return true;
}

bool ReadDigits(const WCHAR* p, const WCHAR* end, RadixMode mode, TypedDigits& digits)
{
    if (mode == Dec && p < end && *p == u'-') {
        digits.negative = true;
        ++p;
    }
    p = SkipPrefix(p, end, mode);
    bool anyDigit = false, afterDigit = false, separatorOpen = false;
    for (; p < end; ++p) {
        if (int value = DigitValueIn(mode, *p); value >= 0) {
            if (!AddDigit(digits, value)) return false;
            anyDigit = afterDigit = true;
            separatorOpen = false;
        } else if (IsSeparator(*p) && afterDigit) {
            separatorOpen = true;
        } else if (*p == u'.' && mode == Dec && !digits.point && !separatorOpen) {
            digits.point = true;
            afterDigit = false;
        } else {
            return false;
        }
    }
    return anyDigit && !separatorOpen;
}

// The value typing these digits gives, with the digit keys' own arithmetic and the sign key last.
void DecimalAsTyped(const TypedDigits& digits, PastedNumber* number)
{
    double value = 0;
    for (int i = 0; i < digits.integerCount; i++) value = value * 10 + double(digits.integer[i]);
    double step = digits.point ? 0.1 : 0;
    for (int i = 0; i < digits.fractionCount; i++) {
        value = step * double(digits.fraction[i]) + value;
        step = step * 0.1;
    }
    number->decimalValue = digits.negative ? value * -1 : value;
    number->fractionStep = step;
}

}  // namespace

int32_t ParsePastedNumber(LPCWSTR text, RadixMode mode, PastedNumber* number)
{
    if (!text) return 1;
    const WCHAR* begin = text;
    const WCHAR* end = text;
    while (*end) ++end;
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    TypedDigits digits;
    if (!ReadDigits(begin, end, mode, digits)) return 1;
    *number = PastedNumber{0, 0, 0};
    if (mode == Dec) {
        DecimalAsTyped(digits, number);
        return 0;
    }
    for (int i = 0; i < digits.integerCount; i++)
        number->integerValue = number->integerValue * (mode == Hex ? 16u : 2u) + uint32_t(digits.integer[i]);
    return 0;
}

int32_t PasteNumber(LPCWSTR text)
{
    CalcState& s = calcState;
    PastedNumber number;
    if (s.errorFlag == 1 || ParsePastedNumber(text, s.radixMode, &number) != 0) return 1;
    BeginEntry();
    if (s.radixMode == Dec) {
        s.decimalValue = number.decimalValue;
        s.fractionStep = number.fractionStep;
    } else {
        s.integerValue = number.integerValue;
    }
    return 0;
}
