// Shared libraries that the desktop hosts load when they first need them, instead of linking them: a
// linked library is loaded, with everything it needs, before the program's main, needed or not.
// A user lists the library's functions in an X-macro and keeps them in a table whose members are
// made with LOADED_FUNCTION_MEMBER and found with LOADED_FUNCTION_SLOT (which names the table
// `table`).
#pragma once
#include <initializer_list>

struct LibraryFunction {
    const char* name;
    void** slot;
};

// Loads the library (kept for the life of the process) and stores each function in its slot;
// false when the library or any of the functions is missing.
bool LoadLibraryFunctions(const char* soname, std::initializer_list<LibraryFunction> functions);

#define LOADED_FUNCTION_MEMBER(name) decltype(&::name) name = nullptr;
#define LOADED_FUNCTION_SLOT(name) LibraryFunction{#name, reinterpret_cast<void**>(&table.name)},
