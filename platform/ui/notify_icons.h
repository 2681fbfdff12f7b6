// The notification icons that Shell_NotifyIconW shows (notify_icons.cpp), for the title bar that
// the screen draws.
#pragma once
#include "platform/resources.h"

#include <vector>

constexpr int NotifyIconSize = 16;

// The images of the icons shown now, the first added first (drawn rightmost).
std::vector<const ImageResource*> NotifyIconImages();
