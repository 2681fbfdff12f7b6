#include "skin/skin_loader.h"

#include "engine/app_globals.h"
#include "engine/skin_cells.h"
#include "engine/skin_layout.h"
#include "engine/sound_effects.h"
#include "platform/wince.h"
#include "skin/skin_ini.h"
#include "skin/surface_bank.h"

static const WCHAR AbsentValue[] = u"---";
static const WCHAR ErrorCaption[] = u"ERROR";

LPWSTR skinMessageSink;

static void ShowSkinError(LPCWSTR text)
{
    if (skinMessageSink) wcscpy(skinMessageSink, text);
    else MessageBoxW(mainWindow, text, ErrorCaption, MB_OK);
}

static bool IsAbsent(LPCWSTR value)
{
    return wcscmp(value, AbsentValue) == 0;
}

// The text between the last backslash before the last "." and that ".". A path without a ".",
// or without a backslash before it, gives the file name without directory and without its
// extension where it has one ("default.skn" gives "default", "\skins\plain" gives "plain").
void SkinNameFromPath(LPCWSTR skinPath, LPWSTR name)
{
    size_t length = wcslen(skinPath);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    int dot = -1, slashBeforeDot = -1, lastSlash = -1;
    for (int i = 0; i < int(length); i++) {
        if (skinPath[i] == u'.') dot = i;
        if (skinPath[i] == u'\\') lastSlash = i;
    }
    for (int i = dot - 1; i >= 0; i--) {
        if (skinPath[i] == u'\\') {
            slashBeforeDot = i;
            break;
        }
    }
    int start, end;
    if (dot >= 0 && slashBeforeDot >= 0) {
        start = slashBeforeDot + 1;
        end = dot;
    } else {
        start = lastSlash + 1;
        end = int(length);
        for (int i = end - 1; i >= start; i--) {
            if (skinPath[i] == u'.') {
                end = i;
                break;
            }
        }
    }
    int n = 0;
    for (int i = start; i < end; i++) name[n++] = skinPath[i];
    name[n] = 0;
}

void SkinFilesFolder(LPCWSTR skinPath, LPWSTR folder)
{
    if (commandLineSkin[0] == 0 || wcscmp(skinPath, commandLineSkin) != 0) {
        wsprintfW(folder, u"%sskin\\", appDirectory);
        return;
    }
    wcscpy(folder, skinPath);
    WCHAR* slash = wcsrchr(folder, u'\\');
    *(slash ? slash + 1 : folder) = 0;
}

// "%s%s\%s" from the folder, the skin name and a file name. A path that would not fit in
// MAX_PATH is never cut short (that could name another file): false.
static bool SkinFilePath(LPCWSTR folder, LPCWSTR skinName, LPCWSTR fileName, LPWSTR path)
{
    size_t length = wcslen(folder) + wcslen(skinName) + 1 + wcslen(fileName);
    if (length >= MAX_PATH) return false;
    wsprintfW(path, u"%s%s\\%s", folder, skinName, fileName);
    return true;
}

static void ShowMissingKey(LPCWSTR group, LPCWSTR key)
{
    WCHAR text[MAX_PATH];
    wsprintfW(text, u"スキンファイルが壊れている、又はありません。[%s][%s]", group, key);
    ShowSkinError(text);
}

static int32_t StopWithSurface(int slot)
{
    WCHAR text[MAX_PATH];
    wsprintfW(text, u"仮想画面(%d)の作成に失敗しました。", slot);
    ShowSkinError(text);
    return 1;
}

// The value of a key that a skin must have; false, after the message, when it is missing.
static bool ReadRequiredValue(LPCWSTR section, LPCWSTR key, LPWSTR value, LPCWSTR skinPath)
{
    ReadSkinValue(section, key, AbsentValue, value, skinPath);
    if (!IsAbsent(value)) return true;
    ShowMissingKey(section, key);
    return false;
}

static bool ReadCells(LPCWSTR skinPath)
{
    // Numbers a value leaves out keep those of the previous entry, and are 0 for CHAR001.
    int x = 0, y = 0, width = 0, height = 0;
    WCHAR key[16], value[MAX_PATH];
    for (int n = 1; n <= CellCount; n++) {
        wsprintfW(key, u"CHAR%03d", n);
        if (!ReadRequiredValue(u"CHARACTER", key, value, skinPath)) return false;
        swscanf(value, u"%d,%d,%d,%d", &x, &y, &width, &height);
        DefineCell(n - 1, SlotParts, x, y, width, height);
    }
    return true;
}

static bool ReadAreas(LPCWSTR skinPath)
{
    WCHAR key[16], value[MAX_PATH];
    for (int n = 1; n <= AreaCount; n++) {
        wsprintfW(key, u"AREA%02d", n);
        if (!ReadRequiredValue(u"AREA", key, value, skinPath)) return false;
        Area& area = SkinLayout[n - 1];
        swscanf(value, u"%d,%d,%d,%d", &area.x, &area.y, &area.width, &area.height);
    }
    return true;
}

static void ReadSounds(LPCWSTR skinPath, LPCWSTR folder, LPCWSTR skinName)
{
    WCHAR key[16], value[MAX_PATH];
    for (int n = 1; n <= SoundCount; n++) {
        wsprintfW(key, u"SOUND%02d", n);
        ReadSkinValue(u"SOUND", key, AbsentValue, value, skinPath);
        // A sound whose full path would not fit stays silent.
        if (IsAbsent(value) || !SkinFilePath(folder, skinName, value, SoundBank[n - 1])) SoundBank[n - 1][0] = 0;
    }
}

static_assert(SkinNamedFileCount == 2 + SoundCount, "two images and the sounds");

// Adds the full path of the file that a key names, when the key is there and the path fits.
static int AddNamedFile(LPCWSTR skinPath, LPCWSTR section, LPCWSTR key, LPWSTR path)
{
    WCHAR value[MAX_PATH];
    ReadSkinValue(section, key, AbsentValue, value, skinPath);
    return !IsAbsent(value) && SkinNamedFilePath(skinPath, value, path) ? 1 : 0;
}

bool SkinNamedFilePath(LPCWSTR skinPath, LPCWSTR fileName, LPWSTR path)
{
    WCHAR skinName[MAX_PATH], folder[MAX_PATH + 8];
    SkinNameFromPath(skinPath, skinName);
    SkinFilesFolder(skinPath, folder);
    return SkinFilePath(folder, skinName, fileName, path);
}

int SkinNamedFiles(LPCWSTR skinPath, WCHAR paths[][MAX_PATH])
{
    WCHAR key[16];
    int count = AddNamedFile(skinPath, u"FILE", u"BACKIMAGE", paths[0]);
    count += AddNamedFile(skinPath, u"FILE", u"PARTSIMAGE", paths[count]);
    for (int n = 1; n <= SoundCount; n++) {
        wsprintfW(key, u"SOUND%02d", n);
        count += AddNamedFile(skinPath, u"SOUND", key, paths[count]);
    }
    return count;
}

int32_t LoadSkin(LPCWSTR skinPath)
{
    WCHAR skinName[MAX_PATH], backImage[MAX_PATH], partsImage[MAX_PATH], path[MAX_PATH];
    WCHAR folder[MAX_PATH + 8];   // the program's directory may leave no room for "skin\"
    SkinNameFromPath(skinPath, skinName);
    SkinFilesFolder(skinPath, folder);
    ResetSurfaceBank();

    if (!ReadRequiredValue(u"FILE", u"BACKIMAGE", backImage, skinPath)) return 1;
    if (!ReadRequiredValue(u"FILE", u"PARTSIMAGE", partsImage, skinPath)) return 1;
    if (!ReadCells(skinPath)) return 1;
    if (!ReadAreas(skinPath)) return 1;
    ReadSounds(skinPath, folder, skinName);

    if (CreateSurface(SlotComposition, appInstance, mainWindow, nullptr, 0, 0) != 0)
        return StopWithSurface(SlotComposition);
    if (!SkinFilePath(folder, skinName, backImage, path) ||
        CreateSurface(SlotBackground, appInstance, mainWindow, path, 0, 0) != 0)
        return StopWithSurface(SlotBackground);
    if (!SkinFilePath(folder, skinName, partsImage, path) || CreateSurface(SlotParts, appInstance, mainWindow, path, 0, 0) != 0)
        return StopWithSurface(SlotParts);
    if (CreateMask(SlotParts, SlotPartsMask, SKIN_TRANSPARENT_COLOR) != 0) return StopWithSurface(SlotPartsMask);
    PlaySkinSound(SoundSkinLoaded);
    return 0;
}
