// UTF-16 (the device's text) and UTF-8 (the host's: paths, window titles, fonts, terminals),
// both ways. Ill-formed input becomes U+FFFD: a lone surrogate in UTF-16, a byte that begins no
// well-formed UTF-8 sequence (overlong forms, surrogates and code points beyond U+10FFFF
// included).
#pragma once
#include <string>
#include <string_view>

std::string Utf8FromUtf16(std::u16string_view text);
// The code point that starts at text[i], i moved past it (a lone surrogate is U+FFFD).
char32_t NextCodePoint(std::u16string_view text, size_t& i);
std::u16string Utf16FromUtf8(std::string_view text);
// Decodes UTF-8 into text and tells whether all of it was well-formed.
bool Utf16FromValidUtf8(std::string_view bytes, std::u16string& text);
