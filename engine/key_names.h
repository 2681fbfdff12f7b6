// Short names of the keys, as tools and tests write key sequences: 0-9, a-f, point, sign, add,
// sub, mul, div, eq, c (clear all), ce (clear entry), bs (backspace), hex, dec, bin.
#pragma once

// The key index of a name, or -1.
int KeyIndexByName(const char* name);
const char* KeyName(int key);
