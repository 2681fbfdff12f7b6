#include "display/frame_painter.h"

#include "display/display_text.h"
#include "engine/app_globals.h"
#include "engine/calc_state.h"
#include "engine/skin_cells.h"
#include "engine/skin_layout.h"
#include "skin/surface_bank.h"

static void DrawCellAt(int cell, int area)
{
    DrawCell(cell, SlotComposition, SkinLayout[area].x, SkinLayout[area].y, Transparent);
}

static void DrawDisplayText()
{
    WCHAR text[DisplayTextMax + 1];
    int length = BuildFittedDisplayText(&calcState, text, DisplayPositions);
    for (int i = 0; i < length && i < DisplayPositions; i++) {
        int cell = GlyphCell(text[length - 1 - i]);
        if (cell >= 0) DrawCellAt(cell, AreaFirstPosition + i);
    }
}

int32_t PaintFrame()
{
    BlitSurface(SlotBackground, 0, 0, 0, 0, SlotComposition, 0, 0, Opaque);
    for (int k = 0; k < KeyCount; k++) {
        int state = keyStates[k];
        if (state >= Up && state <= Disabled) DrawCellAt(KeyTable[k].cell[state], k);
    }
    DrawCellAt(CellPanel, AreaPanel);
    if (calcState.errorFlag == 1) DrawCellAt(CellErrorSign, AreaFirstPosition);
    else DrawDisplayText();
    if (calcState.pendingOp >= OpAdd && calcState.pendingOp <= OpDivide)
        DrawCellAt(IndicatorCell(calcState.pendingOp), AreaOperator);
    BlitToWindow(SlotComposition, 0, 0, 0, 0, mainWindow, 0, 0, Opaque);
    return 0;
}
