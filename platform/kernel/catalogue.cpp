// Message catalogues (catalogue.h). The compiled catalogues of GNU gettext (msgfmt's .mo files)
// are read here rather than through the C library's gettext, which translates only when
// setlocale accepts the locale: on a machine whose locales are not generated (a fresh Debian
// system, a container, CI) it would never translate. The language names are taken from the
// environment as they stand, in gettext's order, and the catalogue files are found as gettext
// finds them.
#include "platform/catalogue.h"

#include "platform/files.h"
#include "platform/host_paths.h"
#include "platform/kernel/catalogue_internals.h"
#include "platform/unicode.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unordered_map>

namespace {

constexpr const char* CatalogueFile = "LC_MESSAGES/numbrix.mo";
constexpr size_t CatalogueMaxBytes = 1 << 20;
constexpr uint32_t MoMagic = 0x950412de;

struct Catalogue {
    std::unordered_map<std::u16string, std::u16string> entries;
    // Entries whose text holds printf directives, tried in turn against a formatted text.
    std::vector<const std::pair<const std::u16string, std::u16string>*> patterns;
};

std::vector<Catalogue> catalogues;   // in the order of the languages asked for
unsigned generation = 0;

// ---- Reading a .mo file ----

// The file's header gives the number of strings and the offsets of two tables, the original and
// the translated strings, each entry a length and an offset; words in the byte order of the magic.
class MoFile {
public:
    explicit MoFile(std::string bytes) : bytes_(std::move(bytes))
    {
        std::optional<uint32_t> magic = Word(0);
        swapped_ = magic && *magic != MoMagic;
        valid_ = magic && (*magic == MoMagic || Swap(*magic) == MoMagic) && Word(4) && *Word(4) >> 16 <= 1;
    }
    bool valid() const { return valid_; }
    uint32_t Count() const { return Word(8).value_or(0); }
    std::optional<std::string> Original(uint32_t index) const { return String(Word(12), index); }
    std::optional<std::string> Translation(uint32_t index) const { return String(Word(16), index); }

private:
    static uint32_t Swap(uint32_t v) { return v >> 24 | (v >> 8 & 0xFF00) | (v << 8 & 0xFF0000) | v << 24; }
    std::optional<uint32_t> Word(uint64_t offset) const
    {
        if (offset + 4 > bytes_.size()) return std::nullopt;
        auto b = [&](uint64_t i) { return uint32_t(uint8_t(bytes_[size_t(offset + i)])); };
        uint32_t v = b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
        return swapped_ ? Swap(v) : v;
    }
    std::optional<std::string> String(std::optional<uint32_t> table, uint32_t index) const
    {
        if (!table) return std::nullopt;
        std::optional<uint32_t> length = Word(*table + uint64_t(index) * 8), offset = Word(*table + uint64_t(index) * 8 + 4);
        if (!length || !offset || uint64_t(*offset) + *length > bytes_.size()) return std::nullopt;
        return bytes_.substr(*offset, *length);
    }

    std::string bytes_;
    bool swapped_ = false;
    bool valid_ = false;
};

// One printf directive at pattern[at] (a '%'): "%s", "%d", or with a position, "%2$s".
struct Directive {
    char16_t kind;
    size_t position;   // 1 for the first value; 0 for the next one in order
    size_t length;
};

std::optional<Directive> DirectiveAt(const std::u16string& pattern, size_t at)
{
    size_t i = at + 1, position = 0;
    while (i < pattern.size() && pattern[i] >= u'0' && pattern[i] <= u'9') position = position * 10 + (pattern[i++] - u'0');
    if (i > at + 1) {
        if (i >= pattern.size() || pattern[i] != u'$') return std::nullopt;
        ++i;
    }
    if (i >= pattern.size() || (pattern[i] != u's' && pattern[i] != u'd')) return std::nullopt;
    return Directive{pattern[i], position, i + 1 - at};
}

bool IsPattern(const std::u16string& text)
{
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == u'%' && DirectiveAt(text, i)) return true;
    return false;
}

// Plural entries (texts separated by NUL) and entries with a context are never the program's.
std::optional<Catalogue> ReadCatalogue(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    bytes.resize(CatalogueMaxBytes + 1);
    in.read(bytes.data(), std::streamsize(bytes.size()));
    if (in.gcount() > std::streamsize(CatalogueMaxBytes)) return std::nullopt;
    bytes.resize(size_t(in.gcount()));
    MoFile file(std::move(bytes));
    if (!file.valid()) return std::nullopt;
    Catalogue catalogue;
    for (uint32_t i = 0; i < file.Count(); ++i) {
        std::optional<std::string> original = file.Original(i), translation = file.Translation(i);
        if (!original || !translation) return std::nullopt;
        if (original->empty() || original->find_first_of(std::string("\0\x04", 2)) != std::string::npos) continue;
        catalogue.entries[Utf16FromUtf8(*original)] = Utf16FromUtf8(*translation);
    }
    for (const auto& entry : catalogue.entries)
        if (IsPattern(entry.first)) catalogue.patterns.push_back(&entry);
    return catalogue;
}

// ---- Matching a formatted text ----

// A %s value is any text of one character or more, a %d value a decimal number; shorter values are
// tried first.
bool Match(const std::u16string& pattern, size_t p, const std::u16string& text, size_t t,
           std::vector<std::u16string>& values)
{
    if (p == pattern.size()) return t == text.size();
    if (pattern[p] == u'%') {
        if (p + 1 < pattern.size() && pattern[p + 1] == u'%')
            return t < text.size() && text[t] == u'%' && Match(pattern, p + 2, text, t + 1, values);
        std::optional<Directive> directive = DirectiveAt(pattern, p);
        if (!directive || directive->position) return false;
        for (size_t end = t + 1; end <= text.size(); ++end) {
            char16_t last = text[end - 1];
            if (directive->kind == u'd' && !(last >= u'0' && last <= u'9') && !(last == u'-' && end == t + 1)) break;
            values.push_back(text.substr(t, end - t));
            if ((directive->kind == u's' || values.back() != u"-") && Match(pattern, p + directive->length, text, end, values))
                return true;
            values.pop_back();
        }
        return false;
    }
    return t < text.size() && text[t] == pattern[p] && Match(pattern, p + 1, text, t + 1, values);
}

std::u16string Format(const std::u16string& pattern, const std::vector<std::u16string>& values)
{
    std::u16string out;
    size_t next = 0;
    for (size_t p = 0; p < pattern.size();) {
        if (pattern[p] == u'%' && p + 1 < pattern.size() && pattern[p + 1] == u'%') {
            out += u'%';
            p += 2;
        } else if (std::optional<Directive> directive = pattern[p] == u'%' ? DirectiveAt(pattern, p) : std::nullopt) {
            size_t index = directive->position ? directive->position - 1 : next++;
            if (index < values.size()) out += values[index];
            p += directive->length;
        } else {
            out += pattern[p++];
        }
    }
    return out;
}

// ---- Where the catalogues are ----

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

// "UTF-8" as gettext normalises a code set: letters in lower case and digits, nothing else
// ("utf8"); a code set of digits only gets "iso" in front.
std::string NormalisedCodeset(const std::string& codeset)
{
    std::string out;
    bool letters = false;
    for (char c : codeset) {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            out += char(std::tolower(static_cast<unsigned char>(c)));
            letters = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            out += c;
        }
    }
    return letters ? out : "iso" + out;
}

std::string ProgramDirectory()
{
    WCHAR path[4096];
    if (GetModuleFileNameW(nullptr, path, 4096) == 0) return std::string();
    return std::filesystem::path(HostPathFromDevice(path)).parent_path().string();
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

// gettext's order: every combination of the parts the name has, those with more parts first,
// the territory before the code set, the code set as written before the normalised one.
std::vector<std::string> LanguageFallbacks(const std::string& language)
{
    std::string rest = language, modifier, codeset, territory;
    auto cut = [&rest](char mark, std::string& part) {
        size_t at = rest.find(mark);
        if (at == std::string::npos) return;
        part = rest.substr(at + 1);
        rest.resize(at);
    };
    cut('@', modifier);
    cut('.', codeset);
    cut('_', territory);
    std::vector<std::string> codesets;   // with a dot, then without a code set
    if (!codeset.empty()) codesets.push_back("." + codeset);
    if (!codeset.empty() && NormalisedCodeset(codeset) != codeset) codesets.push_back("." + NormalisedCodeset(codeset));
    codesets.push_back("");
    std::vector<std::string> names;
    for (const std::string& withModifier : {"@" + modifier, std::string()}) {
        if (modifier.empty() && !withModifier.empty()) continue;
        for (const std::string& withTerritory : {"_" + territory, std::string()}) {
            if (territory.empty() && !withTerritory.empty()) continue;
            for (const std::string& withCodeset : codesets) names.push_back(rest + withTerritory + withCodeset + withModifier);
        }
    }
    return names;
}

int UseCatalogues(const std::vector<std::string>& directories, const std::vector<std::string>& languages)
{
    catalogues.clear();
    ++generation;
    for (const std::string& language : languages) {
        std::optional<Catalogue> found;
        for (const std::string& name : LanguageFallbacks(language))
            for (const std::string& directory : directories)
                if (!found && std::filesystem::is_regular_file(directory + "/" + name + "/" + CatalogueFile))
                    found = ReadCatalogue(directory + "/" + name + "/" + CatalogueFile);
        if (found) catalogues.push_back(std::move(*found));
    }
    return int(catalogues.size());
}

void UseCataloguesOfEnvironment()
{
    std::vector<std::string> languages = RequestedLanguages(std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                                                            std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    std::string program = ProgramDirectory();
    if (languages.empty() || program.empty()) {
        UseCatalogues({}, {});
        return;
    }
    UseCatalogues({program + "/locale", program + "/../locale", program + "/" NUMBRIX_CATALOGUES_FROM_PROGRAM},
                  languages);
}

std::u16string LocalisedText(const std::u16string& text)
{
    for (const Catalogue& catalogue : catalogues) {
        auto entry = catalogue.entries.find(text);
        if (entry != catalogue.entries.end()) return entry->second;
        for (const auto* pattern : catalogue.patterns) {
            std::vector<std::u16string> values;
            if (Match(pattern->first, 0, text, 0, values)) return Format(pattern->second, values);
        }
    }
    return text;
}

LPCWSTR LocalisedResourceText(LPCWSTR text)
{
    if (!text || IS_INTRESOURCE(text)) return text;
    for (const Catalogue& catalogue : catalogues) {
        auto entry = catalogue.entries.find(text);
        if (entry != catalogue.entries.end()) return entry->second.c_str();
    }
    return text;
}

bool CataloguesInUse()
{
    return !catalogues.empty();
}

unsigned CatalogueGeneration()
{
    return generation;
}
