// Start and end of the SDL2 host (the program's host window); the rest of its work is the host
// interface of host.h.
#pragma once
#include <string>

// Opens the video subsystem and creates the host window, hidden until its first frame is composed,
// at the requested scale (0: the one kept from the last run, else the automatic one). False, with
// the reason on standard error, when there is no display to show it on.
bool SdlHostStart(int requestedScale = 0);
void SdlHostStop();

struct SDL_Window;
// The host window, for tests of the host; null when the host is not started.
SDL_Window* SdlHostWindow();

// The host's sound player (sound.cpp, behind sndPlaySoundW). The audio device opens on a thread
// of its own once the first frame is on the screen: the host calls SoundFirstFrameShown then.
// SoundStop waits for a device that is opening and closes it, before SDL itself is shut down.
void SoundFirstFrameShown();
void SoundStop();
// For tests of the host: waits until the audio device has opened or failed to; the file of the
// sound the device last started (empty: none).
void WaitForAudioDevice();
std::u16string SoundStartedLast();
