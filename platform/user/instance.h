// The single-instance rule's lock and socket (instance.cpp), which FindWindowW and
// SetForegroundWindow use to find another running instance of the program and bring it forward.
// Keyed by class and title; the class comes as the window manager's key (upper case), since class
// names ignore case and titles do not.
#pragma once
#include "platform/types.h"

#include <string>

// When another process holds the lock of this class and title, a pseudo window handle standing
// for it. Otherwise null: this process takes the lock and keeps it (or holds it already, or no
// lock can be made here).
HWND FindOtherInstance(const std::u16string& classKey, const std::u16string& title);
// Asks the instance behind a pseudo handle of FindOtherInstance to raise its host window. False
// for any other handle, or when the request cannot be delivered.
bool AskOtherInstanceToRaise(HWND pseudoHandle);

// The window manager tells the lock about top-level windows as they come and go. A window whose
// class and title this process holds the lock of starts listening for other instances' requests;
// each calls onRaiseRequest on the listener's own thread. A window that goes gives up its lock.
void InstanceWindowCreated(HWND window, const std::u16string& classKey, const std::u16string& title,
                           void (*onRaiseRequest)());
void InstanceWindowDestroyed(HWND window);
// Stops listening and gives up every lock this process holds (a fresh device, for tests).
void ReleaseInstanceLocks();
