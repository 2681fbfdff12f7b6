// Fontconfig's search for the shell's font (see font_search.h). The library is loaded at the
// first search: a program linked with it paid for loading it at every start, and a start whose
// font record holds never searches.
#include "platform/hosts/desktop/font_search.h"

#include "platform/hosts/desktop/library_loading.h"
#include "platform/kernel/host_files.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <set>

namespace {

#define FONTCONFIG_FUNCTIONS(USE)                                                                      \
    USE(FcInitLoadConfigAndFonts) USE(FcConfigDestroy) USE(FcConfigGetConfigFiles)                   \
    USE(FcConfigGetConfigDirs) USE(FcConfigGetFontDirs) USE(FcStrListNext) USE(FcStrListDone)         \
    USE(FcNameParse) USE(FcConfigSubstitute) USE(FcDefaultSubstitute) USE(FcFontSort) USE(FcFontMatch) \
    USE(FcFontSetDestroy) USE(FcPatternDestroy) USE(FcPatternGetString) USE(FcPatternGetLangSet)      \
    USE(FcPatternGetInteger) USE(FcLangSetHasLang)

// The functions of the fontconfig library that the search calls.
struct FontconfigLibrary {
    FONTCONFIG_FUNCTIONS(LOADED_FUNCTION_MEMBER)
};

// The library, loaded once and kept; null when it or one of its functions is missing.
const FontconfigLibrary* Fontconfig()
{
    static FontconfigLibrary table;
    static const bool found = LoadLibraryFunctions(NUMBRIX_FONTCONFIG_LIBRARY, {FONTCONFIG_FUNCTIONS(LOADED_FUNCTION_SLOT)});
    return found ? &table : nullptr;
}

// Adds every string of the list to `paths` and ends the list.
void TakeAll(const FontconfigLibrary& fc, FcStrList* list, std::set<std::string>& paths)
{
    if (!list) return;
    while (FcChar8* path = fc.FcStrListNext(list)) paths.insert(reinterpret_cast<const char*>(path));
    fc.FcStrListDone(list);
}

// What fontconfig's answer depends on: the configuration files it read and the directories that
// hold them, the font directories (also those that are missing), and the user's configuration
// files that it would read if they were there.
std::vector<std::string> ConfigurationPaths(const FontconfigLibrary& fc, FcConfig* config)
{
    std::set<std::string> paths;
    TakeAll(fc, fc.FcConfigGetConfigFiles(config), paths);
    std::set<std::string> parents;
    for (const std::string& path : paths)
        if (size_t slash = path.find_last_of('/'); slash != std::string::npos && slash > 0)
            parents.insert(path.substr(0, slash));
    paths.merge(parents);
    TakeAll(fc, fc.FcConfigGetConfigDirs(config), paths);
    TakeAll(fc, fc.FcConfigGetFontDirs(config), paths);
    std::string userConfig = UserDirectory("CONFIG", ".config");
    if (!userConfig.empty()) {
        paths.insert(userConfig + "/fontconfig/fonts.conf");
        paths.insert(userConfig + "/fontconfig/conf.d");
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        paths.insert(std::string(home) + "/.fonts.conf");
        paths.insert(std::string(home) + "/.fonts.conf.d");
    }
    return std::vector<std::string>(paths.begin(), paths.end());
}

}  // namespace

std::string AskFontconfig(std::vector<std::string>& dependsOn)
{
    std::string path;
    const FontconfigLibrary* library = Fontconfig();
    if (!library) return path;
    const FontconfigLibrary& fc = *library;
    FcConfig* config = fc.FcInitLoadConfigAndFonts();
    if (!config) return path;
    dependsOn = ConfigurationPaths(fc, config);
    FcPattern* pattern = fc.FcNameParse(reinterpret_cast<const FcChar8*>("sans:lang=ja"));
    if (pattern) {
        fc.FcConfigSubstitute(config, pattern, FcMatchPattern);
        fc.FcDefaultSubstitute(pattern);
        FcResult result;
        FcFontSet* sorted = fc.FcFontSort(config, pattern, FcFalse, nullptr, &result);
        std::string firstJapanese;
        for (int i = 0; sorted && i < sorted->nfont && path.empty(); i++) {
            FcPattern* font = sorted->fonts[i];
            FcChar8* file = nullptr;
            FcLangSet* languages = nullptr;
            if (fc.FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) continue;
            if (fc.FcPatternGetLangSet(font, FC_LANG, 0, &languages) != FcResultMatch ||
                fc.FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) != FcLangEqual)
                continue;
            if (firstJapanese.empty()) firstJapanese = reinterpret_cast<const char*>(file);
            int spacing = FC_PROPORTIONAL;
            fc.FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
            if (spacing == FC_PROPORTIONAL) path = reinterpret_cast<const char*>(file);
        }
        if (path.empty()) path = firstJapanese;
        if (path.empty()) {
            FcPattern* match = fc.FcFontMatch(config, pattern, &result);
            FcChar8* file = nullptr;
            if (match && fc.FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
                path = reinterpret_cast<const char*>(file);
            if (match) fc.FcPatternDestroy(match);
        }
        if (sorted) fc.FcFontSetDestroy(sorted);
        fc.FcPatternDestroy(pattern);
    }
    fc.FcConfigDestroy(config);
    return path;
}

