// Start-up, the persisted settings and the message loop.
#pragma once
#include "platform/types.h"

int AppMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);
void LoadSettings();
void SaveSettings();
// The command line, when not empty, is the path of a skin file to use for this run instead of
// the stored one; the stored one is saved at exit unless KeepChosenSkin was called.
void UseCommandLineSkin(LPCWSTR commandLine);
// A skin chosen in the skin dialog is loaded: it is the one to keep.
void KeepChosenSkin();
