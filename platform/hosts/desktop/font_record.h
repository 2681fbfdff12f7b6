// The font file that fontconfig chose for the shell's text, remembered in the user's cache
// directory ($XDG_CACHE_HOME/numbrix/font-record, default ~/.cache/numbrix/) with the state of
// everything the choice depended on: the font file itself, fontconfig's configuration files and
// font directories (also those that are missing), and the environment variables that move them.
// A later start then finds the font with a few file checks instead of loading fontconfig's whole
// configuration. A record that is damaged, or of which anything changed, is not used.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The remembered font file while the record is whole and nothing it names changed; else empty.
std::string RememberedFontFile();
// Remembers `fontFile` with the files and directories whose state decided it. Best effort:
// nothing is written when the cache directory cannot be, or a path cannot be recorded.
void RememberFontFile(const std::string& fontFile, const std::vector<std::string>& dependsOn);
// Where the record is kept; empty when there is no home directory.
std::string FontRecordPath();

// The lines of text the first frame showed (the title bar's, the menu bar's), remembered beside the
// font record ($XDG_CACHE_HOME/numbrix/text-record) with the state of the font file and of the
// FreeType library that drew them, so that a later start shows them without opening either. By
// pixel size: each line's box and coverage as RenderText blends it, and the line height.
struct RememberedLine {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;
};
struct RememberedTexts {
    std::map<int, int> lineHeights;
    std::map<std::pair<int, std::u16string>, RememberedLine> lines;
};
// The remembered texts drawn with `fontFile`, while the record is whole and neither the font
// file nor the library changed; false otherwise.
bool ReadRememberedTexts(const std::string& fontFile, RememberedTexts* texts);
// Remembers `texts`, drawn with `fontFile` by the FreeType library at `library`. Best effort, as
// RememberFontFile.
void RememberTexts(const std::string& fontFile, const std::string& library, const RememberedTexts& texts);
// Where they are kept; empty when there is no home directory.
std::string TextRecordPath();
