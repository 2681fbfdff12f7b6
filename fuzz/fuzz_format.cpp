// wsprintfW and swscanf over arbitrary texts, with every format the program uses. The first byte
// picks the format; the rest is the text (UTF-8 as the seeds are written), split at "|" into the
// text arguments, and its first four bytes make the number argument. Both are checked against the
// C library's wide functions: wsprintfW must give the C library's text cut to its 1023 units and
// write nothing beyond its 1024, and swscanf the same count and numbers (compared on ASCII
// input, where the two runtimes agree on white space, and on numbers that fit 32 bits).
#include "fuzz_support.h"

#include "platform/text.h"

#include <cwchar>
#include <memory>
#include <vector>

namespace {

struct PrintCase {
    const char16_t* format;
    int texts;   // %s arguments first, then one %d when hasNumber
    bool hasNumber;
};

const PrintCase PrintCases[] = {
    {u"[%s]", 1, false},
    {u"%sskin\\%s\\%s", 3, false},
    {u"スキンファイルが壊れている、又はありません。[%s][%s]", 2, false},
    {u"仮想画面(%d)の作成に失敗しました。", 0, true},
    {u"CHAR%03d", 0, true},
    {u"AREA%02d", 0, true},
    {u"SOUND%02d", 0, true},
    {u"%d", 0, true},
    {u"%sskin\\default.skn", 1, false},
    {u"%sskin\\*.skn", 1, false},
    {u"%sskin\\%s", 2, false},
};
constexpr int ScanCases = 2;
constexpr int CaseCount = int(std::size(PrintCases)) + ScanCases;

std::wstring Wide(const std::u16string& text)
{
    return std::wstring(text.begin(), text.end());
}

// The format for the C library: the same text with %s as %ls (a wide text).
std::wstring ReferenceFormat(const char16_t* format)
{
    std::wstring wide;
    for (const char16_t* f = format; *f; f++) {
        wide += wchar_t(*f);
        if (f[0] == u'%' && f[1] == u's') wide += L'l';
    }
    return wide;
}

std::vector<std::u16string> TextArguments(const std::u16string& text)
{
    std::vector<std::u16string> parts(3);
    size_t part = 0;
    for (char16_t unit : text) {
        if (unit == u'|' && part + 1 < parts.size()) part++;
        else parts[part] += unit;
    }
    return parts;
}

void CheckPrint(const PrintCase& c, const std::u16string& text, int32_t number)
{
    std::vector<std::u16string> parts = TextArguments(text);
    std::vector<std::wstring> wide{Wide(parts[0]), Wide(parts[1]), Wide(parts[2])};
    // Exactly WsprintfMax units on the heap, so writing one more is caught.
    std::unique_ptr<WCHAR[]> buffer(new WCHAR[WsprintfMax]);
    std::vector<wchar_t> reference(4 * (text.size() + 64));
    int length = 0, referenceLength = 0;
    const std::wstring format = ReferenceFormat(c.format);
    if (c.hasNumber) {
        length = wsprintfW(buffer.get(), c.format, number);
        referenceLength = std::swprintf(reference.data(), reference.size(), format.c_str(), number);
    } else {
        const char16_t* a[3] = {parts[0].c_str(), parts[1].c_str(), parts[2].c_str()};
        length = wsprintfW(buffer.get(), c.format, a[0], a[1], a[2]);
        referenceLength = std::swprintf(reference.data(), reference.size(), format.c_str(), wide[0].c_str(),
                                        wide[1].c_str(), wide[2].c_str());
    }
    FUZZ_CHECK(referenceLength >= 0);
    const int expected = std::min(referenceLength, int(WsprintfMax) - 1);
    FUZZ_CHECK(length == expected);
    FUZZ_CHECK(buffer[length] == 0);
    for (int i = 0; i < length; i++) FUZZ_CHECK(wchar_t(buffer[i]) == reference[size_t(i)]);
}

bool AsciiWithShortNumbers(const std::u16string& text)
{
    int run = 0;
    for (char16_t unit : text) {
        if (unit == 0) break;
        if (unit >= 0x80) return false;
        run = (unit >= u'0' && unit <= u'9') ? run + 1 : 0;
        if (run > 9) return false;
    }
    return true;
}

void CheckScan(bool fourNumbers, const std::u16string& text)
{
    int values[4] = {-7, -7, -7, -7};
    int count = fourNumbers ? swscanf(text.c_str(), u"%d,%d,%d,%d", &values[0], &values[1], &values[2], &values[3])
                            : swscanf(text.c_str(), u"%d", &values[0]);
    FUZZ_CHECK(count >= -1 && count <= (fourNumbers ? 4 : 1));
    for (int i = count < 0 ? 0 : count; i < 4; i++) FUZZ_CHECK(values[i] == -7);
    if (!AsciiWithShortNumbers(text)) return;
    int reference[4] = {-7, -7, -7, -7};
    const std::wstring wide = Wide(text);
    int referenceCount =
        fourNumbers ? std::swscanf(wide.c_str(), L"%d,%d,%d,%d", &reference[0], &reference[1], &reference[2],
                                   &reference[3])
                    : std::swscanf(wide.c_str(), L"%d", &reference[0]);
    FUZZ_CHECK(count == referenceCount);
    for (int i = 0; i < 4; i++) FUZZ_CHECK(values[i] == reference[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return -1;
    const int which = data[0] % CaseCount;
    const std::u16string text = TextOf(data + 1, size - 1);
    uint32_t number = 0;
    for (size_t i = 1; i < 5 && i < size; i++) number |= uint32_t(data[i]) << (8 * (i - 1));
    if (which < int(std::size(PrintCases))) CheckPrint(PrintCases[which], text, int32_t(number));
    else CheckScan(which == int(std::size(PrintCases)), text);
    return 0;
}
