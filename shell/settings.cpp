// The skin in use and the sound-effects switch, kept in the registry from one run to the next.
#include "engine/app_globals.h"
#include "platform/wince.h"
#include "shell/app_main.h"

static const WCHAR SettingsKey[] = u"SOFTWARE\\Ostrel\\Numbrix";

// A skin file given on the command line is for this run only: the settings keep the skin stored
// before it until a skin is chosen in the skin dialog.
static WCHAR storedSkinFile[MAX_PATH];
static bool skinForThisRun = false;

void UseCommandLineSkin(LPCWSTR skinPath)
{
    skinForThisRun = false;
    commandLineSkin[0] = 0;
    if (!skinPath || skinPath[0] == 0 || wcslen(skinPath) >= MAX_PATH) return;
    wcscpy(storedSkinFile, appSettings.skinFile);
    wcscpy(appSettings.skinFile, skinPath);
    wcscpy(commandLineSkin, skinPath);
    skinForThisRun = true;
}

void KeepChosenSkin()
{
    skinForThisRun = false;
}

static bool OpenSettingsKey(HKEY* key, DWORD* disposition)
{
    return RegCreateKeyExW(HKEY_LOCAL_MACHINE, SettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key,
                           disposition) == ERROR_SUCCESS;
}

// Reads a string value into buffer (MAX_PATH units). The stored text may lack its terminator, so
// it is cut at what was read.
static bool QueryText(HKEY key, LPCWSTR name, WCHAR* buffer)
{
    DWORD size = MAX_PATH * sizeof(WCHAR);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return false;
    DWORD units = size / sizeof(WCHAR);
    buffer[units < MAX_PATH ? units : MAX_PATH - 1] = 0;
    return true;
}

void LoadSettings()
{
    HKEY key;
    DWORD disposition = 0;
    if (!OpenSettingsKey(&key, &disposition)) return;
    if (disposition == REG_OPENED_EXISTING_KEY) {
        WCHAR buffer[MAX_PATH];
        if (QueryText(key, u"SkinFile", buffer)) wcscpy(appSettings.skinFile, buffer);
        if (QueryText(key, u"SEflg", buffer)) swscanf(buffer, u"%d", &appSettings.soundEffects);
    }
    RegCloseKey(key);
}

static void SetText(HKEY key, LPCWSTR name, LPCWSTR text)
{
    DWORD bytes = DWORD((wcslen(text) + 1) * sizeof(WCHAR));
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

void SaveSettings()
{
    HKEY key;
    DWORD disposition = 0;
    if (!OpenSettingsKey(&key, &disposition)) return;
    SetText(key, u"SkinFile", skinForThisRun ? storedSkinFile : appSettings.skinFile);
    WCHAR number[MAX_PATH];
    wsprintfW(number, u"%d", appSettings.soundEffects);
    SetText(key, u"SEflg", number);
    RegCloseKey(key);
}
