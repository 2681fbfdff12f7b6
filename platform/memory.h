// Local memory blocks of the emulated device, as the clipboard's data travels in them.
// Implemented: fixed blocks (LMEM_FIXED, the handle is the address; LPTR zero-fills them), each
// knowing its size. Left out: moveable memory, the other heaps.
#pragma once
#include "platform/types.h"

#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

HLOCAL LocalAlloc(UINT flags, size_t bytes);
// Null on success; the handle itself when it is not a live block.
HLOCAL LocalFree(HLOCAL block);
// The size a live block was allocated with; 0 for anything else.
size_t LocalSize(HLOCAL block);
