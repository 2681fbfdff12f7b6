// Text for the shell's pieces (title bar, menus, dialogs): UTF-16 text drawn with SDL2_ttf in the
// sans font that fontconfig picks for Japanese (font_search.h), opened at its first use so that
// start-up does not pay for it unless the first frame shows text. Fontconfig's choice is
// remembered (font_record.h): while nothing it depended on changed, fontconfig is not asked.
#include "platform/font.h"

#include "platform/gdi/font_record.h"
#include "platform/gdi/font_search.h"
#include "platform/unicode.h"
#include "platform/windows.h"

#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <future>
#include <vector>

namespace {

enum class FontSource { Fontconfig, File };

FontSource source = FontSource::Fontconfig;
std::string fontPath;
bool located = false;
std::future<std::string> lookAhead;   // a fontconfig search started early, see PrefetchFont
bool ttfReady = false;

// The font, opened once and set to each size asked for: SDL2_ttf sets a size exactly as opening
// the font at that size would, and one face of a large Japanese font costs a quarter of a
// megabyte and a read of its tables. Closed when the program ends.
struct OpenFont {
    TTF_Font* font = nullptr;
    bool tried = false;   // opened, or failed to open: not tried again until UseFontFile
    int size = 0;         // the size the font is set to; 0 after a failed change
    void Close()
    {
        if (font) TTF_CloseFont(font);
        font = nullptr;
        tried = false;
        size = 0;
    }
    ~OpenFont()
    {
        Close();
        if (ttfReady) TTF_Quit();
    }
};
OpenFont opened;

// Fontconfig's answer, remembered for the next start.
std::string SearchAndRemember()
{
    std::vector<std::string> dependsOn;
    std::string path = AskFontconfig(dependsOn);
    if (!path.empty()) RememberFontFile(path, dependsOn);
    return path;
}

// The remembered font while nothing it depended on changed; else fontconfig's answer.
std::string LocateFont()
{
    std::string path = RememberedFontFile();
    return path.empty() ? SearchAndRemember() : path;
}

TTF_Font* FontOfSize(int pixelSize)
{
    if (pixelSize <= 0) return nullptr;
    if (!opened.tried) {
        opened.tried = true;
        if (!located) {
            if (source == FontSource::Fontconfig) fontPath = lookAhead.valid() ? lookAhead.get() : LocateFont();
            located = true;
        }
        if (!fontPath.empty()) {
            if (!ttfReady) ttfReady = TTF_Init() == 0;
            if (ttfReady) opened.font = TTF_OpenFont(fontPath.c_str(), pixelSize);
            opened.size = pixelSize;
        }
    }
    if (!opened.font) return nullptr;
    if (opened.size != pixelSize) {
        opened.size = TTF_SetFontSize(opened.font, pixelSize) == 0 ? pixelSize : 0;
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
    if (TTF_SizeUTF8(font, utf8.c_str(), &advance, &height) != 0) return 0;
    SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (!glyphs) return advance;
    RECT area{0, 0, target.width, target.height};
    if (clip) IntersectRect(&area, &area, clip);
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
    if (!font || TTF_SizeUTF8(font, utf8.c_str(), &width, &height) != 0) return 0;
    return width;
}

int TextLineHeight(int pixelSize)
{
    TTF_Font* font = FontOfSize(pixelSize);
    return font ? TTF_FontHeight(font) : 0;
}

bool FontAvailable()
{
    return FontOfSize(12) != nullptr;
}

// A host that knows the first frame shows text checks the record at once (a few file checks).
// When it does not hold, fontconfig's search starts on a thread of its own, so that it runs while
// the window system and the skin load. No thread is started otherwise: the first one makes every
// stdio call of the process lock its stream, and the X library reads its compose table one
// character at a time while the window system starts.
void PrefetchFont()
{
    if (located || source != FontSource::Fontconfig || lookAhead.valid()) return;
    fontPath = RememberedFontFile();
    located = !fontPath.empty();
    if (!located) lookAhead = std::async(std::launch::async, SearchAndRemember);
}

void UseFontFile(const char* path)
{
    if (lookAhead.valid()) lookAhead.wait();
    opened.Close();
    source = path ? FontSource::File : FontSource::Fontconfig;
    fontPath = path ? path : "";
    located = path != nullptr;
}
