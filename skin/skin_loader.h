// Reads a skin file: its two images become the background and parts surfaces (with the parts
// mask), its CHAR entries the 112 sprite cells, its AREA entries the 43 areas of SkinLayout and its
// SOUND entries the SoundBank. Stops at the first problem with a message to the user.
#pragma once
#include "platform/types.h"

// The transparent colour of parts images.
#define SKIN_TRANSPARENT_COLOR RGB(100, 100, 100)

// 0 when the skin is loaded, 1 when loading stopped (its message has then been shown).
int32_t LoadSkin(LPCWSTR skinPath);

// Where the loader's messages go: null (the device's way) shows them in a message box owned by
// the main window; otherwise the text is copied there (MAX_PATH units) and nothing is shown.
extern LPWSTR skinMessageSink;

// The skin's name from its file path, into name (MAX_PATH units).
void SkinNameFromPath(LPCWSTR skinPath, LPWSTR name);
// The folder whose NAME\ holds the images and sounds of the skin file at skinPath, ending with a
// backslash, into folder (MAX_PATH + 8 units): the skin directory beside the program ("%sskin\" of
// appDirectory), except for the skin file given on the command line (commandLineSkin), whose
// images and sounds lie in NAME\ of the folder that holds it.
void SkinFilesFolder(LPCWSTR skinPath, LPWSTR folder);
// The full path where LoadSkin reads a file that the skin file at skinPath names, "%s%s\%s" from
// SkinFilesFolder, the skin name and the file name, into path (MAX_PATH units). False when it would
// not fit (it is never cut short: that could name another file).
bool SkinNamedFilePath(LPCWSTR skinPath, LPCWSTR fileName, LPWSTR path);

// The most files a skin names: its background and parts images and nine sounds.
constexpr int SkinNamedFileCount = 11;
// The full paths of the files that the skin file names, as LoadSkin builds them, into paths;
// returns how many. Keys that are absent, and names whose paths would not fit, are left out.
int SkinNamedFiles(LPCWSTR skinPath, WCHAR paths[][MAX_PATH]);
