// Fixed memory blocks for the clipboard; each knows its size, so a text without its terminator
// is never read past the block's end.
#include "platform/memory.h"

#include "platform/faults.h"

#include <cstdlib>
#include <map>

namespace {

std::map<void*, size_t>& Blocks()
{
    static std::map<void*, size_t> blocks;
    return blocks;
}

}  // namespace

HLOCAL LocalAlloc(UINT flags, size_t bytes)
{
    if (flags & ~UINT(LMEM_ZEROINIT)) NotImplemented("LocalAlloc with moveable memory");
    if (ShouldFail(__func__)) return nullptr;
    void* block = (flags & LMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1) : std::malloc(bytes ? bytes : 1);
    if (block) Blocks()[block] = bytes;
    return block;
}

HLOCAL LocalFree(HLOCAL block)
{
    if (!block) return nullptr;
    if (Blocks().erase(block) == 0) return block;
    std::free(block);
    return nullptr;
}

size_t LocalSize(HLOCAL block)
{
    auto it = Blocks().find(block);
    return it == Blocks().end() ? 0 : it->second;
}
