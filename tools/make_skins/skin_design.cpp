#include "tools/make_skins/skin_design.h"

#include "engine/key_names.h"
#include "tools/make_skins/skin_sounds.h"

#include <algorithm>
#include <cstdio>

namespace skins {

const char* const KeyLabels[KeyCount] = {
    "D", "A", "7", "4", "1", "0", "E", "B", "8", "5", "2", ".", "F", "C", "9",
    "6", "3", "\u00b1", "\u00f7", "\u00d7", "\u2212", "+", "=", "C", "CE", "\u2190", "HEX", "DEC", "BIN",
};

KeyKind KindOfKey(int key)
{
    switch (key) {
    case 0: case 1: case 6: case 7: case 12: case 13: return KindLetter;
    case KeyPoint: case KeySign: return KindFunction;
    case KeyDivide: case KeyMultiply: case KeySubtract: case KeyAdd: return KindOperator;
    case KeyEquals: return KindEquals;
    case KeyClearAll: case KeyClearEntry: case KeyBackspace: return KindClear;
    case KeyHexMode: case KeyDecMode: case KeyBinMode: return KindMode;
    default: return KindDigit;
    }
}

// "default": a graphite body with a reflective LCD. The keys stand in columns as the key
// table orders them: three columns of letters and digits, the operators, then clear and mode keys.
static const SkinDesign DefaultDesign = {
    "default",
    {{{5, 51, 97, 145, 193, 0}, {74, 106, 138, 170, 202, 234}, 42, 28}},
    {
        {0, 0, 0, 1, 1}, {0, 0, 1, 1, 1}, {0, 0, 2, 1, 1}, {0, 0, 3, 1, 1}, {0, 0, 4, 1, 1}, {0, 0, 5, 1, 1},
        {0, 1, 0, 1, 1}, {0, 1, 1, 1, 1}, {0, 1, 2, 1, 1}, {0, 1, 3, 1, 1}, {0, 1, 4, 1, 1}, {0, 1, 5, 1, 1},
        {0, 2, 0, 1, 1}, {0, 2, 1, 1, 1}, {0, 2, 2, 1, 1}, {0, 2, 3, 1, 1}, {0, 2, 4, 1, 1}, {0, 2, 5, 1, 1},
        {0, 3, 0, 1, 1}, {0, 3, 1, 1, 1}, {0, 3, 2, 1, 1}, {0, 3, 3, 1, 1}, {0, 3, 4, 1, 2},
        {0, 4, 0, 1, 1}, {0, 4, 1, 1, 1}, {0, 4, 2, 1, 1},
        {0, 4, 3, 1, 1}, {0, 4, 4, 1, 1}, {0, 4, 5, 1, 1},
    },
    {{6, 8, 228, 58}, 210, 34, 18, 16, 26, 6, 14, 15, 12, 2.6f, 0.12f, 9},
    {
        {62, 66, 75}, {28, 31, 37}, {16, 18, 22},
        {204, 216, 188}, {178, 194, 162},
        {30, 38, 32}, {150, 28, 28}, 0.09f,
        {
            {{248, 249, 251}, {212, 216, 223}, {112, 118, 128}, {34, 38, 46}},     // digits
            {{228, 234, 244}, {190, 200, 216}, {104, 112, 128}, {36, 64, 120}},    // letters
            {{234, 236, 240}, {200, 204, 212}, {112, 118, 128}, {34, 38, 46}},     // point, sign
            {{255, 184, 92}, {234, 128, 32}, {140, 76, 20}, {255, 255, 255}},      // operators
            {{255, 140, 74}, {218, 80, 28}, {132, 46, 14}, {255, 255, 255}},       // equals
            {{238, 100, 90}, {194, 52, 46}, {112, 28, 26}, {255, 255, 255}},       // clear
            {{96, 104, 120}, {62, 68, 82}, {24, 27, 33}, {236, 240, 246}},         // modes
        },
        {46, 66, 50}, {124, 255, 146},
        0.22f, false,
    },
    6, 16, 10,
    {1.0f, 0.35f},
};

// "midnight": a navy body with a glowing cyan display; a strip of letter keys, a four-column
// keypad with the operators on the right, and the mode keys as a row along the bottom.
static const SkinDesign MidnightDesign = {
    "midnight",
    {
        {{6, 45, 84, 123, 162, 201}, {62, 0, 0, 0, 0, 0}, 33, 22},
        {{6, 64, 122, 180, 0, 0}, {90, 120, 150, 180, 210, 0}, 54, 26},
        {{6, 84, 162, 0, 0, 0}, {242, 0, 0, 0, 0, 0}, 72, 20},
    },
    {
        {0, 3, 0, 1, 1}, {0, 0, 0, 1, 1}, {1, 0, 1, 1, 1}, {1, 0, 2, 1, 1}, {1, 0, 3, 1, 1}, {1, 1, 4, 1, 1},
        {0, 4, 0, 1, 1}, {0, 1, 0, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 2, 1, 1}, {1, 1, 3, 1, 1}, {1, 2, 4, 1, 1},
        {0, 5, 0, 1, 1}, {0, 2, 0, 1, 1}, {1, 2, 1, 1, 1}, {1, 2, 2, 1, 1}, {1, 2, 3, 1, 1}, {1, 0, 4, 1, 1},
        {1, 3, 0, 1, 1}, {1, 3, 1, 1, 1}, {1, 3, 2, 1, 1}, {1, 3, 3, 1, 1}, {1, 3, 4, 1, 1},
        {1, 0, 0, 1, 1}, {1, 1, 0, 1, 1}, {1, 2, 0, 1, 1},
        {2, 0, 0, 1, 1}, {2, 1, 0, 1, 1}, {2, 2, 0, 1, 1},
    },
    {{6, 6, 228, 50}, 212, 16, 16, 15, 30, 6, 13, 25, 12, 2.4f, 0.1f, 0},
    {
        {24, 30, 52}, {9, 11, 22}, {3, 5, 11},
        {10, 16, 30}, {4, 8, 16},
        {96, 228, 255}, {255, 92, 112}, 0.08f,
        {
            {{48, 58, 84}, {34, 42, 64}, {14, 18, 30}, {226, 234, 248}},         // digits
            {{38, 48, 74}, {27, 35, 56}, {12, 16, 28}, {112, 216, 255}},         // letters
            {{42, 52, 76}, {30, 38, 58}, {14, 18, 30}, {188, 200, 226}},         // point, sign
            {{128, 108, 242}, {90, 70, 204}, {36, 26, 92}, {255, 255, 255}},     // operators
            {{52, 216, 196}, {16, 160, 146}, {6, 66, 60}, {6, 34, 34}},          // equals
            {{234, 80, 114}, {184, 42, 78}, {84, 18, 38}, {255, 255, 255}},      // clear
            {{32, 40, 62}, {22, 28, 46}, {8, 10, 20}, {172, 186, 212}},          // modes
        },
        {44, 56, 76}, {96, 228, 255},
        0.07f, true,
    },
    8, 16, 11,
    {0.84f, 0.12f},
};

const SkinDesign SkinDesigns[SkinDesignCount] = {DefaultDesign, MidnightDesign};

Rect KeyArea(const SkinDesign& design, int key)
{
    const KeySpot& spot = design.keys[key];
    const Grid& grid = design.grids[spot.grid];
    int x = grid.columnX[spot.column];
    int y = grid.rowY[spot.row];
    int right = grid.columnX[spot.column + spot.columnSpan - 1] + grid.keyWidth;
    int bottom = grid.rowY[spot.row + spot.rowSpan - 1] + grid.keyHeight;
    return {x, y, right - x, bottom - y};
}

Rect PositionArea(const SkinDesign& design, int position)
{
    const Display& d = design.display;
    return {d.firstX - position * d.spacing, d.y, d.glyphWidth, d.glyphHeight};
}

Rect IndicatorArea(const SkinDesign& design)
{
    const Display& d = design.display;
    return {d.indicatorX, d.indicatorY, d.indicatorSize, d.indicatorSize};
}

void PlanAreas(const SkinDesign& design, Rect areas[AreaCount])
{
    for (int k = 0; k < KeyCount; k++) areas[k] = KeyArea(design, k);
    areas[AreaPanel] = design.display.panel;
    for (int i = 0; i < DisplayPositions; i++) areas[AreaFirstPosition + i] = PositionArea(design, i);
    areas[AreaOperator] = IndicatorArea(design);
}

Rect CellSize(const SkinDesign& design, int cell)
{
    const Display& d = design.display;
    if (cell < CellPanel) {
        Rect area = KeyArea(design, KeyOfFace(cell % FaceCount));
        return {0, 0, area.w, area.h};
    }
    if (cell == CellPanel) return {0, 0, d.panel.w, d.panel.h};
    if (cell == CellPoint || cell == CellComma) return {0, 0, d.narrowWidth, d.glyphHeight};
    if (cell >= CellFirstIndicator) return {0, 0, d.indicatorSize, d.indicatorSize};
    return {0, 0, d.glyphWidth, d.glyphHeight};
}

// Shelf packing in cell order; the up, down and disabled faces and the panel each start a new
// shelf so that the parts image reads as rows of like parts.
CellPlan PlanCells(const SkinDesign& design)
{
    CellPlan plan = {};
    plan.width = PartsWidth;
    int x = CellGap, y = CellGap, shelfHeight = 0;
    auto newShelf = [&] {
        y += shelfHeight + CellGap;
        x = CellGap;
        shelfHeight = 0;
    };
    for (int cell = 0; cell < CellCount; cell++) {
        bool startsGroup = cell == CellFirstDown || cell == CellFirstDisabled || cell == CellPanel ||
                           cell == CellFirstDigit;
        Rect size = CellSize(design, cell);
        if ((startsGroup && x > CellGap) || x + size.w + CellGap > PartsWidth) newShelf();
        plan.cells[cell] = {x, y, size.w, size.h};
        x += size.w + CellGap;
        shelfHeight = std::max(shelfHeight, size.h);
    }
    plan.height = y + shelfHeight + CellGap;
    return plan;
}

static std::string CellRole(int cell)
{
    static const char* const States[3] = {"up", "down", "disabled"};
    static const char* const Operators[4] = {"add", "sub", "mul", "div"};
    static const char* const Glyphs = "0123456789";
    if (cell < CellPanel)
        return std::string("key ") + KeyName(KeyOfFace(cell % FaceCount)) + " " + States[cell / FaceCount];
    if (cell == CellPanel) return "display panel";
    if (cell < CellErrorSign) return std::string("glyph ") + Glyphs[cell - CellFirstDigit];
    if (cell == CellErrorSign) return "error sign";
    if (cell == CellPoint) return "glyph point";
    if (cell == CellMinus) return "glyph minus";
    if (cell == CellComma) return "glyph comma";
    if (cell < CellFirstIndicator) return std::string("glyph ") + char('a' + cell - CellFirstLetter);
    return std::string("indicator ") + Operators[cell - CellFirstIndicator];
}

static std::string AreaRole(int area)
{
    if (area < KeyCount) return std::string("key ") + KeyName(area);
    if (area == AreaPanel) return "display panel";
    if (area == AreaOperator) return "operator indicator";
    return "display position " + std::to_string(area - AreaFirstPosition);
}

static const char* const SoundRoles[SoundEvents] = {
    "skin loaded", "digit", "mode", "clear all", "clear entry", "backspace", "operator", "equals", "exit",
};

// key=value with the role as a remark after "#", which the skin reader cuts off.
static void AppendEntry(std::string& text, const char* key, const std::string& value, const std::string& role)
{
    std::string line = std::string(key) + "=" + value;
    line.resize(std::max<size_t>(line.size() + 1, 28), ' ');
    text += line + "# " + role + "\r\n";
}

static std::string RectValue(const Rect& r)
{
    char value[64];
    std::snprintf(value, sizeof value, "%d,%d,%d,%d", r.x, r.y, r.w, r.h);
    return value;
}

std::string SkinFileText(const SkinDesign& design)
{
    char key[16];
    std::string text = std::string("; Numbrix skin \"") + design.name + "\", written by numbrix-make-skins\r\n";
    text += "\r\n[FILE]\r\n";
    AppendEntry(text, "BACKIMAGE", BackImageName, "background");
    AppendEntry(text, "PARTSIMAGE", PartsImageName, "keys, panel, glyphs, indicators");

    text += "\r\n[CHARACTER]\r\n";
    CellPlan plan = PlanCells(design);
    for (int cell = 0; cell < CellCount; cell++) {
        std::snprintf(key, sizeof key, "CHAR%03d", cell + 1);
        AppendEntry(text, key, RectValue(plan.cells[cell]), CellRole(cell));
    }

    text += "\r\n[AREA]\r\n";
    Rect areas[AreaCount];
    PlanAreas(design, areas);
    for (int area = 0; area < AreaCount; area++) {
        std::snprintf(key, sizeof key, "AREA%02d", area + 1);
        AppendEntry(text, key, RectValue(areas[area]), AreaRole(area));
    }

    text += "\r\n[SOUND]\r\n";
    for (int sound = 0; sound < SoundEvents; sound++) {
        std::snprintf(key, sizeof key, "SOUND%02d", sound + 1);
        AppendEntry(text, key, SoundFileNames[sound], SoundRoles[sound]);
    }
    return text;
}

}  // namespace skins
