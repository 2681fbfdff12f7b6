#include "skin/check/skin_location.h"

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

namespace {

bool EndsWithSknIgnoringCase(const std::string& name)
{
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".skn";
}

// A text too long for the global is cut short there (the loader cuts a skin path as well): false.
bool CopyInto(WCHAR* global, const std::u16string& text)
{
    size_t length = std::min(text.size(), size_t(MAX_PATH - 1));
    std::memcpy(global, text.c_str(), length * sizeof(WCHAR));
    global[length] = 0;
    return length == text.size();
}

// The program's globals that the loader's folder rule reads, set as the location has them while
// an instance lives, and put back after.
class LocationInUse {
public:
    explicit LocationInUse(const SkinLocation& location)
    {
        std::memcpy(savedDirectory_, appDirectory, sizeof appDirectory);
        std::memcpy(savedSkin_, commandLineSkin, sizeof commandLineSkin);
        installed_ = InstallSkinLocation(location);
    }
    ~LocationInUse()
    {
        std::memcpy(appDirectory, savedDirectory_, sizeof appDirectory);
        std::memcpy(commandLineSkin, savedSkin_, sizeof commandLineSkin);
    }
    LocationInUse(const LocationInUse&) = delete;
    LocationInUse& operator=(const LocationInUse&) = delete;
    bool Installed() const { return installed_; }

private:
    WCHAR savedDirectory_[MAX_PATH], savedSkin_[MAX_PATH];
    bool installed_;
};

// The skin name, the loader's folder and the image directory, from the loader.
void FindFiles(SkinLocation& location)
{
    WCHAR name[MAX_PATH], folder[MAX_PATH + 8];
    std::u16string devicePath = location.devicePath.substr(0, MAX_PATH - 1);
    SkinNameFromPath(devicePath.c_str(), name);
    location.skinName = name;
    {
        LocationInUse inUse(location);
        SkinFilesFolder(devicePath.c_str(), folder);
    }
    location.filesFolder = folder;
    location.imageHostDir = HostPathFromDevice((location.filesFolder + location.skinName).c_str());
}

}  // namespace

SkinLocation LocateSkin(const std::string& skinPath, const std::string& appDirOverride)
{
    SkinLocation location;
    fs::path file = fs::absolute(fs::path(skinPath)).lexically_normal();
    location.hostPath = file.string();
    location.devicePath = DevicePathFromHost(location.hostPath);
    location.givenSkin = appDirOverride.empty();
    if (!location.givenSkin) {
        std::string app = fs::absolute(appDirOverride).lexically_normal().string();
        if (app.empty() || app.back() != '/') app += '/';
        location.appDirectory = DevicePathFromHost(app);
        fs::path listed = fs::path(app + "skin").lexically_normal();
        if (listed != file.parent_path())
            location.warnings.push_back("the calculator lists only the skins in " + listed.string() +
                                        "/, and this file lies in " + file.parent_path().string() + "/");
    }
    FindFiles(location);
    if (!EndsWithSknIgnoringCase(file.filename().string()))
        location.warnings.push_back("the calculator lists only skin files whose names end in \".skn\"");
    return location;
}

SkinLocation LocateLoadedSkin(const std::u16string& devicePath)
{
    SkinLocation location;
    location.devicePath = devicePath;
    location.hostPath = HostPathFromDevice(devicePath.c_str());
    location.givenSkin = devicePath == commandLineSkin;
    if (!location.givenSkin) location.appDirectory = appDirectory;
    FindFiles(location);
    return location;
}

bool SkinMemberPath(const SkinLocation& location, const std::u16string& fileName, std::u16string* path)
{
    LocationInUse inUse(location);
    WCHAR full[MAX_PATH];
    if (!inUse.Installed() || !SkinNamedFilePath(location.devicePath.c_str(), fileName.c_str(), full)) return false;
    *path = full;
    return true;
}

bool InstallSkinLocation(const SkinLocation& location)
{
    bool directoryFits = CopyInto(appDirectory, location.appDirectory);
    bool skinFits = CopyInto(commandLineSkin, location.givenSkin ? location.devicePath : std::u16string());
    return directoryFits && skinFits;
}

}  // namespace skintool
