// numbrix-skin new: a skin to start drawing from. NAME.skn and NAME/ in a directory, with
// copies of another skin's images and sounds and its cells and areas, the skin file saying in
// remarks what each section and each group of keys is, so that the new skin loads at once.
#pragma once
#include <string>

namespace skintool {

// The directory that `new` writes to when none is given: the working directory.
constexpr const char* DefaultNewSkinDirectory = ".";

// Writes the skin `name` into the existing directory `directory` from the skin file `from`, for
// the calculator to load with --skin DIRECTORY/NAME.skn. The tool's exit status: 0 when written;
// 1, after one line on standard error that says why, when the directory does not exist, the name
// is one the calculator could not load there, something of that name exists, `from` does not
// load, or writing fails.
int NewSkin(const std::string& name, const std::string& from, const std::string& directory);

// The calculator's default skin beside the tool (the tool's directory or, in the build tree, the
// one above it), or empty when there is none.
std::string DefaultSkinBesideTool();

}  // namespace skintool
