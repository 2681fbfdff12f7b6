// The language of the program's texts, as the device picks the resources of the user's language:
// GNU gettext message catalogues (the "numbrix" domain, .mo files), looked up by the program's own
// text. The platform translates where it hands texts out: the resources (strings, menus, dialog
// templates) and MessageBoxW. Without a catalogue, or for a text it has no entry for, the text is
// the program's own, unchanged. For the program's start-up, its tools and tests.
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
// The names gettext tries for one language, most specific first: "en_US.UTF-8" gives en_US.UTF-8,
// en_US.utf8, en_US, en.UTF-8, en.utf8, en (a "@modifier" is kept on each, then dropped).
std::vector<std::string> LanguageFallbacks(const std::string& language);

// Takes the catalogues DIRECTORY/NAME/LC_MESSAGES/numbrix.mo into use for the languages, in order
// of preference: for each language the first of its fallback names found in the first directory
// that has it. A text is looked up in each catalogue in turn. No language: the program's own texts.
// Returns how many catalogues were found.
int UseCatalogues(const std::vector<std::string>& directories, const std::vector<std::string>& languages);
// The program and its tools at start-up: the languages of the process's environment, the
// catalogues of the build tree (a "locale" directory beside the program, or beside the folder of
// a tool) or of the installed tree (share/locale).
void UseCataloguesOfEnvironment();
