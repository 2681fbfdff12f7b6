#include "platform/unicode.h"

#include <gtest/gtest.h>

namespace {

struct Utf16Case {
    std::u16string text;
    std::string utf8;
};

TEST(Utf8FromUtf16, EncodesPairsAndReplacesLoneSurrogates)
{
    const Utf16Case cases[] = {
        {u"abc", "abc"},
        {u"\u00E9\u0800\uFFFF", "\xC3\xA9\xE0\xA0\x80\xEF\xBF\xBF"},
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        {std::u16string{0xD800}, "\xEF\xBF\xBD"},
        {std::u16string{0xDC00, u'a'}, "\xEF\xBF\xBD" "a"},
        {std::u16string{u'a', 0xD83D}, "a\xEF\xBF\xBD"},
        {std::u16string{0xD83D, 0xD83D, 0xDE00}, "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
        {std::u16string{u'a', 0, u'b'}, std::string("a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8FromUtf16(c.text), c.utf8) << c.utf8;
}

struct Utf8Case {
    std::string bytes;
    std::u16string text;
    bool wellFormed;
};

TEST(Utf16FromUtf8, DecodesWellFormedTextAndReplacesEachBadByte)
{
    const char16_t R = 0xFFFD;
    const Utf8Case cases[] = {
        {"", u"", true},
        {"plain", u"plain", true},
        {"\xE3\x82\xA2", u"ア", true},
        {"\xF0\x9F\x98\x80", u"\U0001F600", true},
        {std::string("a\0b", 3), std::u16string{u'a', 0, u'b'}, true},
        {"\xC0\x80", {R, R}, false},                 // overlong NUL
        {"\xE0\x80\xAF", {R, R, R}, false},          // overlong slash
        {"\xED\xA0\x80", {R, R, R}, false},          // an encoded surrogate
        {"\xF4\x90\x80\x80", {R, R, R, R}, false},   // beyond U+10FFFF
        {"\xE3\x81", {R, R}, false},                 // cut short at the end
        {"\xE3\x81" "a", {R, R, u'a'}, false},       // cut short before another character
        {"a\xFF" "b", {u'a', R, u'b'}, false},
        {"\x80", {R}, false},
        {"\x83\x58\x83\x4C", {R, u'X', R, u'L'}, false},   // code page 932 is not UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16FromUtf8(c.bytes), c.text) << c.bytes;
        std::u16string text = u"stale";
        EXPECT_EQ(Utf16FromValidUtf8(c.bytes, text), c.wellFormed) << c.bytes;
        EXPECT_EQ(text, c.text) << c.bytes;
    }
}

}  // namespace
