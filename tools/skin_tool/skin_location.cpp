#include "tools/skin_tool/skin_location.h"

#include "engine/app_globals.h"
#include "platform/host_paths.h"
#include "platform/unicode.h"
#include "skin/skin_loader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace skintool {

std::string Utf8Of(const std::u16string& text)
{
    return Utf8FromUtf16(text);
}

std::u16string Utf16Of(const std::string& text)
{
    return Utf16FromUtf8(text);
}

static bool EndsWithSknIgnoringCase(const std::string& name)
{
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".skn";
}

SkinLocation LocateSkin(const std::string& skinPath, const std::string& appDirOverride)
{
    SkinLocation location;
    fs::path file = fs::absolute(fs::path(skinPath)).lexically_normal();
    fs::path directory = file.parent_path();
    fs::path app = appDirOverride.empty() ? directory.parent_path() : fs::absolute(appDirOverride).lexically_normal();
    location.hostPath = file.string();
    location.devicePath = DevicePathFromHost(location.hostPath);
    location.appHostDir = app.string();
    if (location.appHostDir.empty() || location.appHostDir.back() != '/') location.appHostDir += '/';
    location.appDirectory = DevicePathFromHost(location.appHostDir);

    WCHAR name[MAX_PATH];
    std::u16string devicePath = location.devicePath.substr(0, MAX_PATH - 1);
    SkinNameFromPath(devicePath.c_str(), name);
    location.skinName = name;
    location.imageHostDir = location.appHostDir + "skin/" + HostPathFromDevice(name);

    std::string listed = location.appHostDir + "skin";
    if (appDirOverride.empty() && directory.filename() != "skin") {
        location.warnings.push_back("the skin file does not lie in a directory named \"skin\", where the calculator "
                                    "looks for skins; its images and sounds are looked up in " +
                                    location.imageHostDir + "/ (--app-dir chooses the program's directory)");
    } else if (!appDirOverride.empty() && fs::path(listed).lexically_normal() != directory) {
        location.warnings.push_back("the calculator lists only the skins in " + listed + "/, and this file lies in " +
                                    directory.string() + "/");
    }
    if (!EndsWithSknIgnoringCase(file.filename().string()))
        location.warnings.push_back("the calculator lists only skin files whose names end in \".skn\"");
    return location;
}

bool SkinMemberPath(const SkinLocation& location, const std::u16string& fileName, std::u16string* path)
{
    std::u16string full = location.appDirectory + u"skin\\" + location.skinName + u"\\" + fileName;
    if (full.size() >= MAX_PATH) return false;
    *path = full;
    return true;
}

bool InstallAppDirectory(const SkinLocation& location)
{
    if (location.appDirectory.size() >= MAX_PATH) return false;
    std::memcpy(appDirectory, location.appDirectory.c_str(), (location.appDirectory.size() + 1) * sizeof(WCHAR));
    return true;
}

}  // namespace skintool
