#include "engine/sound_effects.h"

#include "engine/app_globals.h"
#include "platform/sound.h"

WCHAR SoundBank[SoundCount][MAX_PATH];

void PlaySkinSound(SoundId sound)
{
    if (appSettings.soundEffects != 1) return;
    if (SoundBank[sound][0] == 0) return;
    sndPlaySoundW(SoundBank[sound], SND_FILENAME | SND_ASYNC);
}
