// numbrix-skin render: the face that the calculator shows after a sequence of key presses, and a
// sheet of faces that puts every cell of a skin to use.
#pragma once
#include "tools/skin_location.h"

#include <string>
#include <vector>

namespace skintool {

// Splits a key sequence at blanks. False, naming the first word that is no key, when one is not.
bool SplitKeySequence(const std::string& sequence, std::vector<std::string>* words, std::string* unknown);

// Each returns the tool's exit status: 0 when the picture is written, 1 when the skin does not
// load or the picture cannot be written. Notes about presses go to standard error.
int RenderFace(const SkinLocation& location, const std::vector<std::string>& words, const std::string& outPath);
int RenderAllStates(const SkinLocation& location, const std::string& outPath);

// The sheet's faces: a caption and the key sequence that leads to the face from the start.
struct SheetFace {
    std::string caption;
    std::string keys;
};
std::vector<SheetFace> SheetFaces();

}  // namespace skintool
