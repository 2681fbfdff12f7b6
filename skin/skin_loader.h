// Reads a skin file: its two images become the background and parts surfaces (with the parts
// mask), its CHAR entries the 112 sprite cells, its AREA entries the 43 areas of SkinLayout and its
// SOUND entries the SoundBank. Stops at the first problem with a message to the user.
#pragma once
#include "platform/types.h"

// The transparent colour of parts images.
#define SKIN_TRANSPARENT_COLOR RGB(100, 100, 100)

// 0 when the skin is loaded, 1 when loading stopped (its message has then been shown).
int32_t LoadSkin(LPCWSTR skinPath);

// The skin's name from its file path, into name (MAX_PATH units).
void SkinNameFromPath(LPCWSTR skinPath, LPWSTR name);
