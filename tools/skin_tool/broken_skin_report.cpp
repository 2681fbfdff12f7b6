// The skin check inside the calculator: when a watched skin does not load, the calculator prints
// what numbrix-skin check finds in it, the loader's message being the check's last word.
#include "engine/app_globals.h"
#include "platform/host_paths.h"
#include "shell/skin_watch.h"
#include "tools/skin_tool/skin_check.h"

using namespace skintool;

void ReportBrokenSkin(LPCWSTR skinPath, LPCWSTR loaderMessage)
{
    std::string hostPath = HostPathFromDevice(skinPath);
    SkinLocation location = LocateSkin(hostPath, HostPathFromDevice(appDirectory));
    std::u16string message = loaderMessage;
    CheckReport report = CheckSkin(location, [&](std::u16string* shown) {
        *shown = message;
        return false;
    });
    PrintReport(report, hostPath, location, stderr);
}
