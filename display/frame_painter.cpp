#include "display/frame_painter.h"

#include "display/display_text.h"
#include "engine/app_globals.h"
#include "engine/calc_state.h"
#include "engine/skin_layout.h"
#include "skin/surface_bank.h"

const GlyphEntry GlyphMap[GlyphCount] = {
    {u'0', 88}, {u'1', 89}, {u'2', 90}, {u'3', 91},  {u'4', 92},  {u'5', 93},  {u'6', 94},
    {u'7', 95}, {u'8', 96}, {u'9', 97}, {u'a', 102}, {u'b', 103}, {u'c', 104}, {u'd', 105},
    {u'e', 106}, {u'f', 107}, {u'.', 99}, {u'-', 100}, {u',', 101},
};

static void DrawCellAt(int cell, int area)
{
    DrawCell(cell, 0, SkinLayout[area].x, SkinLayout[area].y, 1);
}

static void DrawDisplayText()
{
    WCHAR text[DisplayTextMax + 1];
    int length = BuildFittedDisplayText(&calcState, text, DisplayPositions);
    for (int i = 0; i < length && i < DisplayPositions; i++) {
        WCHAR c = text[length - 1 - i];
        for (const GlyphEntry& glyph : GlyphMap) {
            if (glyph.character == c) {
                DrawCellAt(glyph.cell, AreaFirstPosition + i);
                break;
            }
        }
    }
}

int32_t PaintFrame()
{
    BlitSurface(1, 0, 0, 0, 0, 0, 0, 0, 0);
    for (int k = 0; k < KeyCount; k++) {
        int state = keyStates[k];
        if (state >= Up && state <= Disabled) DrawCellAt(KeyTable[k].cell[state], k);
    }
    DrawCellAt(CellPanel, AreaPanel);
    if (calcState.errorFlag == 1) DrawCellAt(CellErrorSign, AreaFirstPosition);
    else DrawDisplayText();
    if (calcState.pendingOp >= OpAdd && calcState.pendingOp <= OpDivide)
        DrawCellAt(CellOperatorBase + calcState.pendingOp, AreaOperator);
    BlitToWindow(0, 0, 0, 0, 0, mainWindow, 0, 0, 0);
    return 0;
}

int32_t ReleaseKeys()
{
    for (int k = 0; k < KeyBackspace + 1; k++) {
        if (keyStates[k] != Down) continue;
        keyStates[k] = Up;
        InvalidateArea(SkinLayout[k]);
    }
    return 0;
}
