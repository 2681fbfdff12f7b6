// A skin file seen line by line, with line numbers, as the skin text reader sees it: decoded by
// the platform's text-mode reading and cut into reads of at most 259 units. ReadSkinValue stays
// the authority on what a key holds; this view only tells where it comes from and what else the
// file holds (repeated sections and keys, lines the reader skips, long lines, encoding trouble).
#pragma once
#include <string>
#include <vector>

namespace skintool {

enum class SkinEncoding { Utf16Le, Utf16Be, Utf8WithMark, Utf8, CodePage932 };

// One read of fgetws (capacity 260): a whole line with its line feed, or a piece of a longer one.
struct SourcePiece {
    int line;               // physical line number, from 1
    std::u16string text;    // up to the first NUL, as the reader's buffer holds it
};

struct SkinSource {
    bool readable = false;
    SkinEncoding encoding = SkinEncoding::Utf8;
    std::vector<SourcePiece> pieces;
    std::vector<int> longLines;        // lines read in several pieces
    std::vector<int> nulLines;         // lines holding a NUL character
    std::vector<int> undecodedLines;   // lines with bytes that the encoding does not read (U+FFFD)
    std::vector<int> loneReturnLines;  // lines holding a carriage return without a line feed after it
    bool nonAscii = false;             // any character beyond ASCII
};

// Reads the file at devicePath through _wfopen and fgetws; rawBytes are the same file's bytes,
// for what the decoded text no longer shows (the encoding chosen, NUL characters).
SkinSource ScanSkinSource(const std::u16string& devicePath, const std::string& rawBytes);

// A key line of a section: the key part with its trailing blanks trimmed, and the value as the
// reader returns it (cut at the first "#", trailing blanks trimmed).
struct KeyLine {
    int line;
    std::u16string key;
    std::u16string value;
};

struct SectionView {
    int headerLine = 0;                   // 0 when the reader finds no such header
    std::vector<KeyLine> keys;            // in file order, up to the line that ends the section
    std::vector<int> linesWithoutEquals;  // lines that are neither blank, a remark, nor key lines
    std::vector<int> repeatedHeaders;     // later headers of the same name, never read
    std::vector<KeyLine> unreadKeys;      // key lines under those later headers
};

// The section as ReadSkinValue searches it: the first line that equals "[name]" once its
// trailing blanks are trimmed, then every line until one that begins with "[".
SectionView ViewSection(const SkinSource& source, const std::u16string& name);

// The first key line of the section with this key, or null.
const KeyLine* FindKey(const SectionView& section, const std::u16string& key);

// Lines that look like the header of `name` but that the reader does not take for it (other
// letter case, leading blanks, text after the "]"), with what is wrong.
struct NearHeader {
    int line;
    std::string problem;
};
std::vector<NearHeader> NearHeaders(const SkinSource& source, const std::u16string& name);

}  // namespace skintool
