// Sound in the web host: the skin's wave file, read by the page from the device's files and
// decoded by the browser (Web Audio), replaces a sound still playing. The page decodes each file
// once while it stays the same. Without audio, or before the first touch or key lets the page
// play, nothing is heard and nothing fails.
#include "platform/host.h"
#include "platform/sound.h"

#include "platform/faults.h"
#include "platform/host_paths.h"

#include <emscripten.h>

namespace {

EM_JS(void, PlayPageSound, (const char* hostPath), { Module.numbrix.playSound(UTF8ToString(hostPath)); });

}  // namespace

// Only the asynchronous playing of a file is emulated; no file stops the sound playing.
BOOL sndPlaySoundW(LPCWSTR sound, UINT flags)
{
    if (flags != (SND_FILENAME | SND_ASYNC)) NotImplemented("sndPlaySoundW with flags other than SND_FILENAME | SND_ASYNC");
    PlayPageSound(sound ? HostPathFromDevice(sound).c_str() : "");
    return TRUE;
}
