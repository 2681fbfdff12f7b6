// Start-up, the persisted settings and the message loop.
#pragma once
#include "platform/types.h"

// The command line holds what the host's options ask of the program, each part only when given,
// with one blank between them: the word "--watch" (watch the skin in use and reload it on every
// save), then the full path of a skin file to use for this run (the rest of the line, blanks and
// all): "", "--watch", "\dir\a b.skn", "--watch \dir\a b.skn".
int AppMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);
void LoadSettings();
void SaveSettings();
// skinPath, when not empty, is a skin file to use for this run instead of the stored one; the
// stored one is saved at exit unless KeepChosenSkin was called.
void UseCommandLineSkin(LPCWSTR skinPath);
// A skin chosen in the skin dialog is loaded: it is the one to keep.
void KeepChosenSkin();
