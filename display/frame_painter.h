// Draws the calculator face: background, every key in its state, the display panel, the display
// text or the error sign, the operator indicator; composed off-screen and copied to the window in
// one transfer.
#pragma once
#include "platform/types.h"

int32_t PaintFrame();
