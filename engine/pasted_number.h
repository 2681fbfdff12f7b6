// A number pasted from the clipboard, entered as if it had been typed. The text, blanks trimmed,
// is a number of the current radix mode: decimal an optional leading "-", digits and at most one
// "."; hexadecimal the digits 0-9 and a-f in either case after an optional "0x"; binary 0 and 1
// after an optional "0b". Separators (",", "_", "'" and blanks) may stand between digits. It is
// taken when the calculator can hold it as it stands: decimal at most 8 integer and 6 fraction
// digits, hexadecimal and binary at most 8 digits (leading zeros do not count, as typing them
// changes nothing). Anything else is refused whole.
#pragma once
#include "engine/calc_state.h"

struct PastedNumber {
    double decimalValue;   // decimal: the value the digits give with the keys' own arithmetic
    double fractionStep;   // decimal: 0 without a point, else the step after the fraction digits
    uint32_t integerValue; // hexadecimal and binary
};

// 0 with the number filled in when text is a number the calculator can hold in mode, else 1.
int32_t ParsePastedNumber(LPCWSTR text, RadixMode mode, PastedNumber* number);
// Enters text as a number typed now: after an operator it is the right operand, after equals it
// begins a new calculation, and a number being typed is replaced. 1, with nothing changed, when
// the text is refused or the error state blocks the keys.
int32_t PasteNumber(LPCWSTR text);
