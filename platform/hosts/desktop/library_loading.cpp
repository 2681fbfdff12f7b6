// Shared libraries loaded when first needed (see library_loading.h).
#include "platform/hosts/desktop/library_loading.h"

#include <dlfcn.h>

bool LoadLibraryFunctions(const char* soname, std::initializer_list<LibraryFunction> functions)
{
    void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return false;
    bool found = true;
    for (const LibraryFunction& function : functions) {
        *function.slot = dlsym(handle, function.name);
        found = found && *function.slot;
    }
    return found;
}
