// Sound in the SDL host: each sound is decoded and converted to the audio device's format in full
// (once per file, see ConvertedPcm), and the device's queue is replaced by it. Opening the device is slow (the audio library probes
// the sound servers and the sound cards), so it happens on a thread of its own, and not before
// the first frame is on the screen; a sound asked for until the device is open waits for it, the
// latest replacing an earlier one, as the player would have cut that one off anyway.
#include "platform/host.h"
#include "platform/sound.h"
#include "platform/hosts/sdl/sdl_host.h"

#include "platform/host_paths.h"
#include "platform/wav.h"

#include <SDL.h>

#include <map>
#include <mutex>
#include <sys/stat.h>
#include <string>
#include <utility>

namespace {

enum class DeviceState { Closed, Opening, Open, Missing };

// The message loop's thread, the opening thread and SDL's timer thread share what follows.
std::mutex deviceLock;
DeviceState deviceState = DeviceState::Closed;
SDL_AudioDeviceID device = 0;
AudioFormat deviceFormat{};
bool firstFrameShown = false;
std::u16string waitingSound;   // empty: none
std::u16string startedLast;
// Started and joined by the message loop's thread only. An SDL thread, so that what SDL keeps
// for the thread (its error text) is freed when it ends.
SDL_Thread* opener = nullptr;

// The device is closed after two seconds without sound, so its thread (which runs while the device
// is open, even paused) is gone and an idle calculator uses no CPU; the next sound opens it again.
// A timer on SDL's timer thread watches the queue.
SDL_TimerID drainTimer = 0;
Uint32 quietSince = 0;
constexpr Uint32 QuietBeforeClosing = 2000;

Uint32 CloseWhenQuiet(Uint32 interval, void*)
{
    std::lock_guard<std::mutex> hold(deviceLock);
    if (device == 0) return 0;   // closed when the host stopped
    if (SDL_GetQueuedAudioSize(device) > 0) {
        quietSince = 0;
        return interval;
    }
    Uint32 now = SDL_GetTicks();
    if (quietSince == 0) quietSince = now;
    if (now - quietSince < QuietBeforeClosing) return interval;
    SDL_CloseAudioDevice(device);
    device = 0;
    deviceState = DeviceState::Closed;
    drainTimer = 0;
    return 0;
}

// Sounds converted to the device's format, by file: a key's click is decoded and converted once,
// not at every press of the key. A file is read again when it is no longer the same file, of the
// same size and modification time (a skin's sound saved anew), and all of them when the device
// opens with another format. Kept while the device closes and opens again when quiet.
struct ConvertedSound {
    struct stat file;
    std::vector<uint8_t> pcm;
};
std::map<std::u16string, ConvertedSound> converted;
AudioFormat convertedFor{};
constexpr size_t MaxConvertedBytes = 8 << 20;

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The file's sound in the device's format; null when it does not load. Called with the lock held.
const std::vector<uint8_t>* ConvertedPcm(const std::u16string& sound)
{
    if (convertedFor.frequency != deviceFormat.frequency || convertedFor.sampleFormat != deviceFormat.sampleFormat ||
        convertedFor.channels != deviceFormat.channels) {
        converted.clear();
        convertedFor = deviceFormat;
    }
    struct stat file {};
    if (stat(HostPathFromDevice(sound.c_str()).c_str(), &file) != 0) return nullptr;
    auto found = converted.find(sound);
    if (found != converted.end() && SameFile(found->second.file, file)) return &found->second.pcm;
    std::vector<uint8_t> pcm;
    if (!LoadWavConverted(sound.c_str(), deviceFormat, pcm)) return nullptr;
    size_t kept = pcm.size();
    for (const auto& entry : converted) kept += entry.second.pcm.size();
    if (kept > MaxConvertedBytes) converted.clear();
    ConvertedSound& entry = converted[sound];
    entry = ConvertedSound{file, std::move(pcm)};
    return &entry.pcm;
}

// Replaces what the open device plays by the file's sound. Called with the lock held.
bool PlayOnDevice(const std::u16string& sound)
{
    const std::vector<uint8_t>* found = ConvertedPcm(sound);
    if (!found) return false;
    const std::vector<uint8_t>& pcm = *found;
    SDL_ClearQueuedAudio(device);
    startedLast = sound;
    if (pcm.empty()) return true;
    if (SDL_QueueAudio(device, pcm.data(), Uint32(pcm.size())) != 0) return false;
    quietSince = 0;
    if (!drainTimer) drainTimer = SDL_AddTimer(250, CloseWhenQuiet, nullptr);
    return true;
}

// The opening thread: the default output is opened without the lock, then the sound that waits
// starts on it. When there is no output, that is remembered and every later sound is silent at
// no cost, rather than probing the audio drivers again at each key press.
int OpenDevice(void*)
{
    SDL_AudioDeviceID opened = 0;
    SDL_AudioSpec obtained{};
    if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_TIMER) == 0) {
        SDL_AudioSpec wanted{};
        wanted.freq = 44100;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        // About 12 ms at 44.1 kHz: a key click starts with the press.
        wanted.samples = 512;
        // Whatever the device prefers is taken; every sound is converted to it.
        opened = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
        if (opened == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::lock_guard<std::mutex> hold(deviceLock);
    std::u16string sound;
    sound.swap(waitingSound);
    if (opened == 0) {
        deviceState = DeviceState::Missing;
        return 0;
    }
    device = opened;
    deviceFormat = AudioFormat{obtained.freq, obtained.format, obtained.channels};
    SDL_PauseAudioDevice(device, 0);
    deviceState = DeviceState::Open;
    if (!sound.empty()) PlayOnDevice(sound);
    return 0;
}

// Called with the lock held. An earlier opening thread has finished: the device it opened was
// closed since.
void StartOpening()
{
    if (opener) SDL_WaitThread(opener, nullptr);
    opener = SDL_CreateThread(OpenDevice, "AudioOpener", nullptr);
    deviceState = opener ? DeviceState::Opening : DeviceState::Missing;
}

void FinishOpening()
{
    SDL_Thread* finishing = nullptr;
    {
        std::lock_guard<std::mutex> hold(deviceLock);
        std::swap(finishing, opener);
    }
    if (finishing) SDL_WaitThread(finishing, nullptr);
}

}  // namespace

// Only the asynchronous playing of a file is emulated. A sound still playing is cut off by the
// next one. A missing device or an unplayable file gives silence and FALSE, never an error; a
// sound that waits for the device to open gives TRUE.
BOOL sndPlaySoundW(LPCWSTR sound, UINT flags)
{
    if (flags != (SND_FILENAME | SND_ASYNC)) NotImplemented("sndPlaySoundW with flags other than SND_FILENAME | SND_ASYNC");
    std::lock_guard<std::mutex> hold(deviceLock);
    if (!sound) {
        // No file: the sound still playing, or waiting to, stops, as on Windows.
        waitingSound.clear();
        if (deviceState == DeviceState::Open) SDL_ClearQueuedAudio(device);
        return TRUE;
    }
    switch (deviceState) {
    case DeviceState::Missing: return FALSE;
    case DeviceState::Open: return PlayOnDevice(sound) ? TRUE : FALSE;
    case DeviceState::Opening: break;
    case DeviceState::Closed:
        if (firstFrameShown) StartOpening();
        break;
    }
    waitingSound = sound;
    return TRUE;
}

void SoundFirstFrameShown()
{
    std::lock_guard<std::mutex> hold(deviceLock);
    firstFrameShown = true;
    if (deviceState == DeviceState::Closed && !waitingSound.empty()) StartOpening();
}

void SoundStop()
{
    FinishOpening();
    std::lock_guard<std::mutex> hold(deviceLock);
    if (drainTimer) SDL_RemoveTimer(drainTimer);
    if (device != 0) SDL_CloseAudioDevice(device);
    drainTimer = 0;
    device = 0;
    deviceState = DeviceState::Closed;
    firstFrameShown = false;
    waitingSound.clear();
    startedLast.clear();
    converted.clear();
}

void WaitForAudioDevice()
{
    FinishOpening();
}

std::u16string SoundStartedLast()
{
    std::lock_guard<std::mutex> hold(deviceLock);
    return startedLast;
}
