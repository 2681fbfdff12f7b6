// Text in the shell's font on a picture, given by the host (host.h; the desktop hosts:
// hosts/desktop/font.cpp): the platform's own drawing, and tools that caption pictures.
#pragma once
#include "platform/pixels.h"
#include "platform/types.h"

#include <cstdint>
#include <string>

// UTF-16 text drawn with the Japanese-capable sans font that fontconfig finds (remembered in the
// user's cache directory), loaded at first use.
// Without any font nothing is drawn and every width is 0. Sizes are the font's em size in pixels.
// Draws `text` with its line box's top-left at (x, y), blending `color` (0x00RRGGBB) over the
// target by coverage, inside `clip` (target coordinates; null: the whole target). Returns the
// advance width in pixels.
int RenderText(PixelBuffer& target, int x, int y, const std::u16string& text, int pixelSize,
               uint32_t color, const RECT* clip = nullptr);
int TextWidth(const std::u16string& text, int pixelSize);
// Height of a line box (ascent + descent) at this size; 0 without a font.
int TextLineHeight(int pixelSize);
bool FontAvailable();
// Starts preparing the font (finding and opening it) on a thread of its own; the first text drawn
// waits for it. A host calls it once its window system has started (see hosts/desktop/font.cpp).
void PrefetchFont();
// The host's first frame is on the screen: its texts are remembered for the next start (see
// hosts/desktop/font.cpp) when the font had to draw any of them.
void TextFirstFrameShown();
// Tests: whether the font file is open (texts remembered from an earlier start spare opening it).
bool FontOpened();
// Tests: use this font file instead of asking fontconfig (an empty path: no font at all; null:
// back to fontconfig). Closes what was loaded.
void UseFontFile(const char* path);

// For hosts: blends `color` over the target by a line's coverage (width x height, 0 to 255 each),
// its top-left at (x, y), inside `clip` as RenderText does.
void BlendCoverage(PixelBuffer& target, int x, int y, const uint8_t* coverage, int width, int height,
                   uint32_t color, const RECT* clip);
