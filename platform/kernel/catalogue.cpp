// Message catalogues (catalogue.h) through GNU gettext in the C library. gettext translates only
// while the messages locale is not C, and setlocale accepts only locales that are generated on the
// machine, which a fresh system or a container often lacks; so the languages are worked out from
// the environment here, handed to gettext as LANGUAGE, and the always present C.UTF-8 stands in
// for a user's locale that setlocale refuses.
#include "platform/catalogue.h"

#include "platform/files.h"
#include "platform/host_paths.h"
#include "platform/kernel/catalogue_internals.h"
#include "platform/unicode.h"

#include <libintl.h>
#include <locale.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unordered_map>

// GNU gettext's cache generation: a change makes it look texts up again. Other C libraries (the
// web's) have none, and their gettext knows no LANGUAGE list: it looks texts up by the messages
// locale alone.
extern "C" int _nl_msg_cat_cntr __attribute__((weak));
static bool GnuGettext()
{
    return &_nl_msg_cat_cntr != nullptr;
}

namespace {

constexpr const char* Domain = "numbrix";

bool inUse = false;
unsigned generation = 0;
// Each text looked up, by its UTF-8 form, with its entry in UTF-16 (or none); the entries stay
// where they are for as long as the catalogues stay in use, since resource texts point at them.
std::unordered_map<std::string, std::optional<std::u16string>> lookedUp;

bool IsPlainLocale(const std::string& name)
{
    return name == "C" || name == "POSIX";
}

std::vector<std::string> SplitColons(const std::string& list)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t colon; (colon = list.find(':', start)) != std::string::npos; start = colon + 1)
        parts.push_back(list.substr(start, colon - start));
    parts.push_back(list.substr(start));
    return parts;
}

std::string ProgramDirectory()
{
    WCHAR path[4096];
    if (GetModuleFileNameW(nullptr, path, 4096) == 0) return std::string();
    return std::filesystem::path(HostPathFromDevice(path)).parent_path().string();
}

const std::u16string* Entry(const std::u16string& text)
{
    if (!inUse || text.empty()) return nullptr;
    std::string original = Utf8FromUtf16(text);
    auto found = lookedUp.find(original);
    if (found == lookedUp.end()) {
        const char* shown = dgettext(Domain, original.c_str());
        // Without an entry gettext hands back the text it was given.
        std::optional<std::u16string> entry;
        if (shown != original.c_str()) entry = Utf16FromUtf8(shown);
        found = lookedUp.emplace(std::move(original), std::move(entry)).first;
    }
    return found->second ? &*found->second : nullptr;
}

// The printf directives of a format in order ("sd" for "%s ... %d"); "%%" is none.
std::u16string Directives(const std::u16string& format)
{
    std::u16string kinds;
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != u'%') continue;
        if (format[i + 1] != u'%') kinds += format[i + 1];
        ++i;
    }
    return kinds;
}

// True when DIRECTORY holds LANGUAGE/LC_MESSAGES/numbrix.mo for some language. A folder of the
// right name is not enough: /usr/lib/locale, for one, is the C library's locale archive.
bool HoldsCatalogues(const std::string& directory)
{
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        if (std::filesystem::is_regular_file(entry->path() / "LC_MESSAGES" / "numbrix.mo", error)) return true;
    }
    return false;
}

// For a gettext without LANGUAGE: the first language that has a catalogue in DIRECTORY, by its
// name as given, without its codeset and modifier, and without its territory, as GNU gettext
// tries them ("en_US.UTF-8", "en_US", "en"); empty when none has.
std::string FirstLanguageWithCatalogue(const std::string& directory, const std::vector<std::string>& languages)
{
    std::error_code error;
    for (const std::string& language : languages) {
        std::string plain = language.substr(0, language.find_first_of(".@"));
        for (const std::string& name : {language, plain, plain.substr(0, plain.find('_'))}) {
            if (std::filesystem::is_regular_file(directory + "/" + name + "/LC_MESSAGES/numbrix.mo", error)) return name;
        }
    }
    return std::string();
}

}  // namespace

std::vector<std::string> RequestedLanguages(const char* language, const char* lcAll, const char* lcMessages,
                                            const char* lang)
{
    std::string locale = "C";
    for (const char* name : {lcAll, lcMessages, lang}) {
        if (name && *name) {
            locale = name;
            break;
        }
    }
    if (IsPlainLocale(locale)) return {};
    std::vector<std::string> languages;
    for (const std::string& name : language && *language ? SplitColons(language) : std::vector<std::string>{locale}) {
        if (IsPlainLocale(name)) break;
        if (!name.empty()) languages.push_back(name);
    }
    return languages;
}

bool UseCatalogues(const std::string& directory, const std::vector<std::string>& languages)
{
    lookedUp.clear();
    ++generation;
    inUse = !languages.empty() && std::filesystem::is_directory(directory);
    if (!inUse) return false;
    std::string list;
    for (const std::string& language : languages) list += (list.empty() ? "" : ":") + language;
    setenv("LANGUAGE", list.c_str(), 1);
    if (GnuGettext()) {
        if (!setlocale(LC_MESSAGES, "")) setlocale(LC_MESSAGES, "C.UTF-8");
    } else {
        std::string language = FirstLanguageWithCatalogue(directory, languages);
        setlocale(LC_MESSAGES, language.empty() ? "C" : language.c_str());
    }
    bindtextdomain(Domain, directory.c_str());
    bind_textdomain_codeset(Domain, "UTF-8");
    if (GnuGettext()) ++_nl_msg_cat_cntr;
    // The empty text's entry is a catalogue's header: empty when no language has a catalogue.
    inUse = *dgettext(Domain, "") != 0;
    return inUse;
}

std::string CatalogueDirectory(const std::string& programDirectory)
{
    if (programDirectory.empty()) return std::string();
    // Where the build installs them first; then the build tree's, beside the program or beside
    // the folder of a tool.
    for (const std::string& candidate : {programDirectory + "/" NUMBRIX_CATALOGUES_FROM_PROGRAM,
                                         programDirectory + "/locale", programDirectory + "/../locale"}) {
        if (HoldsCatalogues(candidate)) return candidate;
    }
    return std::string();
}

void UseCataloguesOfEnvironment()
{
    std::vector<std::string> languages = RequestedLanguages(std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                                                            std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    UseCatalogues(CatalogueDirectory(ProgramDirectory()), languages);
}

std::u16string LocalisedText(const std::u16string& text)
{
    const std::u16string* entry = Entry(text);
    return entry ? *entry : text;
}

LPCWSTR LocalisedResourceText(LPCWSTR text)
{
    if (!text || IS_INTRESOURCE(text)) return text;
    const std::u16string* entry = Entry(text);
    return entry ? entry->c_str() : text;
}

// A translation that would take its values in another order or of other kinds is not used: the
// values are passed in the program's order.
LPCWSTR LocalisedFormat(LPCWSTR format)
{
    if (!inUse || !format) return format;
    const std::u16string* entry = Entry(format);
    return entry && Directives(*entry) == Directives(format) ? entry->c_str() : format;
}

bool CataloguesInUse()
{
    return inUse;
}

unsigned CatalogueGeneration()
{
    return generation;
}
