// numbrix-skin render: the face that the calculator shows after a sequence of key presses, and a
// sheet of faces that puts every cell of a skin to use.
#pragma once
#include "platform/pixels.h"
#include "skin/check/skin_location.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skintool {

// Splits a key sequence at blanks. False, naming the first word that is no key, when one is not.
bool SplitKeySequence(const std::string& sequence, std::vector<std::string>* words, std::string* unknown);

// Each returns the tool's exit status: 0 when the picture is written, each pixel as a square of
// scale x scale pixels, 1 when the skin does not load or the picture cannot be written. Notes
// about presses go to standard error.
int RenderFace(const SkinLocation& location, const std::vector<std::string>& words, const std::string& outPath,
               int scale);
int RenderAllStates(const SkinLocation& location, const std::string& outPath, int scale);

// The picture enlarged by a whole factor, each pixel a square (nearest neighbour).
PixelBuffer Enlarged(const PixelBuffer& picture, int scale);

// A face of a sheet: a caption and the key sequence that leads to the face from the start.
struct SheetFace {
    std::string caption;
    std::string keys;
};
// The faces of the sheet that --all-states writes.
std::vector<SheetFace> SheetFaces();

// Faces in rows of `columns`, each with a caption line below it (none when captionHeight is 0),
// on a ground of one colour.
struct SheetStyle {
    int columns;
    int captionHeight;
    uint32_t ground;
};

enum class SheetResult { Written, SkinNotLoaded, NotWritten };

// Starts the calculator afresh for each face, presses its keys and puts the face it then shows on
// the sheet, which is written as a PNG image. When the skin does not load, loaderMessage holds the
// message the calculator shows.
SheetResult WriteSheet(const SkinLocation& location, const std::vector<SheetFace>& faces, const SheetStyle& style,
                       const std::string& outPath, std::u16string* loaderMessage, int scale = 1);

}  // namespace skintool
