// numbrix-skin guide: a picture that shows a skin's author where every cell and area lies. On the
// left the parts image with each cell's rectangle outlined and labelled ("7 up", "display 3",
// "minus indicator"); on the right the face at start with each area outlined and labelled (its
// key, "panel", "position 0", "indicator"). Whatever numbrix-skin check finds fault with (cells
// outside the image, areas off the face, keys over keys, ...) is outlined in red.
#pragma once
#include "skin/check/skin_location.h"

#include <cstdint>
#include <string>

namespace skintool {

// Where the guide puts the two pictures, in its own pixels: each pixel of the skin is a
// scale x scale square from the picture's top-left corner. A margin of 8 skin pixels goes
// round both, with a caption line of 10 above them and 24 between them, so that outlines just
// outside a picture still show.
struct GuideLayout {
    int scale;
    int partsLeft, partsTop;
    int faceLeft, faceTop;
    int width, height;
};
GuideLayout LayoutGuide(int partsWidth, int partsHeight, int scale);

// The outlines: cells by look (up faces and key areas, down faces, disabled faces), the display
// (panel, glyphs, error sign, its areas), the operator indicators, and faults.
constexpr uint32_t GuideUpColour = 0x30E030, GuideDownColour = 0x40A0FF, GuideDisabledColour = 0xC0C0C0;
constexpr uint32_t GuideDisplayColour = 0xFFD040, GuideIndicatorColour = 0xFF60FF;
constexpr uint32_t GuideFaultColour = 0xFF0000;

// The tool's exit status: 0 when the picture is written, 1 when it cannot be.
int WriteGuide(const SkinLocation& location, const std::string& outPath, int scale);

}  // namespace skintool
