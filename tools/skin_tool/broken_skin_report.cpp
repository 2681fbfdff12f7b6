// The skin check inside the calculator: when a watched skin does not load, the calculator prints
// what numbrix-skin check finds in it, the loader's message being the check's last word.
#include "shell/skin_watch.h"
#include "tools/skin_tool/skin_check.h"

using namespace skintool;

void ReportBrokenSkin(LPCWSTR skinPath, LPCWSTR loaderMessage)
{
    SkinLocation location = LocateLoadedSkin(skinPath);
    std::u16string message = loaderMessage;
    CheckReport report = CheckSkin(location, [&](std::u16string* shown) {
        *shown = message;
        return false;
    });
    PrintReport(report, location.hostPath, location, stderr);
}
