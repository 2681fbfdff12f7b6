// The face of each skin that numbrix-make-skins writes, kept as data: where every key sits, the
// display's geometry and the colours of every part. The plans derived from it (the 43 areas in
// the window, the 112 cells on the parts image, the text of the skin file) are pure functions, so
// that the tests can check a design without drawing it.
#pragma once
#include "engine/key_table.h"
#include "engine/skin_cells.h"
#include "engine/skin_layout.h"

#include <cstdint>
#include <string>

namespace skins {

struct Rect {
    int x, y, w, h;
};

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Parts pixels of exactly this colour are left out when a cell is drawn.
constexpr Rgb TransparentColour = {100, 100, 100};

// Keys of one kind share their colours.
enum KeyKind : uint8_t { KindDigit, KindLetter, KindFunction, KindOperator, KindEquals, KindClear, KindMode, KindCount };

struct KeyColours {
    Rgb top, bottom;   // face gradient
    Rgb rim;           // one-pixel outline
    Rgb label;
};

// Key rectangles come from small grids: explicit column and row origins and one key size, so a
// key is a cell of a grid that may span several columns or rows.
struct Grid {
    int16_t columnX[6];
    int16_t rowY[6];
    int16_t keyWidth, keyHeight;
};

struct KeySpot {
    uint8_t grid, column, row, columnSpan, rowSpan;
};

struct Display {
    Rect panel;
    int firstX, y;         // top-left of position 0, the rightmost
    int spacing;           // each further position lies this far to the left
    int glyphWidth, glyphHeight;
    int narrowWidth;       // point and comma
    int indicatorX, indicatorY, indicatorSize;
    float stroke;          // segment thickness
    float slant;           // horizontal shift of a segment per pixel of height
    int brandSize;         // pixel size of the name printed on the panel; 0 for none
};

struct Palette {
    Rgb bodyTop, bodyBottom;        // the calculator's body, a vertical gradient
    Rgb bezel;                      // the recess around the display
    Rgb panelTop, panelBottom;      // the display's face
    Rgb ink, errorInk;              // lit segments, the error sign
    float ghost;                    // opacity of the unlit segments, drawn in ink on the panel
    KeyColours keys[KindCount];
    Rgb ledOff, ledOn;              // the lamp on a mode key, off when up, on when down
    float gloss;                    // strength of the sheen on the upper half of a key
    bool glow;                      // lit segments glow (a vacuum-fluorescent display)
};

// How the skin's sounds are voiced: a pitch factor, and how much of the second and third
// harmonics joins each tone.
struct Voice {
    float pitch;
    float brightness;
};

struct SkinDesign {
    const char* name;
    Grid grids[3];
    KeySpot keys[KeyCount];   // by key index, so key k is area k
    Display display;
    Palette palette;
    int keyRadius;
    int labelSize, wordLabelSize;   // pixel sizes of one-character and of word labels
    Voice voice;
};

constexpr int SkinDesignCount = 2;
extern const SkinDesign SkinDesigns[SkinDesignCount];

// What each key shows, UTF-8, by key index.
extern const char* const KeyLabels[KeyCount];
KeyKind KindOfKey(int key);

Rect KeyArea(const SkinDesign& design, int key);
// The rectangle that a display character at position 0-11 covers.
Rect PositionArea(const SkinDesign& design, int position);
Rect IndicatorArea(const SkinDesign& design);
void PlanAreas(const SkinDesign& design, Rect areas[AreaCount]);

// The 112 cells packed onto one parts image.
struct CellPlan {
    Rect cells[CellCount];
    int width, height;
};

constexpr int PartsWidth = 320;
constexpr int CellGap = 2;

// Size of a cell: a key's faces are the size of its area, so that what is drawn is what is hit.
Rect CellSize(const SkinDesign& design, int cell);
CellPlan PlanCells(const SkinDesign& design);

// The skin file, CR LF line ends, naming its images and sounds relative to skin/<name>/.
std::string SkinFileText(const SkinDesign& design);

constexpr const char* BackImageName = "back.bmp";
constexpr const char* PartsImageName = "parts.bmp";

}  // namespace skins
