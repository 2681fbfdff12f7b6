// Start and end of the SDL2 host (the program's host window); the rest of its work is the host
// interface of host.h.
#pragma once

// Opens the video subsystem and creates the host window, hidden until the first frame is drawn,
// at the requested scale (0: the one kept from the last run, else the automatic one). False, with
// the reason on standard error, when there is no display to show it on.
bool SdlHostStart(int requestedScale = 0);
void SdlHostStop();

struct SDL_Window;
// The host window, for tests of the host; null when the host is not started.
SDL_Window* SdlHostWindow();
