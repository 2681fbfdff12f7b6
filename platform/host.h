// Everything a host gives the emulated device, chosen at link time. The rest of the platform
// needs no window system, no SDL, no fontconfig, no inotify and no thread of its own: all of
// that is a host's, behind the functions below and the device entry points listed here.
//
// Hosts: the SDL2 host (hosts/sdl/, the program) and the headless host (hosts/headless/, tests
// and tools) share the Linux desktop's services of hosts/desktop/; the web host (hosts/web/, the
// program in a page, built with emscripten) has its own. Each host provides:
//
// | What                                  | SDL2 host                 | headless host              | web host                    |
// |---------------------------------------|---------------------------|----------------------------|-----------------------------|
// | HostWaitForInput, HostScreenChanged   | host window, scaled       | injected input (headless.h)| canvas; page events, one at |
// |                                       |                           |                            | a time, awaited (Asyncify)  |
// | HostRaiseWindow, HostPostRaiseRequest | raises the host window    | counts the requests        | nothing (one page, one      |
// |                                       |                           |                            | instance)                   |
// | HostWake                              | an SDL user event         | a condition variable       | nothing (no threads)        |
// | HostTakeWorkerMessages                | desktop/: a locked inbox  | desktop/: the same         | none                        |
// | HostSetClipboardText, ...GetClipboard | the desktop's clipboard   | one held in memory         | the page's copy and paste   |
// |                                       |                           |                            | events                      |
// | MessageBoxW (dialogs.h)               | ui/message_box.cpp's box  | standard error, IDOK       | the same box, and the       |
// |                                       |                           |                            | console                     |
// | sndPlaySoundW (sound.h)               | the audio device          | recorded only (inspect.h)  | Web Audio                   |
// | HostDecodeBmp                         | desktop/: SDL2's decoder  | desktop/: the same         | stb_image (no RLE)          |
// | HostDecodeWav                         | desktop/: SDL2's decoder  | desktop/: the same         | refuses (the browser decodes|
// |                                       |                           |                            | what it plays)              |
// | text (font.h)                         | desktop/: FreeType, font  | desktop/: the same         | the canvas's text           |
// |                                       | found by fontconfig, the  |                            |                             |
// |                                       | first frame's texts kept  |                            |                             |
// | SHChangeNotify* (shell.h)             | desktop/: inotify, thread | desktop/: the same         | none (fails)                |
// | single instance (below)               | desktop/: lock, socket,   | desktop/: the same         | none (no other instance)    |
// |                                       | listener thread           |                            |                             |
//
// Left out: by the SDL2 host, more than one host window and more than one stylus (the left
// button and every touch move the one stylus); by the headless host, any window, audio output
// and the desktop's clipboard (the right column says what stands in for them); by the web host,
// threads, file-change notification and other instances. A host that lacks a service still
// defines its functions with the plain answer: a decoder that refuses every file, no font (text
// is not drawn), no change notification (SHChangeNotifyRegister fails), no other instance
// (FindOtherInstance gives null).
//
// A host turns its own events into messages through the Deliver* functions of user/input.h and
// shows the screen of user/screen_internals.h.
#pragma once
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <vector>

struct AudioFormat;   // wav.h

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
// Thread-safe, called by the host's worker threads after they posted a message: makes a
// HostWaitForInput that is waiting return, so the message loop takes the message.
void HostWake();
// The messages that the host's worker threads posted since the last call (desktop/:
// PostMessagesFromWorker), in order, taken out; TakeNextMessage puts them in the queue.
std::vector<MSG> HostTakeWorkerMessages();

// The desktop's clipboard (SDL) or one held in memory (headless). Set: false when the text could
// not be stored. Get: false when the clipboard holds no text.
bool HostSetClipboardText(const std::u16string& text);
bool HostGetClipboardText(std::u16string* text);

// A BMP file whose headers SHLoadDIBitmap has checked (width `width`), in any form but plain
// 24-bit rows, which gdi converts itself: decoded to 0x00RRGGBB pixels, rows top-down, with its
// height in *height. The file's bytes are freed as soon as they are decoded. False when the
// decoder refuses the file or gives another width.
bool HostDecodeBmp(std::vector<uint8_t>& file, int width, int* height, std::vector<uint32_t>* pixels);
// A WAV file's bytes (chunk sizes already cut to the file) decoded and converted to `target`'s
// format as interleaved samples (wav.h). False for a file the decoder refuses or whose rates are
// beyond audio equipment's, or whose converted sound would be too large.
bool HostDecodeWav(const std::vector<uint8_t>& file, const AudioFormat& target, std::vector<uint8_t>& pcm);

// The single-instance rule (FindWindowW, SetForegroundWindow), keyed by class and title; the
// class comes as the window manager's key (upper case), since class names ignore case and titles
// do not.
// When another process holds the lock of this class and title, a pseudo window handle standing
// for it. Otherwise null: this process takes the lock and keeps it (or holds it already, or no
// lock can be made here).
HWND FindOtherInstance(const std::u16string& classKey, const std::u16string& title);
// Asks the instance behind a pseudo handle of FindOtherInstance to raise its host window. False
// for any other handle, or when the request cannot be delivered.
bool AskOtherInstanceToRaise(HWND pseudoHandle);
// The window manager tells the lock about top-level windows as they come and go. A window whose
// class and title this process holds the lock of starts listening for other instances' requests;
// each calls onRaiseRequest on the listener's own thread. A window that goes gives up its lock.
void InstanceWindowCreated(HWND window, const std::u16string& classKey, const std::u16string& title,
                           void (*onRaiseRequest)());
void InstanceWindowDestroyed(HWND window);
// Stops listening and gives up every lock this process holds (a fresh device, for tests).
void ReleaseInstanceLocks();

// Device entry points that each host defines itself (see the table above for how):
// - MessageBoxW (dialogs.h), its text and caption in the catalogues' language
//   (kernel/catalogue_internals.h).
// - sndPlaySoundW (sound.h).
// - RenderText, TextWidth, TextLineHeight, FontAvailable, PrefetchFont, TextFirstFrameShown,
//   FontOpened, UseFontFile (font.h).
// - SHChangeNotifyRegister, SHChangeNotifyDeregister, SHChangeNotifyFree (shell.h), posting
//   their messages from a worker thread (HostTakeWorkerMessages).
