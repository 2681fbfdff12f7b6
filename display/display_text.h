// The line the display shows for a calculator state: lower-case hexadecimal, binary digits, or a
// decimal fixed-point number without trailing fraction zeros, grouped in threes with commas.
#pragma once
#include "engine/calc_state.h"

enum { DisplayTextMax = 18 };

// Writes the text and its terminator into text (DisplayTextMax + 1 characters); returns its length.
int BuildDisplayText(const CalcState* state, WCHAR* text);

// The display text fitted to `positions` characters: a longer decimal text is rounded to as many
// fraction digits as fit; integer digits and the sign are never cut. Returns its length.
int BuildFittedDisplayText(const CalcState* state, WCHAR* text, int positions);

// The number shown as plain text for the clipboard: the display text without its grouping commas
// (-1234.5, 0.000123, ff, 1010). Empty in the error state, which shows no number.
int BuildCopyText(const CalcState* state, WCHAR* text);
