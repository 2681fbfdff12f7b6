#include "skin/check/skin_source.h"

#include "platform/files.h"
#include "platform/unicode.h"
#include "skin/skin_ini.h"

#include <algorithm>

namespace skintool {

namespace {

constexpr WCHAR Unwritten = 0xFFFF;   // marks the buffer units that a read left alone

void AddOnce(std::vector<int>& lines, int line)
{
    if (lines.empty() || lines.back() != line) lines.push_back(line);
}

SkinEncoding EncodingOf(const std::string& bytes)
{
    auto startsWith = [&](std::string_view mark) { return std::string_view(bytes).substr(0, mark.size()) == mark; };
    if (startsWith("\xFF\xFE")) return SkinEncoding::Utf16Le;
    if (startsWith("\xFE\xFF")) return SkinEncoding::Utf16Be;
    if (startsWith("\xEF\xBB\xBF")) return SkinEncoding::Utf8WithMark;
    std::u16string ignored;
    return Utf16FromValidUtf8(bytes, ignored) ? SkinEncoding::Utf8 : SkinEncoding::CodePage932;
}

// NUL characters, found in the bytes: the reader's buffers end at the first one, so the text
// read no longer shows them.
std::vector<int> NulLines(const std::string& bytes, SkinEncoding encoding)
{
    std::vector<int> lines;
    int line = 1;
    if (encoding == SkinEncoding::Utf16Le || encoding == SkinEncoding::Utf16Be) {
        bool bigEndian = encoding == SkinEncoding::Utf16Be;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            unsigned first = (unsigned char)bytes[i], second = (unsigned char)bytes[i + 1];
            unsigned unit = bigEndian ? (first << 8 | second) : (second << 8 | first);
            if (unit == 0) AddOnce(lines, line);
            if (unit == u'\n') ++line;
        }
        return lines;
    }
    size_t start = encoding == SkinEncoding::Utf8WithMark ? 3 : 0;
    for (size_t i = start; i < bytes.size(); ++i) {
        if (bytes[i] == 0) AddOnce(lines, line);
        if (bytes[i] == '\n') ++line;
    }
    return lines;
}

// One read as fgetws gives it, NUL characters included: the units up to the terminator that the
// read wrote last.
bool ReadPiece(WFILE* file, std::u16string* piece)
{
    WCHAR buffer[SkinFieldSize];
    std::fill(std::begin(buffer), std::end(buffer), Unwritten);
    if (!fgetws(buffer, SkinFieldSize, file)) return false;
    int end = SkinFieldSize - 1;
    while (end > 0 && buffer[end] == Unwritten) --end;
    piece->assign(buffer, buffer + end);
    return true;
}

void NotePiece(SkinSource& source, const std::u16string& whole, int line)
{
    bool replaced = source.encoding != SkinEncoding::Utf8;
    for (char16_t c : whole) {
        if (c >= 0x80) source.nonAscii = true;
        if (c == 0xFFFD && replaced) AddOnce(source.undecodedLines, line);
        if (c == u'\r') AddOnce(source.loneReturnLines, line);
    }
}

bool IsBlankOrRemark(const std::u16string& text)
{
    size_t first = text.find_first_not_of(u" \t\n");
    return first == std::u16string::npos || text[first] == u';' || text[first] == u'#';
}

std::u16string Trimmed(const std::u16string& text)
{
    WCHAR buffer[SkinFieldSize];
    size_t length = std::min(text.size(), size_t(SkinFieldSize - 1));
    std::copy_n(text.begin(), length, buffer);
    buffer[length] = 0;
    TrimTrailingBlanks(buffer);
    return buffer;
}

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool StartsWithIgnoringCase(const std::u16string& text, const std::u16string& prefix, bool* caseDiffers)
{
    if (text.size() < prefix.size()) return false;
    *caseDiffers = false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) return false;
        if (text[i] != prefix[i]) *caseDiffers = true;
    }
    return true;
}

}  // namespace

SkinSource ScanSkinSource(const std::u16string& devicePath, const std::string& rawBytes)
{
    SkinSource source;
    source.encoding = EncodingOf(rawBytes);
    source.nulLines = NulLines(rawBytes, source.encoding);
    WFILE* file = _wfopen(devicePath.c_str(), u"rt");
    if (!file) return source;
    source.readable = true;
    int line = 1;
    std::u16string whole;
    while (ReadPiece(file, &whole)) {
        source.pieces.push_back(SourcePiece{line, whole.substr(0, whole.find(u'\0'))});
        NotePiece(source, whole, line);
        if (!whole.empty() && whole.back() == u'\n') {
            ++line;
        } else if (whole.size() == SkinFieldSize - 1) {
            AddOnce(source.longLines, line);
        }
    }
    fclose(file);
    return source;
}

// The lines of a section's body, from piece `i` up to the line that ends the section; returns
// the index of that line.
static size_t ReadBody(const SkinSource& source, size_t i, std::vector<KeyLine>& keys, std::vector<int>* withoutEquals)
{
    for (; i < source.pieces.size(); ++i) {
        const SourcePiece& piece = source.pieces[i];
        if (!piece.text.empty() && piece.text[0] == u'[') break;
        if (piece.text.find(u'=') == std::u16string::npos) {
            if (withoutEquals && !IsBlankOrRemark(piece.text)) withoutEquals->push_back(piece.line);
            continue;
        }
        WCHAR line[SkinFieldSize], key[SkinFieldSize], value[SkinFieldSize];
        std::copy(piece.text.begin(), piece.text.end(), line);
        line[piece.text.size()] = 0;
        SplitKeyValue(line, key, value);
        TrimTrailingBlanks(key);
        std::u16string kept = value;
        kept = Trimmed(kept.substr(0, kept.find(u'#')));
        keys.push_back(KeyLine{piece.line, key, kept});
    }
    return i;
}

SectionView ViewSection(const SkinSource& source, const std::u16string& name)
{
    SectionView view;
    std::u16string header = u"[" + name + u"]";
    for (size_t i = 0; i < source.pieces.size(); ++i) {
        if (Trimmed(source.pieces[i].text) != header) continue;
        if (view.headerLine == 0) {
            view.headerLine = source.pieces[i].line;
            i = ReadBody(source, i + 1, view.keys, &view.linesWithoutEquals) - 1;
        } else {
            view.repeatedHeaders.push_back(source.pieces[i].line);
            i = ReadBody(source, i + 1, view.unreadKeys, nullptr) - 1;
        }
    }
    return view;
}

const KeyLine* FindKey(const SectionView& section, const std::u16string& key)
{
    for (const KeyLine& line : section.keys)
        if (line.key == key) return &line;
    return nullptr;
}

std::vector<NearHeader> NearHeaders(const SkinSource& source, const std::u16string& name)
{
    std::vector<NearHeader> found;
    std::u16string header = u"[" + name + u"]";
    for (const SourcePiece& piece : source.pieces) {
        std::u16string trimmed = Trimmed(piece.text);
        if (trimmed == header) continue;
        size_t first = trimmed.find_first_not_of(u" \t");
        if (first == std::u16string::npos) continue;
        std::u16string rest = trimmed.substr(first);
        bool caseDiffers = false;
        if (!StartsWithIgnoringCase(rest, header, &caseDiffers)) continue;
        std::string problem;
        if (first > 0) problem = "it begins with blanks";
        else if (caseDiffers) problem = "its letter case differs";
        if (rest.size() > header.size()) {
            if (!problem.empty()) problem += " and ";
            problem += rest[header.size()] == u'\r' ? "a carriage return follows the \"]\""
                                                    : "text follows the \"]\" (a header line takes no remark)";
        }
        found.push_back(NearHeader{piece.line, problem});
    }
    return found;
}

}  // namespace skintool
