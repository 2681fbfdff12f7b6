// Draws the calculator face: background, every key in its state, the display panel, the display
// text or the error sign, the operator indicator; composed off-screen and copied to the window in
// one transfer.
#pragma once
#include "platform/types.h"

struct GlyphEntry {
    WCHAR character;
    uint16_t cell;
};
constexpr int GlyphCount = 19;
extern const GlyphEntry GlyphMap[GlyphCount];

constexpr int CellPanel = 87;
constexpr int CellErrorSign = 98;
constexpr int CellOperatorBase = 107;   // + OpCode 1-4

int32_t PaintFrame();
int32_t ReleaseKeys();
