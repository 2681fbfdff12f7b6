// What tests and tools may look at inside the emulated device. Not for the program.
#pragma once
#include "platform/pixels.h"
#include "platform/types.h"

#include <string>
#include <vector>

struct InvalidateRecord {
    HWND window;
    bool whole;   // no rectangle: the whole client area
    RECT rect;
};
struct SoundRecord {
    std::u16string path;
    UINT flags;
};

// The client-area picture of a top-level window (its backing surface), or null when the handle
// is not a live top-level window (a child window has none of its own). The window manager owns
// it; GDI draws into it through GetDC.
PixelBuffer* WindowBackingSurface(HWND window);

// Every InvalidateRect call since the last clear, in order.
const std::vector<InvalidateRecord>& InvalidateLog();
void ClearInvalidateLog();
// Every sndPlaySoundW call since the last clear, in order.
const std::vector<SoundRecord>& SoundLog();
void ClearSoundLog();

struct MessageBoxRecord {
    HWND owner;
    std::u16string text;      // as the program gave it
    std::u16string caption;
    UINT type;
    std::u16string shown;     // the text as the box shows it, in the language of the catalogues
};
// Every MessageBoxW shown in the headless host since the last clear, in order.
const std::vector<MessageBoxRecord>& MessageBoxLog();
void ClearMessageBoxLog();
// Registry keys opened and not yet closed.
int OpenRegistryKeyCount();

// Text files larger than this many bytes are refused by _wfopen. A skin file is a few kilobytes
// and a skin load reads it whole 166 times, so this bounds the worst load to about a second
// (16 MiB took ten).
enum { TextFileMaxBytes = 2 * 1024 * 1024 };
// The program's own file as GetModuleFileNameW reports it: hostPath instead of the executable's
// real path; null restores the real one.
void OverrideModuleFileName(const char* hostPath);
// Streams opened by _wfopen and not yet closed.
int OpenWideFileCount();
// Device contexts and bitmaps alive now (the stock bitmap of fresh memory DCs not counted), so
// tests can see that an operation releases what it creates.
int LiveDeviceContexts();
int LiveBitmaps();
