// Sound of the emulated device: sndPlaySoundW with SND_FILENAME | SND_ASYNC loads a WAV file,
// converts it to the audio device's format and starts it, replacing a sound still playing, and
// returns at once. Without an audio device it is silent, never an error. The headless host only
// records the calls.
#pragma once
#include "platform/types.h"

#define SND_SYNC 0x00000000u
#define SND_ASYNC 0x00000001u
#define SND_FILENAME 0x00020000u

BOOL sndPlaySoundW(LPCWSTR sound, UINT flags);
