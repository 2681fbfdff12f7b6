#include "platform/hosts/sdl/window_placement.h"

#include "platform/registry.h"
#include "platform/screen.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

// A key of the host's own beside the program's: the program's two values stay as they are.
const char16_t PlacementKey[] = u"SOFTWARE\\Ostrel\\Numbrix Host Window";

bool Holds(const SDL_Rect& area, int x, int y, int scale)
{
    return x >= area.x && y >= area.y && x + ScreenWidth * scale <= area.x + area.w &&
           y + ScreenHeight * scale <= area.y + area.h;
}

bool ReadNumber(HKEY key, const char16_t* name, int* number)
{
    char16_t text[32];
    DWORD size = sizeof text;
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
        return false;
    std::string narrow;
    for (size_t i = 0; i < size / sizeof(char16_t) && text[i]; i++) narrow += char(text[i] < 128 ? text[i] : '?');
    char* end = nullptr;
    long value = std::strtol(narrow.c_str(), &end, 10);
    if (narrow.empty() || *end || value < -100000 || value > 100000) return false;
    *number = int(value);
    return true;
}

void WriteNumber(HKEY key, const char16_t* name, int number)
{
    std::string narrow = std::to_string(number);
    std::u16string text(narrow.begin(), narrow.end());
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD((text.size() + 1) * sizeof(char16_t)));
}

}  // namespace

int LargestScale(const SDL_Rect& usable)
{
    return std::max(1, std::min(usable.w / ScreenWidth, usable.h / ScreenHeight));
}

int InitialScale(int usableWidth, int usableHeight)
{
    return usableWidth >= 2 * ScreenWidth && usableHeight >= 2 * ScreenHeight ? 2 : 1;
}

Placement ChoosePlacement(const StoredPlacement& stored, int requestedScale, const std::vector<SDL_Rect>& displays)
{
    SDL_Rect primary = displays.empty() ? SDL_Rect{0, 0, ScreenWidth, ScreenHeight} : displays.front();
    int automatic = InitialScale(primary.w, primary.h);
    int scale = requestedScale > 0 ? requestedScale : stored.scale > 0 ? stored.scale : automatic;
    if (stored.hasPosition) {
        for (const SDL_Rect& display : displays)
            if (Holds(display, stored.x, stored.y, scale)) return Placement{scale, false, stored.x, stored.y};
    }
    return Placement{requestedScale > 0 ? std::min(requestedScale, LargestScale(primary)) : automatic, true, 0, 0};
}

int ZoomedScale(int current, int step, int largest)
{
    return std::clamp(current + step, 1, std::max(1, largest));
}

StoredPlacement LoadPlacement()
{
    StoredPlacement stored;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, PlacementKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return stored;
    if (!ReadNumber(key, u"Scale", &stored.scale) || stored.scale < 0) stored.scale = 0;
    stored.hasPosition = ReadNumber(key, u"Left", &stored.x) && ReadNumber(key, u"Top", &stored.y);
    RegCloseKey(key);
    return stored;
}

void SavePlacement(const StoredPlacement& placement)
{
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, PlacementKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return;
    WriteNumber(key, u"Scale", placement.scale);
    WriteNumber(key, u"Left", placement.x);
    WriteNumber(key, u"Top", placement.y);
    RegCloseKey(key);
}
