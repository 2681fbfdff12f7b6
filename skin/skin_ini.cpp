#include "skin/skin_ini.h"

#include "platform/files.h"
#include "platform/text.h"

namespace {

// Copies at most SkinFieldSize - 1 units and a terminator, so no text of any length overruns a
// field.
void CopyField(LPWSTR field, LPCWSTR text)
{
    size_t i = 0;
    for (; i + 1 < SkinFieldSize && text[i] != 0; ++i) field[i] = text[i];
    field[i] = 0;
}

bool IsBlank(WCHAR c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// A line that does not begin with a text cannot equal it once trimmed, nor hold it as its key:
// most lines of a lookup are passed over by this test alone.
bool BeginsWith(LPCWSTR line, LPCWSTR text)
{
    while (*text != 0 && *line == *text) {
        ++line;
        ++text;
    }
    return *text == 0;
}

// Reads lines until one equals header once its trailing blanks are trimmed; false at end of file.
bool SkipToHeader(WFILE* file, LPCWSTR header)
{
    WCHAR line[SkinFieldSize];
    while (fgetws(line, SkinFieldSize, file)) {
        if (!BeginsWith(line, header)) continue;
        TrimTrailingBlanks(line);
        if (wcscmp(line, header) == 0) return true;
    }
    return false;
}

// Scans the section's key lines for key; on a match the value, cut at its first "#" and trimmed,
// goes to output. A line that begins with "[" ends the section.
void FindKeyInSection(WFILE* file, LPCWSTR key, LPWSTR output)
{
    WCHAR line[SkinFieldSize];
    WCHAR keyPart[SkinFieldSize];
    WCHAR valuePart[SkinFieldSize];
    while (fgetws(line, SkinFieldSize, file)) {
        if (line[0] == u'[') return;
        if (!BeginsWith(line, key)) continue;
        SplitKeyValue(line, keyPart, valuePart);
        TrimTrailingBlanks(keyPart);
        if (wcscmp(keyPart, key) != 0) continue;
        CopyField(output, valuePart);
        if (WCHAR* remark = wcschr(output, u'#')) *remark = 0;
        TrimTrailingBlanks(output);
        return;
    }
}

}  // namespace

void TrimTrailingBlanks(LPWSTR text)
{
    size_t length = wcslen(text);
    while (length > 0 && IsBlank(text[length - 1])) text[--length] = 0;
}

void SplitKeyValue(LPWSTR line, LPWSTR keyOut, LPWSTR valueOut)
{
    keyOut[0] = 0;
    valueOut[0] = 0;
    WCHAR* equals = wcschr(line, u'=');
    if (!equals) return;
    *equals = 0;
    CopyField(keyOut, line);
    CopyField(valueOut, equals + 1);
}

void ReadSkinValue(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText, LPWSTR output, LPCWSTR path)
{
    CopyField(output, defaultText);
    // "[" + section + "]" must fit the header field; a longer header could never equal a line,
    // which holds at most SkinFieldSize - 1 units, so the default stands without reading.
    if (wcslen(section) + 2 >= SkinFieldSize) return;
    WFILE* file = _wfopen(path, u"rt");
    if (!file) return;
    WCHAR header[SkinFieldSize];
    wsprintfW(header, u"[%s]", section);
    if (SkipToHeader(file, header)) FindKeyInSection(file, key, output);
    fclose(file);
}
