// The single-instance lock and socket (instance.cpp), for the window manager.
#pragma once
#include "platform/types.h"

#include <string>

// windows.cpp tells the instance lock about top-level windows as they come and go: the window
// that another instance of the program may look for starts listening for its requests.
void InstanceWindowCreated(HWND window, const std::u16string& className, const std::u16string& title);
void InstanceWindowDestroyed(HWND window);
// Stops listening and gives up every lock this process holds (a fresh device, for tests).
void ReleaseInstanceLocks();
