// Everything a host gives the emulated device, chosen at link time: the SDL2 host (hosts/sdl/,
// the program) or the headless host (hosts/headless/, tests and tools). The platform calls these;
// a host turns its own events into messages through the Deliver* functions of user/input.h and
// shows the screen of user/screen_internals.h.
#pragma once

#include <string>

// Blocks until host input has become messages, or something else for the message loop to do.
// Called by GetMessageW when no message, quit request or paint is waiting; a host presents a
// changed screen before it blocks. False when no input can ever come again: GetMessageW then ends
// the loop with WM_QUIT and exit code 0.
bool HostWaitForInput();
// The screen changed and should be presented when the host next gets to it (never at once: the
// screen is composed lazily, before the host waits).
void HostScreenChanged();
// Brings the host window to the front (another instance of the program asked for it).
void HostRaiseWindow();
// Thread-safe, called from the single-instance listener thread: asks the host to call
// HostRaiseWindow on the thread of the message loop as soon as it gets to it.
void HostPostRaiseRequest();
// Thread-safe, called by the platform's worker threads after they posted a message: makes a
// HostWaitForInput that is waiting return, so the message loop takes the message.
void HostWake();

// The desktop's clipboard (SDL) or one held in memory (headless). Set: false when the text could
// not be stored. Get: false when the clipboard holds no text.
bool HostSetClipboardText(const std::u16string& text);
bool HostGetClipboardText(std::u16string* text);

// Message boxes and sound are the host's too, so each host defines these entry points of the
// device itself:
// - MessageBoxW (dialogs.h), its text and caption in the catalogues' language
//   (kernel/catalogue_internals.h). SDL: the window-based box of ui/message_box.cpp, waiting for a tap.
//   Headless: the text goes to standard error and the box returns IDOK at once, recorded for
//   tests (inspect.h).
// - sndPlaySoundW (sound.h). SDL: the file decoded (wav.h) and played on the audio device.
//   Headless: nothing is played, the call is recorded for tests (inspect.h).
