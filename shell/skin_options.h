// The command line of a run, for skin authors: "--skin FILE" starts with that skin file for this
// run (its images and sounds are looked up in skin/NAME/ of the directory above the file's own,
// which stands for the program's directory during the run, as numbrix-skin looks them up), and
// "--watch" reloads the skin in use whenever it is saved (skin_watch.h).
#pragma once
#include "platform/types.h"

// After the stored settings are read. 0, or 2 when the command line is wrong (the problem and
// the usage are then on standard error).
int ApplyCommandLine(LPCWSTR commandLine);
// Before the settings are saved: a skin given with --skin is not kept for the next run, unless
// the skin-selection dialog chose another one since.
void LeaveRunSkinOutOfSettings();
