// The device's clipboard and the memory blocks that carry its data. The SDL host backs the
// clipboard with the desktop's, the headless host with memory (host.h).
// Implemented: Unicode text (CF_UNICODETEXT) only. Memory: fixed blocks (LMEM_FIXED, the handle is
// the address; LPTR zero-fills them). SetClipboardData hands the text on at once and frees its
// block, which belongs to the clipboard from then on; a block that GetClipboardData returns stays
// valid until CloseClipboard. Left out: other formats, delayed rendering, clipboard viewers,
// moveable memory.
#pragma once
#include "platform/types.h"

#define CF_UNICODETEXT 13
#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

HLOCAL LocalAlloc(UINT flags, size_t bytes);
// Null on success; the handle itself when it is not a live block.
HLOCAL LocalFree(HLOCAL block);
// The size a live block was allocated with; 0 for anything else.
size_t LocalSize(HLOCAL block);

// Only one window at a time has the clipboard open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Clears the clipboard and makes the caller its owner, who may then set data.
BOOL EmptyClipboard();
// text: a block from LocalAlloc holding UTF-16 text up to its terminator (or the block's end).
HANDLE SetClipboardData(UINT format, HANDLE text);
// A block with the clipboard's text and its terminator; null when it holds no text.
HANDLE GetClipboardData(UINT format);
