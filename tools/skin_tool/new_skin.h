// numbrix-skin new: a skin to start drawing from. NAME.skn and NAME/ in a skin directory, with
// copies of another skin's images and sounds and its cells and areas, the skin file saying in
// remarks what each section and each group of keys is, so that the new skin loads at once.
#pragma once
#include <string>

namespace skintool {

// The skin directory that `new` writes to when none is given: "skin" in the working directory.
constexpr const char* DefaultNewSkinDirectory = "skin";

// Writes the skin `name` into skinDir from the skin file `from`. The tool's exit status: 0 when
// written; 1, after one line on standard error that says why, when the name is one the calculator
// could not load there, something of that name exists, `from` does not load, or writing fails.
int NewSkin(const std::string& name, const std::string& from, const std::string& skinDir);

// The calculator's default skin beside the tool (the tool's directory or, in the build tree, the
// one above it), or empty when there is none.
std::string DefaultSkinBesideTool();

}  // namespace skintool
