#include "skin/check/broken_skin_report.h"

#include "skin/check/skin_check.h"

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
