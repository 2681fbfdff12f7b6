// Text for the shell's pieces (title bar, menus, dialogs): UTF-16 text drawn with FreeType in the
// sans font that fontconfig picks for Japanese (font_search.h), opened at its first use, or ahead
// of it on a thread of its own when the host knows the first frame shows text (PrefetchFont).
// Fontconfig's choice is remembered (font_record.h): while nothing it depended on changed,
// fontconfig is not asked. FreeType is loaded with the font, not linked: a program that shows no
// text never maps it.
//
// A line is laid out as the texts have always been drawn: glyphs hinted for the whole pixel grid
// and rendered in 256 levels of grey, each at the pen position that the hinted advances before
// it add up to, without kerning; the line box is as tall as the font's ascender to descender,
// the baseline at the ascender; overlapping glyphs take the larger coverage bit by bit.
//
// The lines the first frame showed are remembered too (font_record.h): a start that shows the
// same texts with the same font and FreeType draws them from the record, and opens neither.
#include "platform/font.h"

#include "platform/hosts/desktop/font_record.h"
#include "platform/hosts/desktop/font_search.h"
#include "platform/hosts/desktop/library_loading.h"
#include "platform/unicode.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <dlfcn.h>
#include <future>
#include <map>
#include <vector>

namespace {

#define FREETYPE_FUNCTIONS(USE)                                                                     \
    USE(FT_Init_FreeType) USE(FT_Done_FreeType) USE(FT_New_Face) USE(FT_Done_Face) USE(FT_Set_Charmap) \
    USE(FT_Set_Char_Size) USE(FT_Get_Char_Index) USE(FT_Load_Glyph) USE(FT_Render_Glyph) USE(FT_MulFix)

struct FreeTypeLibrary {
    FREETYPE_FUNCTIONS(LOADED_FUNCTION_MEMBER)
    FT_Library library = nullptr;
};

const FreeTypeLibrary* loadedFreeType = nullptr;   // set once FreeType is loaded and initialised

// FreeType, loaded and initialised once and kept; null when it or one of its functions is missing.
const FreeTypeLibrary* FreeType()
{
    static FreeTypeLibrary table;
    static const bool ready = [] {
        if (!LoadLibraryFunctions(NUMBRIX_FREETYPE_LIBRARY, {FREETYPE_FUNCTIONS(LOADED_FUNCTION_SLOT)}) ||
            table.FT_Init_FreeType(&table.library) != 0)
            return false;
        loadedFreeType = &table;
        return true;
    }();
    return ready ? &table : nullptr;
}

int Floor(FT_Pos value) { return int((value & -64) / 64); }
int Ceil(FT_Pos value) { return Floor(value + 63); }

enum class FontSource { Fontconfig, File };
FontSource source = FontSource::Fontconfig;
std::string chosenFile;   // the font file of FontSource::File; empty: no font

// A glyph at one size: its hinted advance (26.6), the box its outline presets (which lays the line
// out) and its rendered coverage with the place of that.
struct Glyph {
    FT_Pos advance = 0;
    int boxLeft = 0, boxTop = 0, boxWidth = 0, boxRows = 0;
    int left = 0, top = 0, width = 0, rows = 0;
    std::vector<uint8_t> coverage;
};

// The font, opened once and set to each size asked for, with the glyphs drawn so far: the title
// bar is composed again at every change of the screen.
struct OpenFont {
    FT_Face face = nullptr;
    std::string file;
    int size = 0;   // the size the face is set to; 0 after a failed change
    int ascent = 0, height = 0;
    std::map<std::pair<int, FT_UInt>, Glyph> glyphs;
};
OpenFont opened;
bool openingTried = false;   // opened, or failed to open: not tried again until UseFontFile
std::future<OpenFont> ahead;   // the font being prepared, see PrefetchFont
constexpr size_t MaxKeptGlyphs = 2048;

void CloseFont(OpenFont& open)
{
    if (open.face) loadedFreeType->FT_Done_Face(open.face);
    open = OpenFont();
}

// Closes the font (also one prepared and never used) and FreeType when the program ends.
struct AtExit {
    ~AtExit()
    {
        if (ahead.valid()) {
            OpenFont prepared = ahead.get();
            CloseFont(prepared);
        }
        CloseFont(opened);
        if (loadedFreeType) loadedFreeType->FT_Done_FreeType(loadedFreeType->library);
    }
} atExit;

// Fontconfig's answer, remembered for the next start.
std::string SearchAndRemember()
{
    std::vector<std::string> dependsOn;
    std::string path = AskFontconfig(dependsOn);
    if (!path.empty()) RememberFontFile(path, dependsOn);
    return path;
}

// A Unicode character map: full Unicode first, then the basic plane's, the symbol map, the ISO
// and Apple ones.
void ChooseCharacterMap(const FreeTypeLibrary& ft, FT_Face face)
{
    auto rank = [](const FT_CharMap map) {
        if (map->platform_id == 3 && map->encoding_id == 10) return 0;
        if ((map->platform_id == 3 && (map->encoding_id == 1 || map->encoding_id == 0)) ||
            (map->platform_id == 2 && map->encoding_id == 1) || map->platform_id == 0)
            return 1;
        return 2;
    };
    FT_CharMap best = nullptr;
    for (int i = 0; i < face->num_charmaps; ++i)
        if (rank(face->charmaps[i]) < 2 && (!best || rank(face->charmaps[i]) < rank(best))) best = face->charmaps[i];
    if (best) ft.FT_Set_Charmap(face, best);
}

// The font found (the remembered one while nothing it depended on changed, else fontconfig's
// answer, or the file chosen for tests) and opened. Only scalable faces are used.
OpenFont PrepareFont()
{
    std::string path = chosenFile;
    if (source == FontSource::Fontconfig) {
        path = RememberedFontFile();
        if (path.empty()) path = SearchAndRemember();
    }
    const FreeTypeLibrary* ft = path.empty() ? nullptr : FreeType();
    OpenFont font;
    if (!ft || ft->FT_New_Face(ft->library, path.c_str(), 0, &font.face) != 0) return OpenFont();
    font.file = path;
    if (!FT_IS_SCALABLE(font.face)) {
        CloseFont(font);
        return font;
    }
    ChooseCharacterMap(*ft, font.face);
    return font;
}

OpenFont* FontOfSize(int pixelSize)
{
    if (pixelSize <= 0) return nullptr;
    if (!openingTried) {
        opened = ahead.valid() ? ahead.get() : PrepareFont();
        openingTried = true;
    }
    if (!opened.face) return nullptr;
    if (opened.size != pixelSize) {
        const FreeTypeLibrary& ft = *loadedFreeType;
        FT_Face face = opened.face;
        opened.size = ft.FT_Set_Char_Size(face, 0, FT_F26Dot6(pixelSize) * 64, 0, 0) == 0 ? pixelSize : 0;
        if (opened.size == 0) return nullptr;
        FT_Fixed scale = face->size->metrics.y_scale;
        opened.ascent = Ceil(ft.FT_MulFix(face->ascender, scale));
        opened.height = Ceil(ft.FT_MulFix(face->ascender - face->descender, scale));
    }
    return &opened;
}

// Coverage from a rendered bitmap: grey levels as they are, a bitmap's bits full or none.
void CopyCoverage(const FT_Bitmap& bitmap, Glyph& glyph)
{
    glyph.coverage.assign(size_t(glyph.width) * size_t(glyph.rows), 0);
    for (int row = 0; row < glyph.rows; ++row) {
        const uint8_t* line = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
        uint8_t* out = &glyph.coverage[size_t(row) * size_t(glyph.width)];
        for (int col = 0; col < glyph.width; ++col) {
            switch (bitmap.pixel_mode) {
            case FT_PIXEL_MODE_MONO: out[col] = (line[col / 8] >> (7 - col % 8)) & 1 ? 255 : 0; break;
            case FT_PIXEL_MODE_GRAY2: {
                int level = (line[col / 4] >> (6 - 2 * (col % 4))) & 3;
                out[col] = level ? uint8_t(256 * level / 3 - 1) : 0;
                break;
            }
            case FT_PIXEL_MODE_GRAY4: {
                int level = (line[col / 2] >> (4 - 4 * (col % 2))) & 15;
                out[col] = level ? uint8_t(256 * level / 15 - 1) : 0;
                break;
            }
            default: out[col] = line[col]; break;
            }
        }
    }
}

// The glyph of a character at the font's current size; null when FreeType cannot load it.
const Glyph* GlyphOf(OpenFont& font, char32_t character)
{
    const FreeTypeLibrary& ft = *loadedFreeType;
    FT_UInt index = ft.FT_Get_Char_Index(font.face, character);
    auto key = std::make_pair(font.size, index);
    auto found = font.glyphs.find(key);
    if (found != font.glyphs.end()) return &found->second;
    if (ft.FT_Load_Glyph(font.face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return nullptr;
    FT_GlyphSlot slot = font.face->glyph;
    Glyph glyph;
    glyph.advance = slot->advance.x;
    glyph.boxLeft = slot->bitmap_left;
    glyph.boxTop = slot->bitmap_top;
    glyph.boxWidth = int(slot->bitmap.width);
    glyph.boxRows = int(slot->bitmap.rows);
    if (ft.FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return nullptr;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(slot->bitmap.width);
    glyph.rows = glyph.width ? int(slot->bitmap.rows) : 0;
    CopyCoverage(slot->bitmap, glyph);
    return &font.glyphs.emplace(key, std::move(glyph)).first->second;
}

// The characters of a text up to its first terminator; U+FFFE and U+FFFF are the replacement
// character, as an unpaired surrogate is.
std::u32string Characters(const std::u16string& text)
{
    std::u16string_view shown = std::u16string_view(text).substr(0, text.find(u'\0'));
    std::u32string characters;
    for (size_t i = 0; i < shown.size();) {
        char32_t c = NextCodePoint(shown, i);
        characters.push_back(c == 0xFFFE || c == 0xFFFF ? 0xFFFD : c);
    }
    return characters;
}

// A line of glyphs: where each one's pen is (26.6), and the box of the whole line, whose left
// and top edges are moved to 0 when a glyph reaches out before them.
struct Line {
    std::vector<std::pair<const Glyph*, FT_Pos>> glyphs;
    int startX = 0, startY = 0, width = 0, height = 0;
};

Line LayOut(OpenFont& font, const std::u16string& text)
{
    Line line;
    int minX = 0, maxX = 0, minY = 0, maxY = font.height;
    FT_Pos pen = 0;
    // The kept glyphs are let go before a line, never during one: the line points at its glyphs.
    std::u32string characters = Characters(text);
    if (font.glyphs.size() + characters.size() > MaxKeptGlyphs) font.glyphs.clear();
    for (char32_t character : characters) {
        const Glyph* glyph = GlyphOf(font, character);
        if (!glyph) return Line();
        line.glyphs.emplace_back(glyph, pen);
        int left = Floor(pen) + glyph->boxLeft, top = font.ascent - glyph->boxTop;
        minX = std::min(minX, left);
        maxX = std::max(maxX, left + glyph->boxWidth);
        minY = std::min(minY, top);
        maxY = std::max(maxY, top + glyph->boxRows);
        pen += glyph->advance;
    }
    maxX = std::max(maxX, Floor(pen));
    line.startX = -minX;
    line.startY = -minY;
    line.width = maxX - minX;
    line.height = maxY - minY;
    return line;
}

// The line's coverage, its box's size.
std::vector<uint8_t> Coverage(const OpenFont& font, const Line& line)
{
    std::vector<uint8_t> coverage(size_t(line.width) * size_t(line.height), 0);
    for (const auto& [glyph, pen] : line.glyphs) {
        int left = line.startX + Floor(pen) + glyph->left, top = line.startY + font.ascent - glyph->top;
        for (int row = 0; row < glyph->rows; ++row) {
            int y = top + row;
            if (y < 0 || y >= line.height) continue;
            for (int col = 0; col < glyph->width; ++col) {
                int x = left + col;
                if (x >= 0 && x < line.width)
                    coverage[size_t(y) * size_t(line.width) + size_t(x)] |= glyph->coverage[size_t(row) * size_t(glyph->width) + size_t(col)];
            }
        }
    }
    return coverage;
}

// Lines remembered from an earlier start's first frame, and what this start's first frame drew,
// to be remembered when some of it was not already.
RememberedTexts remembered;
RememberedTexts firstFrame;
bool firstFrameShown = false;
bool firstFrameMissed = false;

bool NotingFirstFrame()
{
    return !firstFrameShown && source == FontSource::Fontconfig;
}

// A text's line at a size: remembered, or laid out with the font and, when asked for or to be
// remembered, drawn. False without a font.
bool LineOf(const std::u16string& text, int pixelSize, bool withCoverage, RememberedLine* line)
{
    auto key = std::make_pair(pixelSize, text);
    if (auto found = remembered.lines.find(key); found != remembered.lines.end()) {
        *line = found->second;
    } else {
        OpenFont* font = text.empty() ? nullptr : FontOfSize(pixelSize);
        if (!font) return false;
        Line laid = LayOut(*font, text);
        *line = RememberedLine{laid.width, laid.height, {}};
        if (laid.width && (withCoverage || NotingFirstFrame())) line->coverage = Coverage(*font, laid);
        firstFrameMissed = true;
    }
    if (NotingFirstFrame()) firstFrame.lines[key] = *line;
    return true;
}

}  // namespace

int RenderText(PixelBuffer& target, int x, int y, const std::u16string& text, int pixelSize,
               uint32_t color, const RECT* clip)
{
    RememberedLine line;
    if (!LineOf(text, pixelSize, true, &line) || line.width == 0) return 0;
    BlendCoverage(target, x, y, line.coverage.data(), line.width, line.height, color, clip);
    return line.width;
}

int TextWidth(const std::u16string& text, int pixelSize)
{
    RememberedLine line;
    return LineOf(text, pixelSize, false, &line) ? line.width : 0;
}

int TextLineHeight(int pixelSize)
{
    int height = 0;
    if (auto found = remembered.lineHeights.find(pixelSize); found != remembered.lineHeights.end()) {
        height = found->second;
    } else {
        OpenFont* font = FontOfSize(pixelSize);
        if (!font) return 0;
        height = font->height;
        firstFrameMissed = true;
    }
    if (NotingFirstFrame()) firstFrame.lineHeights[pixelSize] = height;
    return height;
}

// Remembers the first frame's lines when the font had to draw any of them, with the font file and
// the FreeType library file that did.
void TextFirstFrameShown()
{
    if (NotingFirstFrame() && firstFrameMissed && opened.face && loadedFreeType) {
        Dl_info library{};
        if (dladdr(reinterpret_cast<void*>(loadedFreeType->FT_Init_FreeType), &library) && library.dli_fname)
            RememberTexts(opened.file, library.dli_fname, firstFrame);
    }
    firstFrameShown = true;
    firstFrame = RememberedTexts();
}

bool FontOpened()
{
    return opened.face != nullptr;
}

bool FontAvailable()
{
    return FontOfSize(12) != nullptr;
}

// A host that knows the first frame shows text prepares the font on a thread of its own while it
// creates its window: checking the record (or, when it does not hold, fontconfig's whole
// search), loading FreeType and opening the font. The host calls this after the window system
// started: the first thread makes every stdio call of the process lock its stream, and the X
// library reads its compose table one character at a time while it starts.
// When the texts of the last first frame are remembered for the font that would be opened, the
// font is not prepared: it is opened only if a text is drawn that is not remembered.
void PrefetchFont()
{
    if (openingTried || ahead.valid()) return;
    if (source == FontSource::Fontconfig && remembered.lines.empty()) {
        std::string font = RememberedFontFile();
        if (!font.empty() && ReadRememberedTexts(font, &remembered)) return;
    }
    ahead = std::async(std::launch::async, PrepareFont);
}

void UseFontFile(const char* path)
{
    if (ahead.valid()) {
        OpenFont prepared = ahead.get();
        CloseFont(prepared);
    }
    CloseFont(opened);
    openingTried = false;
    remembered = firstFrame = RememberedTexts();
    firstFrameShown = firstFrameMissed = false;
    source = path ? FontSource::File : FontSource::Fontconfig;
    chosenFile = path ? path : "";
}
