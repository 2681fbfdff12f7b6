#include "engine/key_names.h"

#include "engine/key_table.h"

#include <cstring>

static const char* const KeyNames[KeyCount] = {
    "d", "a", "7", "4", "1", "0", "e", "b", "8", "5", "2", "point", "f", "c", "9",
    "6", "3", "sign", "div", "mul", "sub", "add", "eq", "ac", "ce", "bs", "hex", "dec", "bin",
};

int KeyIndexByName(const char* name)
{
    for (int k = 0; k < KeyCount; k++)
        if (std::strcmp(KeyNames[k], name) == 0) return k;
    return -1;
}

const char* KeyName(int key)
{
    return key >= 0 && key < KeyCount ? KeyNames[key] : "?";
}
