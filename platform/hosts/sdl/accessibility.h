// Screen readers on the SDL host: the emulated screen's accessible tree (platform/accessible_tree.h)
// served over AT-SPI through ATK and its bridge, as other toolkits that are not GTK do on Linux.
// It is switched on while the session's accessibility bus says that an assistive technology wants
// it (org.a11y.Status: IsEnabled or ScreenReaderEnabled), never while NO_AT_BRIDGE is set to a
// number other than 0. Until then only the status is watched (libdbus, loaded on the watching
// thread); ATK, its bridge and GLib are loaded the first time it is switched on.
//
// Threads: a thread watches the status (blocked on the bus's socket); a thread of GLib's main loop
// owns every ATK object and serves the bridge. The loop's thread hands that thread the tree it
// built before each wait (PublishAccessibleTree) and never touches ATK; an action asked for over
// AT-SPI reaches the loop as a posted message (desktop/worker_messages.h), and the bridge answers
// once the loop has handled it and published the tree that follows.
#pragma once
#include "platform/accessible_tree.h"

#include <cstdint>
#include <vector>

// After the first frame: starts watching the status. StopAccessibility ends both threads.
void StartAccessibility();
void StopAccessibility();
// True while the tree is served: the host then publishes it before every wait.
bool AccessibilityOn();

// Where the device's screen is on the desktop: the host window's client area at (windowX,
// windowY), the screen drawn at (viewX, viewY) in it, `scale` host pixels to a device pixel.
struct HostPlacement {
    int windowX = 0, windowY = 0, viewX = 0, viewY = 0, scale = 1;
    bool operator==(const HostPlacement&) const = default;
};
void PublishAccessibleTree(std::vector<AccessibleNode> nodes, const HostPlacement& placement, uint64_t actionsDone);

// Between the status watcher and the ATK side: the status turned on or off (watcher's thread).
void SetAccessibilityWanted(bool wanted);
// The watcher alone, for StartAccessibility and StopAccessibility.
void StartStatusWatch();
void StopStatusWatch();
// A value of NO_AT_BRIDGE that keeps the bridge off (null: not set).
bool BridgeForbidden(const char* noAtBridge);
