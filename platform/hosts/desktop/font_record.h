// The font file that fontconfig chose for the shell's text, remembered in the user's cache
// directory ($XDG_CACHE_HOME/numbrix/font-record, default ~/.cache/numbrix/) with the state of
// everything the choice depended on: the font file itself, fontconfig's configuration files and
// font directories (also those that are missing), and the environment variables that move them.
// A later start then finds the font with a few file checks instead of loading fontconfig's whole
// configuration. A record that is damaged, or of which anything changed, is not used.
#pragma once
#include <string>
#include <vector>

// The remembered font file while the record is whole and nothing it names changed; else empty.
std::string RememberedFontFile();
// Remembers `fontFile` with the files and directories whose state decided it. Best effort:
// nothing is written when the cache directory cannot be, or a path cannot be recorded.
void RememberFontFile(const std::string& fontFile, const std::vector<std::string>& dependsOn);
// Where the record is kept; empty when there is no home directory.
std::string FontRecordPath();
