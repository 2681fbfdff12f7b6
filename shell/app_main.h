// Start-up, the persisted settings and the message loop.
#pragma once
#include "platform/types.h"

int AppMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);
void LoadSettings();
void SaveSettings();
