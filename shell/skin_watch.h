// Live reload for skin authors (--watch): the skin file in use and every image and sound it
// names are watched, and each save is loaded over the face at once, with the calculator's state
// kept. A save that breaks the skin keeps the last good face, prints what the skin check finds on
// standard error and shows a red mark in the title bar until a save loads again; no message box
// interrupts the author. Without --watch none of this runs.
#pragma once
#include "platform/types.h"

extern BOOL skinWatchOn;   // set from the command line before the main window is created

// In place of the creation's skin loop: loads appSettings.skinFile as a reload does (a skin that
// does not load leaves the face empty, with the mark, until a save mends it) and starts watching.
void StartSkinWatch();
void StopSkinWatch();
// After the skin-selection dialog loaded a skin: watch that one instead.
void WatchChosenSkin();
// WM_FILECHANGEINFO and the reload request. True when the message was one of them; its result
// is then 0.
bool HandleSkinWatchMessage(UINT message, LPARAM lParam);
