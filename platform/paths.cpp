// Device paths and text conversion between the device's UTF-16 and the host's UTF-8.
#include "platform/internal.h"

namespace {

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += char16_t(c);
    } else {
        c -= 0x10000;
        out += char16_t(0xD800 + (c >> 10));
        out += char16_t(0xDC00 + (c & 0x3FF));
    }
}

}  // namespace

// A lone surrogate has no UTF-8 form; it becomes U+FFFD.
std::string Utf8FromUtf16(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

// Each byte that does not start a well-formed sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3
                   : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
        if (lead >= 0xF5) length = 0;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; k++) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if (valid && ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
                      (c >= 0xD800 && c < 0xE000))) {
            valid = false;
        }
        if (!valid) {
            out += char16_t(0xFFFD);
            i++;
            continue;
        }
        AppendUtf16(out, c);
        i += size_t(length);
    }
    return out;
}

std::string HostPathFromDevice(LPCWSTR devicePath)
{
    std::string path = Utf8FromUtf16(devicePath ? std::u16string(devicePath) : std::u16string());
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

std::u16string DevicePathFromHost(const std::string& hostPath)
{
    std::u16string path = Utf16FromUtf8(hostPath);
    for (char16_t& c : path) {
        if (c == u'/') c = u'\\';
    }
    return path;
}
