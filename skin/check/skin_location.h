// Where the calculator finds a skin file's images and sounds, by the loader's own rule
// (SkinFilesFolder). A skin file given by path stands for the program's --skin FILE: its images
// and sounds lie in NAME/ of the folder that holds it. With --app-dir DIR the tool stands in for a
// program installed in DIR instead: the images and sounds lie in DIR/skin/NAME/, wherever the file
// is, and the calculator lists the skins of DIR/skin/.
#pragma once
#include <string>
#include <vector>

namespace skintool {

struct SkinLocation {
    std::string hostPath;          // the skin file, absolute
    std::u16string devicePath;     // the same as the program sees it, with backslashes
    bool givenSkin = true;         // the program's --skin file (no --app-dir)
    std::u16string appDirectory;   // with --app-dir: the program's directory, ending with a backslash
    std::u16string skinName;       // as the loader derives it from the file path
    std::u16string filesFolder;    // the loader's folder whose NAME\ holds the images and sounds
    std::string imageHostDir;      // filesFolder + skin name, where images and sounds are read
    std::vector<std::string> warnings;   // about the layout, one sentence each
};

// appDirOverride empty: the skin file as the program's --skin takes it.
SkinLocation LocateSkin(const std::string& skinPath, const std::string& appDirOverride);
// The skin file as the program running now loads it (its appDirectory and commandLineSkin).
SkinLocation LocateLoadedSkin(const std::u16string& devicePath);

// The full path where the loader reads a file that the skin names (SkinNamedFilePath). False when
// it would not fit in MAX_PATH units.
bool SkinMemberPath(const SkinLocation& location, const std::u16string& fileName, std::u16string* path);

// Makes the program see the skin as the location has it (appDirectory and commandLineSkin). False
// when the paths do not fit.
bool InstallSkinLocation(const SkinLocation& location);

std::string Utf8Of(const std::u16string& text);
std::u16string Utf16Of(const std::string& text);

}  // namespace skintool
