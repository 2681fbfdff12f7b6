// Files the platform keeps for itself in the user's directories (the settings file, the font
// record), as host paths.
#pragma once
#include <string>

// $XDG_<kind>_HOME when it is an absolute path (a relative one is invalid and ignored, as the XDG
// rules say), else $HOME/<fallback>; empty when neither is set. E.g. ("CONFIG", ".config").
std::string UserDirectory(const char* kind, const char* fallback);
// Creates the missing directories of `dir`, as `mkdir -p` does.
bool MakeDirectories(const std::string& dir);
// Writes all of `text` to `fd`; false, with errno set, when a write fails.
bool WriteAll(int fd, const std::string& text);
