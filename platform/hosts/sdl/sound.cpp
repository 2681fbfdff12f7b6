// Sound in the SDL host: the audio device is opened at the first sound, each sound is decoded and
// converted to the device's format in full, and the device's queue is replaced by it.
#include "platform/host.h"

#include "platform/wav.h"

#include <SDL.h>

#include <mutex>

namespace {

enum class DeviceState { NotTried, Open, Missing };

DeviceState deviceState = DeviceState::NotTried;
SDL_AudioDeviceID device = 0;
AudioFormat deviceFormat{};

// The device is closed after two seconds without sound, so its thread (which runs while the device
// is open, even paused) is gone and an idle calculator uses no CPU; the next sound opens it again.
// A timer on SDL's timer thread watches the queue; the lock keeps it and sndPlaySoundW apart.
std::mutex deviceLock;
SDL_TimerID drainTimer = 0;
Uint32 quietSince = 0;
constexpr Uint32 QuietBeforeClosing = 2000;

Uint32 CloseWhenQuiet(Uint32 interval, void*)
{
    std::lock_guard<std::mutex> hold(deviceLock);
    if (SDL_GetQueuedAudioSize(device) > 0) {
        quietSince = 0;
        return interval;
    }
    Uint32 now = SDL_GetTicks();
    if (quietSince == 0) quietSince = now;
    if (now - quietSince < QuietBeforeClosing) return interval;
    SDL_CloseAudioDevice(device);
    device = 0;
    deviceState = DeviceState::NotTried;
    drainTimer = 0;
    return 0;
}

// Opens the default output once. When there is none, that is remembered and every later sound
// is silent at no cost, rather than probing the audio drivers again at each key press.
bool OpenAudioDevice()
{
    if (deviceState != DeviceState::NotTried) return deviceState == DeviceState::Open;
    deviceState = DeviceState::Missing;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    // About 12 ms at 44.1 kHz: a key click starts with the press.
    wanted.samples = 512;
    SDL_AudioSpec obtained{};
    // Whatever the device prefers is taken; every sound is converted to it.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    deviceFormat = AudioFormat{obtained.freq, obtained.format, obtained.channels};
    SDL_PauseAudioDevice(device, 0);
    deviceState = DeviceState::Open;
    return true;
}

}  // namespace

// Only the asynchronous playing of a file is emulated. A sound still playing is cut off by the
// next one. A missing device or an unplayable file gives silence and FALSE, never an error.
BOOL sndPlaySoundW(LPCWSTR sound, UINT flags)
{
    if (flags != (SND_FILENAME | SND_ASYNC)) NotImplemented("sndPlaySoundW with flags other than SND_FILENAME | SND_ASYNC");
    if (!sound) {
        // No file: the sound still playing stops, as on Windows.
        std::lock_guard<std::mutex> hold(deviceLock);
        if (deviceState == DeviceState::Open) SDL_ClearQueuedAudio(device);
        return TRUE;
    }
    std::lock_guard<std::mutex> hold(deviceLock);
    if (!OpenAudioDevice()) return FALSE;
    std::vector<uint8_t> pcm;
    if (!LoadWavConverted(sound, deviceFormat, pcm)) return FALSE;
    SDL_ClearQueuedAudio(device);
    if (pcm.empty()) return TRUE;
    if (SDL_QueueAudio(device, pcm.data(), Uint32(pcm.size())) != 0) return FALSE;
    quietSince = 0;
    if (!drainTimer) drainTimer = SDL_AddTimer(250, CloseWhenQuiet, nullptr);
    return TRUE;
}
