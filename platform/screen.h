// The screen of the emulated device: 240 x 320 pixels with the shell's title bar across the top
// and the menu bar (SHCreateMenuBar) across the bottom. Hosts show it and take input in its
// coordinates; a top-level window created with CW_USEDEFAULT covers it below the title bar, and
// a main window leaves the menu bar's height free at its bottom.
#pragma once

constexpr int ScreenWidth = 240;
constexpr int ScreenHeight = 320;
constexpr int TitleBarHeight = 26;
constexpr int MenuBarHeight = 26;
