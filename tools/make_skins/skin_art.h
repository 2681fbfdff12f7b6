// Draws a skin's two bitmaps from its design: the background (the calculator's body with the
// display's recess) and the parts image (every key face in three states, the display panel with
// its unlit segments, the segment glyphs, the error sign and the operator indicators). Shapes
// are antialiased against what each cell will be drawn over, so that edges stay smooth although
// the painter only knows opaque and transparent pixels. Labels are set with SDL2_ttf.
#pragma once
#include "tools/make_skins/skin_image.h"

namespace skins {

struct SkinImages {
    Image background;
    Image parts;   // cells where PlanCells puts them
};

// fontPath is a bold sans-serif TrueType font. Returns false, after saying why, when a font
// size cannot be opened.
bool DrawSkin(const SkinDesign& design, const char* fontPath, SkinImages& images);

}  // namespace skins
