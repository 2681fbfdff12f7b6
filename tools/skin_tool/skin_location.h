// Where the calculator would find a skin file's images and sounds. The calculator looks for them
// in appDirectory\skin\<skin name>\, appDirectory being its own directory, and lists the skins of
// appDirectory\skin. For a skin file given by path the tool therefore takes the parent of the
// directory that holds the file as appDirectory (that directory is normally named "skin"), or the
// directory given with --app-dir.
#pragma once
#include <string>
#include <vector>

namespace skintool {

struct SkinLocation {
    std::string hostPath;          // the skin file, absolute
    std::u16string devicePath;     // the same as the program sees it, with backslashes
    std::string appHostDir;        // the program's directory that the tool stands in for
    std::u16string appDirectory;   // its device form, ending with a backslash
    std::u16string skinName;       // as the loader derives it from the file path
    std::string imageHostDir;      // appHostDir/skin/<skin name>, where images and sounds are read
    std::vector<std::string> warnings;   // about the layout, one sentence each
};

// appDirOverride empty: the parent of the skin file's directory.
SkinLocation LocateSkin(const std::string& skinPath, const std::string& appDirOverride);

// "%sskin\%s\%s" of the application directory, the skin name and a file name, as the loader
// builds the path of a file that a skin names. False when it would not fit in MAX_PATH units.
bool SkinMemberPath(const SkinLocation& location, const std::u16string& fileName, std::u16string* path);

// Makes the program see location.appDirectory as its own directory. False when it does not fit.
bool InstallAppDirectory(const SkinLocation& location);

std::string Utf8Of(const std::u16string& text);
std::u16string Utf16Of(const std::string& text);

}  // namespace skintool
