#include "display/display_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

static int Widen(const char* narrow, int length, WCHAR* text)
{
    if (length > DisplayTextMax) length = DisplayTextMax;   // only an impossible state gets here
    for (int i = 0; i < length; i++) text[i] = WCHAR(narrow[i]);
    text[length] = 0;
    return length;
}

static int HexText(uint32_t value, WCHAR* text)
{
    char narrow[16];
    int length = std::snprintf(narrow, sizeof narrow, "%x", value);
    return Widen(narrow, length, text);
}

static int BinaryText(uint32_t value, WCHAR* text)
{
    if (value == 0) return Widen("0", 1, text);
    char reversed[8];
    int length = 0;
    while (value != 0 && length < 8) {
        reversed[length++] = (value & 1) ? '1' : '0';
        value >>= 1;
    }
    char narrow[8];
    for (int i = 0; i < length; i++) narrow[i] = reversed[length - 1 - i];
    return Widen(narrow, length, text);
}

// Zero with a pending point shows the point and the zeros typed after it: the step's "%f" text
// cut before its last "1".
static int PendingPointText(double fractionStep, WCHAR* text)
{
    char narrow[400];
    int length = std::snprintf(narrow, sizeof narrow, "%f", fractionStep);
    if (length < 0) length = 0;
    if (length >= int(sizeof narrow)) length = sizeof narrow - 1;
    for (int i = length - 1; i >= 0; i--) {
        if (narrow[i] == '1') {
            length = i;
            break;
        }
    }
    return Widen(narrow, length, text);
}

static int GroupedText(double value, WCHAR* text, int places = 6)
{
    char plain[400];
    int length = FormatTrimmedFixed(value, plain, sizeof plain, places);
    const char* point = static_cast<const char*>(std::memchr(plain, '.', size_t(length)));
    int integerEnd = point ? int(point - plain) : length;
    int digits = 0;
    for (int i = 0; i < integerEnd; i++) digits += plain[i] != '-';
    int commas = digits >= 7 ? 2 : digits >= 4 ? 1 : 0;

    char grouped[420];
    int out = length + commas;
    if (out >= int(sizeof grouped)) out = sizeof grouped - 1;
    int write = out;
    int read = length;
    if (point) {
        while (read > integerEnd) grouped[--write] = plain[--read];
    }
    int run = 0;
    while (read > 0 && write > 0) {
        char c = plain[--read];
        if (c == '-') {
            grouped[--write] = c;
            continue;
        }
        if (run == 3) {
            grouped[--write] = ',';
            run = 0;
            if (write == 0) break;
        }
        grouped[--write] = c;
        run++;
    }
    return Widen(grouped + write, out - write, text);
}

int BuildDisplayText(const CalcState* state, WCHAR* text)
{
    switch (state->radixMode) {
    case Hex: return HexText(state->integerValue, text);
    case Bin: return BinaryText(state->integerValue, text);
    case Dec: break;
    }
    if (state->decimalValue == 0.0 && state->fractionStep != 0.0) return PendingPointText(state->fractionStep, text);
    return GroupedText(state->decimalValue, text);
}

// A text longer than the display loses fraction digits by rounding, one at a time, until it fits
// or none is left; the integer part is always shown whole (411,522.333333 shows
// 411,522.3333, and -12,345,678.25 shows -12,345,678).
int BuildFittedDisplayText(const CalcState* state, WCHAR* text, int positions)
{
    int length = BuildDisplayText(state, text);
    if (length <= positions || state->radixMode != Dec) return length;
    for (int places = 5; places >= 0; places--) {
        length = GroupedText(state->decimalValue, text, places);
        if (length <= positions) break;
    }
    return length;
}

int BuildCopyText(const CalcState* state, WCHAR* text)
{
    int length = 0;
    if (state->errorFlag != 1) {
        length = BuildDisplayText(state, text);
        length = int(std::remove(text, text + length, u',') - text);
    }
    text[length] = 0;
    return length;
}
