#include "engine/skin_cells.h"

int GlyphCell(WCHAR c)
{
    if (c >= u'0' && c <= u'9') return CellFirstDigit + (c - u'0');
    if (c >= u'a' && c <= u'f') return CellFirstLetter + (c - u'a');
    if (c == u'.') return CellPoint;
    if (c == u'-') return CellMinus;
    if (c == u',') return CellComma;
    return -1;
}

int KeyOfFace(int face)
{
    for (int k = 0; k < KeyCount; k++)
        if (KeyTable[k].cell[Up] == face) return k;
    return -1;
}
