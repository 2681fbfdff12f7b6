// Text for the shell's pieces (title bar, menus, dialogs): UTF-16 text drawn with SDL2_ttf in the
// sans font that fontconfig picks for Japanese (font_search.h), opened at its first use, or ahead
// of it on a thread of its own when the host knows the first frame shows text (PrefetchFont).
// Fontconfig's choice is remembered (font_record.h): while nothing it depended on changed,
// fontconfig is not asked.
#include "platform/font.h"

#include "platform/hosts/desktop/font_record.h"
#include "platform/hosts/desktop/font_search.h"
#include "platform/hosts/desktop/library_loading.h"
#include "platform/unicode.h"

#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <future>
#include <vector>

namespace {

#define TTF_FUNCTIONS(USE)                                                                             \
    USE(TTF_Init) USE(TTF_Quit) USE(TTF_OpenFont) USE(TTF_CloseFont) USE(TTF_SetFontSize)             \
    USE(TTF_SizeUTF8) USE(TTF_RenderUTF8_Blended) USE(TTF_FontHeight)

// The functions of SDL2_ttf. It is loaded with the font, on the thread that prepares it: linked,
// it and the libraries it needs (FreeType, HarfBuzz, GLib) were loaded before the program started.
struct TtfLibrary {
    TTF_FUNCTIONS(LOADED_FUNCTION_MEMBER)
};

const TtfLibrary* loadedTtf = nullptr;   // set once SDL2_ttf is loaded and initialised

// SDL2_ttf, loaded and initialised once and kept; null when it or one of its functions is missing.
const TtfLibrary* Ttf()
{
    static TtfLibrary table;
    static const bool ready = [] {
        if (!LoadLibraryFunctions(NUMBRIX_TTF_LIBRARY, {TTF_FUNCTIONS(LOADED_FUNCTION_SLOT)}) ||
            table.TTF_Init() != 0)
            return false;
        loadedTtf = &table;
        return true;
    }();
    return ready ? &table : nullptr;
}

enum class FontSource { Fontconfig, File };
FontSource source = FontSource::Fontconfig;
std::string chosenFile;   // the font file of FontSource::File; empty: no font

// The size the font is opened at, before any text asks for its own.
constexpr int OpeningSize = 12;

// The font, opened once and set to each size asked for: SDL2_ttf sets a size exactly as opening
// the font at that size would, and one face of a large Japanese font costs a quarter of a
// megabyte and a read of its tables.
struct OpenFont {
    TTF_Font* font = nullptr;
    int size = 0;   // the size the font is set to; 0 after a failed change
};
OpenFont opened;
bool openingTried = false;   // opened, or failed to open: not tried again until UseFontFile
std::future<OpenFont> ahead;   // the font being prepared, see PrefetchFont

void CloseFont(OpenFont& open)
{
    if (open.font) loadedTtf->TTF_CloseFont(open.font);
    open = OpenFont();
}

// Closes the font (also one prepared and never used) and SDL2_ttf when the program ends.
struct AtExit {
    ~AtExit()
    {
        if (ahead.valid()) {
            OpenFont prepared = ahead.get();
            CloseFont(prepared);
        }
        CloseFont(opened);
        if (loadedTtf) loadedTtf->TTF_Quit();
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

// The font found (the remembered one while nothing it depended on changed, else fontconfig's
// answer, or the file chosen for tests) and opened.
OpenFont PrepareFont()
{
    std::string path = chosenFile;
    if (source == FontSource::Fontconfig) {
        path = RememberedFontFile();
        if (path.empty()) path = SearchAndRemember();
    }
    const TtfLibrary* ttf = path.empty() ? nullptr : Ttf();
    if (!ttf) return OpenFont();
    TTF_Font* font = ttf->TTF_OpenFont(path.c_str(), OpeningSize);
    return OpenFont{font, font ? OpeningSize : 0};
}

TTF_Font* FontOfSize(int pixelSize)
{
    if (pixelSize <= 0) return nullptr;
    if (!openingTried) {
        opened = ahead.valid() ? ahead.get() : PrepareFont();
        openingTried = true;
    }
    if (!opened.font) return nullptr;
    if (opened.size != pixelSize) {
        opened.size = loadedTtf->TTF_SetFontSize(opened.font, pixelSize) == 0 ? pixelSize : 0;
        if (opened.size == 0) return nullptr;
    }
    return opened.font;
}

// The text up to its first terminator, as SDL2_ttf takes it.
std::string Utf8(const std::u16string& text)
{
    return Utf8FromUtf16(std::u16string_view(text).substr(0, text.find(u'\0')));
}

uint32_t Blend(uint32_t under, uint32_t over, uint32_t alpha)
{
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t a = (over >> shift) & 0xFF, b = (under >> shift) & 0xFF;
        result |= ((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

}  // namespace

int RenderText(PixelBuffer& target, int x, int y, const std::u16string& text, int pixelSize,
               uint32_t color, const RECT* clip)
{
    std::string utf8 = Utf8(text);
    TTF_Font* font = utf8.empty() ? nullptr : FontOfSize(pixelSize);
    if (!font) return 0;
    int advance = 0, height = 0;
    if (loadedTtf->TTF_SizeUTF8(font, utf8.c_str(), &advance, &height) != 0) return 0;
    SDL_Surface* glyphs = loadedTtf->TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (!glyphs) return advance;
    RECT area{0, 0, target.width, target.height};
    if (clip)   // what the clip shares with the target; a clip outside it leaves no pixel
        area = RECT{std::max(area.left, clip->left), std::max(area.top, clip->top), std::min(area.right, clip->right),
                    std::min(area.bottom, clip->bottom)};
    if (SDL_LockSurface(glyphs) == 0) {
        for (int row = 0; row < glyphs->h; ++row) {
            int ty = y + row;
            if (ty < area.top || ty >= area.bottom) continue;
            const auto* line = reinterpret_cast<const uint8_t*>(glyphs->pixels) + size_t(row) * size_t(glyphs->pitch);
            for (int col = 0; col < glyphs->w; ++col) {
                int tx = x + col;
                if (tx < area.left || tx >= area.right) continue;
                Uint32 pixel;
                std::copy_n(line + size_t(col) * 4, 4, reinterpret_cast<uint8_t*>(&pixel));
                Uint8 r, g, b, a;
                SDL_GetRGBA(pixel, glyphs->format, &r, &g, &b, &a);
                if (a == 0) continue;
                uint32_t& out = target.pixels[size_t(ty) * size_t(target.width) + size_t(tx)];
                out = Blend(out, color & 0xFFFFFF, a);
            }
        }
        SDL_UnlockSurface(glyphs);
    }
    SDL_FreeSurface(glyphs);
    return advance;
}

int TextWidth(const std::u16string& text, int pixelSize)
{
    std::string utf8 = Utf8(text);
    TTF_Font* font = utf8.empty() ? nullptr : FontOfSize(pixelSize);
    int width = 0, height = 0;
    if (!font || loadedTtf->TTF_SizeUTF8(font, utf8.c_str(), &width, &height) != 0) return 0;
    return width;
}

int TextLineHeight(int pixelSize)
{
    TTF_Font* font = FontOfSize(pixelSize);
    return font ? loadedTtf->TTF_FontHeight(font) : 0;
}

bool FontAvailable()
{
    return FontOfSize(12) != nullptr;
}

// A host that knows the first frame shows text prepares the font on a thread of its own while it
// creates its window: checking the record (or, when it does not hold, fontconfig's whole
// search), loading SDL2_ttf and opening the font. The host calls this after the window system
// started: the first thread makes every stdio call of the process lock its stream, and the X
// library reads its compose table one character at a time while it starts.
void PrefetchFont()
{
    if (openingTried || ahead.valid()) return;
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
    source = path ? FontSource::File : FontSource::Fontconfig;
    chosenFile = path ? path : "";
}
