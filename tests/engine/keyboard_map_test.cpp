#include "engine/key_names.h"
#include "engine/keyboard_map.h"
#include "platform/windows.h"

#include <gtest/gtest.h>

namespace {

// A character or, when it is 0, a virtual key; the key it presses by name, null for none.
struct Binding {
    WCHAR character;
    UINT virtualKey;
    const char* key;
};

TEST(KeyboardMap, PressesTheDesktopCalculatorsKeys)
{
    const Binding bindings[] = {
        {u'0', 0, "0"},   {u'7', 0, "7"},     {u'9', 0, "9"},    {u'a', 0, "a"},   {u'C', 0, "c"},
        {u'f', 0, "f"},   {u'g', 0, nullptr}, {u'.', 0, "point"}, {u',', 0, "point"}, {u'+', 0, "add"},
        {u'-', 0, "sub"}, {u'*', 0, "mul"},   {u'/', 0, "div"},  {u'=', 0, "eq"},  {u' ', 0, nullptr},
        {u'\r', 0, nullptr},
        {0, VK_NUMPAD0, "0"},       {0, VK_NUMPAD0 + 4, "4"},     {0, VK_NUMPAD0 + 9, "9"},
        {0, VK_DECIMAL, "point"},   {0, VK_ADD, "add"},           {0, VK_SUBTRACT, "sub"},
        {0, VK_MULTIPLY, "mul"},    {0, VK_DIVIDE, "div"},        {0, VK_RETURN, "eq"},
        {0, VK_ESCAPE, "ac"},       {0, VK_DELETE, "ce"},         {0, VK_BACK, "bs"},
        {0, VK_F9, "sign"},         {0, VK_F5, "hex"},            {0, VK_F6, "dec"},
        {0, VK_F8, "bin"},          {0, 0x76, nullptr},           {0, 'A', nullptr},
        {0, '5', nullptr},          {0, VK_OEM_PLUS, nullptr},
    };
    for (const Binding& b : bindings) {
        int expected = b.key ? KeyIndexByName(b.key) : -1;
        if (b.character) EXPECT_EQ(KeyForCharacter(b.character), expected) << "character " << char(b.character);
        else EXPECT_EQ(KeyForVirtualKey(b.virtualKey), expected) << "virtual key " << b.virtualKey;
    }
}

}  // namespace
