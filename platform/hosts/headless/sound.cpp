// Sound in the headless host: nothing is played; every call is recorded for tests.
#include "platform/host.h"
#include "platform/sound.h"

#include "platform/inspect.h"

namespace {
std::vector<SoundRecord> soundLog;
}

const std::vector<SoundRecord>& SoundLog()
{
    return soundLog;
}

void ClearSoundLog()
{
    soundLog.clear();
}

BOOL sndPlaySoundW(LPCWSTR sound, UINT flags)
{
    soundLog.push_back(SoundRecord{sound ? std::u16string(sound) : std::u16string(), flags});
    return TRUE;
}
