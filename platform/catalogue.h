// The language of the program's texts, as the device picks the resources of the user's language:
// GNU gettext message catalogues (the "numbrix" domain, .mo files), looked up by the program's own
// text. The platform translates where it hands texts out: the resources (strings, menus, dialog
// templates), the formats of wsprintfW (so a message the program formats comes out in the
// catalogue's language) and MessageBoxW. Without a catalogue, or for a text it has no entry for,
// the text is the program's own, unchanged. For the program's start-up, its tools and tests.
#pragma once
#include <string>
#include <vector>

// The languages the environment asks for, by gettext's rules: the locale is the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty; when it is C or POSIX (or none is set) the
// program's own texts are shown and LANGUAGE is ignored; otherwise LANGUAGE, a list separated by
// colons, comes first when it is set, else the locale itself. A C or POSIX entry in the list ends
// it. Unlike the C library's gettext the locale need not be installed (generated): the names are
// taken as they stand.
std::vector<std::string> RequestedLanguages(const char* language, const char* lcAll, const char* lcMessages,
                                            const char* lang);
// Takes the catalogues DIRECTORY/LANGUAGE/LC_MESSAGES/numbrix.mo into use for the languages, in
// order of preference (gettext tries each language's more general names too: en_US.UTF-8, en_US,
// en). A text comes from the first catalogue that has it. No language: the program's own texts.
// False when no catalogue is taken into use.
bool UseCatalogues(const std::string& directory, const std::vector<std::string>& languages);
// The folder of the catalogues for a program in PROGRAM_DIRECTORY: the installed tree's
// (share/locale, relative to the program's installed folder) or the build tree's (a "locale"
// folder beside the program, or beside the folder of a tool), the first that holds a numbrix.mo
// for some language; empty when none does.
std::string CatalogueDirectory(const std::string& programDirectory);
// The program and its tools at start-up: the languages of the process's environment, the
// catalogues of CatalogueDirectory for the running program's folder.
void UseCataloguesOfEnvironment();
