// The sprite cells of a skin: CHAR001 to CHAR112 of the skin file are cells 0 to 111. First the
// key faces in three runs of 29, up, down and disabled, each run in the order of KeyTable's upCell
// (0-15 the digits 0-F, then point, sign, subtract, multiply, divide, clear all, clear entry,
// backspace, add, equals and the three mode keys); then the display's panel, glyphs, error sign
// and operator indicators.
#pragma once
#include "engine/key_table.h"
#include "platform/types.h"

constexpr int CellCount = 112;
constexpr int FaceCount = 29;            // faces of one look; cells 0-28 are the up faces
constexpr int CellFirstDown = 29;        // a key's down face is its up face + 29
constexpr int CellFirstDisabled = 58;    // and its disabled face its up face + 58
constexpr int CellPanel = 87;
constexpr int CellFirstDigit = 88;       // glyphs 0-9
constexpr int CellErrorSign = 98;
constexpr int CellPoint = 99;
constexpr int CellMinus = 100;
constexpr int CellComma = 101;
constexpr int CellFirstLetter = 102;     // glyphs a-f
constexpr int CellFirstIndicator = 108;  // add, subtract, multiply, divide

// The glyph cell of a display character, or -1 for a character without one.
int GlyphCell(WCHAR c);

// The indicator cell of a pending operator, OpAdd to OpDivide.
constexpr int IndicatorCell(OpCode op)
{
    return CellFirstIndicator + (op - OpAdd);
}

// The key whose up face is cell `face` (0-28), or -1.
int KeyOfFace(int face);
