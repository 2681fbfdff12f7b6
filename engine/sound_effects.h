// The skin's nine sounds, one per kind of event, played asynchronously when sound effects are on.
#pragma once
#include "platform/types.h"

enum SoundId : int32_t {
    SoundSkinLoaded = 0,
    SoundDigit = 1,
    SoundMode = 2,
    SoundClearAll = 3,
    SoundClearEntry = 4,
    SoundBackspace = 5,
    SoundOperator = 6,
    SoundEquals = 7,
    SoundExit = 8,
    SoundCount = 9,
};

// Full paths filled by the skin loader; an empty path means the skin has no sound there.
extern WCHAR SoundBank[SoundCount][MAX_PATH];

void PlaySkinSound(SoundId sound);
