#include "platform/text.h"

#include "platform/kernel/catalogue_internals.h"

#include <cstdarg>

namespace {

// Collects formatted output and never writes more than WsprintfMax - 1 units before the
// terminator, whatever the arguments hold.
class Output {
public:
    explicit Output(LPWSTR buffer) : buffer_(buffer) {}
    void Put(WCHAR c)
    {
        if (length_ < WsprintfMax - 1) buffer_[length_++] = c;
    }
    void Put(LPCWSTR text)
    {
        while (*text) Put(*text++);
    }
    int Finish()
    {
        buffer_[length_] = 0;
        return length_;
    }

private:
    LPWSTR buffer_;
    int length_ = 0;
};

// Digits of value in the given base, most significant first; returns their count.
int Digits(uint32_t value, uint32_t base, WCHAR* digits)
{
    WCHAR reversed[32];
    int count = 0;
    do {
        uint32_t digit = value % base;
        reversed[count++] = WCHAR(digit < 10 ? u'0' + digit : u'a' + digit - 10);
        value /= base;
    } while (value != 0);
    for (int i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
    return count;
}

// "%d" and "%0Nd": the sign counts towards the width and the zeros go after it, as in C.
void PutDecimal(Output& out, int value, int width)
{
    uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
    WCHAR digits[32];
    int count = Digits(magnitude, 10, digits);
    if (value < 0) {
        out.Put(u'-');
        --width;
    }
    for (int pad = width - count; pad > 0; --pad) out.Put(u'0');
    for (int i = 0; i < count; ++i) out.Put(digits[i]);
}

void PutHex(Output& out, uint32_t value)
{
    WCHAR digits[32];
    int count = Digits(value, 16, digits);
    for (int i = 0; i < count; ++i) out.Put(digits[i]);
}

bool IsDigit(WCHAR c)
{
    return c >= u'0' && c <= u'9';
}

// The white space that "%d" skips: the C locale's set.
bool IsSpace(WCHAR c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

enum class ScanResult { Assigned, EndOfInput, NoMatch };

// "%d": skips white space, then an optional sign and at least one digit. Numbers beyond 32 bits
// wrap modulo 2^32 (accumulated unsigned, so nothing overflows), as the device's runtime does.
ScanResult ScanDecimal(LPCWSTR& input, int* target)
{
    while (IsSpace(*input)) ++input;
    if (*input == 0) return ScanResult::EndOfInput;
    bool negative = false;
    if (*input == u'+' || *input == u'-') negative = *input++ == u'-';
    if (!IsDigit(*input)) return ScanResult::NoMatch;
    uint32_t value = 0;
    while (IsDigit(*input)) value = value * 10u + uint32_t(*input++ - u'0');
    if (negative) value = 0u - value;
    *target = int(int32_t(value));
    return ScanResult::Assigned;
}

}  // namespace

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    Output out(buffer);
    for (LPCWSTR f = LocalisedFormat(format); *f; ++f) {
        if (*f != u'%') {
            out.Put(*f);
            continue;
        }
        ++f;
        int width = 0;
        if (*f == u'0' && f[1] >= u'1' && f[1] <= u'9') {
            width = f[1] - u'0';
            f += 2;
            if (*f != u'd') NotImplemented("wsprintfW");
        }
        switch (*f) {
        case u'%': out.Put(u'%'); break;
        case u'd': PutDecimal(out, va_arg(args, int), width); break;
        case u'x': PutHex(out, uint32_t(va_arg(args, int))); break;
        case u's': {
            LPCWSTR text = va_arg(args, LPCWSTR);
            out.Put(text ? text : u"(null)");
            break;
        }
        default: NotImplemented("wsprintfW");
        }
    }
    va_end(args);
    return out.Finish();
}

int swscanf(LPCWSTR input, LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    int assigned = 0;
    bool converted = false;
    for (LPCWSTR f = format; *f; ++f) {
        if (*f == u'%') {
            if (*++f != u'd') NotImplemented("swscanf");
            ScanResult result = ScanDecimal(input, va_arg(args, int*));
            if (result != ScanResult::Assigned) {
                if (result == ScanResult::EndOfInput && !converted) assigned = -1;
                break;
            }
            converted = true;
            ++assigned;
        } else if (IsSpace(*f)) {
            NotImplemented("swscanf");   // a white-space directive would skip any run of blanks
        } else if (*input == *f) {
            ++input;
        } else {
            if (*input == 0 && !converted) assigned = -1;
            break;
        }
    }
    va_end(args);
    return assigned;
}

size_t wcslen(LPCWSTR text)
{
    size_t length = 0;
    while (text[length]) ++length;
    return length;
}

WCHAR* wcscpy(LPWSTR dest, LPCWSTR source)
{
    WCHAR* d = dest;
    while ((*d++ = *source++) != 0) {}
    return dest;
}

int wcscmp(LPCWSTR a, LPCWSTR b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

int wcsncmp(LPCWSTR a, LPCWSTR b, size_t count)
{
    for (; count > 0; --count, ++a, ++b) {
        if (*a != *b) return *a < *b ? -1 : 1;
        if (*a == 0) return 0;
    }
    return 0;
}

WCHAR* wcschr(LPCWSTR text, WCHAR c)
{
    for (;; ++text) {
        if (*text == c) return const_cast<WCHAR*>(text);
        if (*text == 0) return nullptr;
    }
}

WCHAR* wcsrchr(LPCWSTR text, WCHAR c)
{
    const WCHAR* found = nullptr;
    for (;; ++text) {
        if (*text == c) found = text;
        if (*text == 0) return const_cast<WCHAR*>(found);
    }
}
