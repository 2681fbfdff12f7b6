// The device's clipboard; its data travels in the memory blocks of memory.h. The SDL host backs
// the clipboard with the desktop's, the headless host with memory (host.h).
// Implemented: Unicode text (CF_UNICODETEXT) only. SetClipboardData hands the text on at once and
// frees its block, which belongs to the clipboard from then on; a block that GetClipboardData
// returns stays valid until CloseClipboard. Left out: other formats, delayed rendering, clipboard
// viewers.
#pragma once
#include "platform/memory.h"
#include "platform/types.h"

#define CF_UNICODETEXT 13

// Only one window at a time has the clipboard open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Clears the clipboard and makes the caller its owner, who may then set data.
BOOL EmptyClipboard();
// text: a block from LocalAlloc holding UTF-16 text up to its terminator (or the block's end).
HANDLE SetClipboardData(UINT format, HANDLE text);
// A block with the clipboard's text and its terminator; null when it holds no text.
HANDLE GetClipboardData(UINT format);
