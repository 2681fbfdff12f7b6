// The headless host, for tests and tools: no window system. Input is injected as host events in
// screen coordinates (240 x 320, the title bar at the top), the composed screen is read back as
// pixels or written as an image, and message boxes print instead of waiting.
//
// How the message loop ends without a person: GetMessageW takes posted messages, then the quit
// request, then paints. When there is none of those it asks this host for input:
//   1. injected input waiting: the oldest event becomes messages (one event per wait, so each sees
//      the screen that the events before it left);
//   2. otherwise the idle handler, when one is set, runs; it may inject input, post messages or
//      change state, and returns true to go on waiting;
//   3. otherwise (no handler, or it returned false) WM_CLOSE is posted to the active window, or
//      to the topmost top-level window when none is active, so a program under test always ends
//      by its normal path. A window that is still there after three WM_CLOSE in a row sent this
//      way is destroyed with DestroyWindow the next time (a dialog that ignores closing);
//   4. with no window at all, the quit request is posted with exit code 0.
// The clipboard is a text held in memory, emptied by ResetHeadlessDevice.
// An idle handler that keeps returning true without doing anything keeps the loop running.
#pragma once
#include "platform/pixels.h"
#include "platform/screen.h"
#include "platform/types.h"

#include <functional>
#include <string>

// Injected host events, handled in order when the message loop runs out of messages.
void InjectStylusDown(int x, int y);
void InjectStylusMove(int x, int y);
void InjectStylusUp(int x, int y);
void InjectTap(int x, int y);                        // down, then up at the same point
// A key of the keyboard: its key-down types `text` (what the keyboard layout makes of it, which
// TranslateMessage turns into WM_CHAR); a key-down of a key already down is a repeat. Each virtual
// key is one physical key (its scan code is the virtual key's number).
void InjectKeyDown(UINT virtualKey, const std::u16string& text = u"", bool control = false, bool repeat = false);
void InjectKeyUp(UINT virtualKey, bool control = false);
void InjectKey(UINT virtualKey, bool control = false, const std::u16string& text = u"");   // down, then up
void InjectText(const std::u16string& text);         // typed by no key (an input method)
void InjectCloseRequest();                           // the host window is closed
void InjectMinimizeRequest();                        // the host window is minimized
size_t PendingInput();

void SetIdleHandler(std::function<bool()> handler);   // an empty function removes it
// Blocks until a worker thread of the platform (the file-change watcher) has posted a message
// since the last call, or until timeoutMs pass; true when one has. An idle handler that waits
// with it lets the loop take the message.
bool WaitForWorkerMessages(int timeoutMs);

// Dispatches posted messages, paints, raise requests of other instances and injected input until
// none is left, without the idle
// rule and without accelerator translation (a test that creates its own windows drives them
// with this). Returns false, leaving the quit request pending, when the quit request comes up.
bool RunUntilIdle();

// The composed screen (composed now if it changed).
const PixelBuffer& ScreenPixels();
uint32_t ScreenPixel(int x, int y);
// Images of a picture: PNG and 24-bit BMP. False when the file cannot be written.
bool WritePng(const PixelBuffer& picture, const std::string& path);
bool WriteBmp(const PixelBuffer& picture, const std::string& path);

// How many times the program asked to bring its host window forward.
int RaiseRequests();

// A fresh device: every window destroyed, classes, messages, injected input, the idle handler and
// the counters forgotten.
void ResetHeadlessDevice();
