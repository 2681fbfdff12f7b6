// The one UTF-8 encoder and decoder of the platform (see unicode.h).
#include "platform/unicode.h"

#include <cstdint>

namespace {

constexpr char16_t Replacement = 0xFFFD;

bool IsHighSurrogate(uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence at bytes[0..size), or 0 when it is ill-formed
// (overlong forms, surrogates and code points beyond U+10FFFF included); its code point in *code.
size_t DecodeUtf8Sequence(const unsigned char* bytes, size_t size, uint32_t* code)
{
    unsigned char lead = bytes[0];
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    size_t length;
    uint32_t value;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (size < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return 0;
        value = (value << 6) | (bytes[i] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *code = value;
    return length;
}

// Decodes UTF-8, each byte that begins no well-formed sequence becoming U+FFFD; returns false
// when there was any such byte.
bool DecodeUtf8(std::string_view bytes, std::u16string& out)
{
    auto data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t size = bytes.size();
    out.resize(size);   // never more units than bytes; filled through a pointer, cut to fit after
    char16_t* write = out.data();
    bool valid = true;
    for (size_t i = 0; i < size;) {
        if (data[i] < 0x80) {
            *write++ = char16_t(data[i++]);
            continue;
        }
        uint32_t code;
        size_t length = DecodeUtf8Sequence(data + i, size - i, &code);
        if (length == 0) {
            *write++ = char16_t(Replacement);
            valid = false;
            ++i;
        } else if (code >= 0x10000) {
            *write++ = char16_t(0xD800 + ((code - 0x10000) >> 10));
            *write++ = char16_t(0xDC00 + (code & 0x3FF));
            i += length;
        } else {
            *write++ = char16_t(code);
            i += length;
        }
    }
    out.resize(size_t(write - out.data()));
    return valid;
}

}  // namespace

char32_t NextCodePoint(std::u16string_view text, size_t& i)
{
    uint32_t unit = text[i++];
    if (IsHighSurrogate(unit) && i < text.size() && IsLowSurrogate(text[i]))
        return 0x10000 + ((unit - 0xD800) << 10) + (text[i++] - 0xDC00);
    return IsHighSurrogate(unit) || IsLowSurrogate(unit) ? Replacement : unit;
}

std::string Utf8FromUtf16(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) AppendUtf8(out, NextCodePoint(text, i));
    return out;
}

std::u16string Utf16FromUtf8(std::string_view text)
{
    std::u16string out;
    DecodeUtf8(text, out);
    return out;
}

bool Utf16FromValidUtf8(std::string_view bytes, std::u16string& text)
{
    return DecodeUtf8(bytes, text);
}
