// Text in the web host: the browser's canvas text in the page's sans font for Japanese (page.js
// names it), drawn in grey levels into a scratch canvas and blended into the device's picture by
// its coverage. Widths are the text's advance rounded up to whole pixels; the line box is as tall
// as the font's ascent and descent, each rounded up, the baseline at the ascent.
#include "platform/font.h"

#include <emscripten.h>

#include <vector>

namespace {

EM_JS(int, CanvasTextWidth, (const char16_t* text, int pixelSize), {
    return Module.numbrix.textWidth(UTF16ToString(text), pixelSize);
});

EM_JS(int, CanvasLineHeight, (int pixelSize), { return Module.numbrix.lineHeight(pixelSize); });

// Draws the text into coverage (width x height bytes).
EM_JS(void, CanvasTextCoverage, (const char16_t* text, int pixelSize, uint8_t* coverage, int width, int height), {
    const alpha = Module.numbrix.textCoverage(UTF16ToString(text), pixelSize, width, height);
    HEAPU8.set(alpha, coverage);
});

}  // namespace

int RenderText(PixelBuffer& target, int x, int y, const std::u16string& text, int pixelSize, uint32_t color,
               const RECT* clip)
{
    if (text.empty() || pixelSize <= 0) return 0;
    int width = CanvasTextWidth(text.c_str(), pixelSize);
    int height = CanvasLineHeight(pixelSize);
    if (width <= 0 || height <= 0) return 0;
    std::vector<uint8_t> coverage(size_t(width) * size_t(height));
    CanvasTextCoverage(text.c_str(), pixelSize, coverage.data(), width, height);
    BlendCoverage(target, x, y, coverage.data(), width, height, color, clip);
    return width;
}

int TextWidth(const std::u16string& text, int pixelSize)
{
    return text.empty() || pixelSize <= 0 ? 0 : CanvasTextWidth(text.c_str(), pixelSize);
}

int TextLineHeight(int pixelSize)
{
    return pixelSize <= 0 ? 0 : CanvasLineHeight(pixelSize);
}

bool FontAvailable()
{
    return true;
}

// The browser has its fonts ready; there is nothing to prepare.
void PrefetchFont() {}

// The canvas draws every text as it is asked for: nothing is remembered between visits.
void TextFirstFrameShown() {}

bool FontOpened()
{
    return true;
}

void UseFontFile(const char*) {}
