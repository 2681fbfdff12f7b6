// The program's resources, registered as tables per instance and read in the language of the
// catalogues in use (localised_resources.cpp). Icon, accelerator and dialog handles are the
// addresses of the table's entries; a handle given back (an accelerator table, a dialog) is
// accepted only when it is one of them, so a stray value is never dereferenced.
#include "platform/resources.h"

#include "platform/faults.h"
#include "platform/kernel/resource_internals.h"

#include <cstdlib>
#include <map>

namespace {

std::map<HINSTANCE, const ResourceTable*> registered;

const ResourceTable* TableOf(HINSTANCE instance)
{
    auto it = registered.find(instance);
    return it == registered.end() ? nullptr : LocalisedResources(it->second);
}

template <typename T>
const T* FindById(const T* items, int count, UINT id)
{
    for (int i = 0; items && i < count; ++i)
        if (items[i].id == id) return &items[i];
    return nullptr;
}


template <typename T>
bool IsEntryOf(const T* items, int count, const void* handle)
{
    for (int i = 0; items && i < count; ++i)
        if (static_cast<const void*>(&items[i]) == handle) return true;
    return false;
}

const ImageResource* NearestImage(const IconResource* icon, int preferredSize)
{
    const ImageResource* best = nullptr;
    for (int i = 0; icon && icon->images && i < icon->imageCount; ++i) {
        const ImageResource* image = &icon->images[i];
        if (!best) {
            best = image;
            continue;
        }
        int distance = std::abs(image->width - preferredSize);
        int bestDistance = std::abs(best->width - preferredSize);
        if (distance < bestDistance || (distance == bestDistance && image->width > best->width)) best = image;
    }
    return best;
}

}  // namespace

bool NumericResourceId(LPCWSTR name, UINT* id)
{
    if (!name || !IS_INTRESOURCE(name)) return false;
    *id = LOWORD(name);
    return true;
}

void RegisterResources(HINSTANCE instance, const ResourceTable* table)
{
    if (table) registered[instance] = table;
    else registered.erase(instance);
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax)
{
    if (bufferMax == 0 && buffer) NotImplemented("LoadStringW returning a pointer to the resource (bufferMax 0)");
    if (ShouldFail("LoadStringW") || !buffer || bufferMax < 1) return 0;
    buffer[0] = 0;
    const ResourceTable* table = TableOf(instance);
    const StringResource* string = table ? FindById(table->strings, table->stringCount, id) : nullptr;
    if (!string || !string->text) return 0;
    int length = 0;
    while (length < bufferMax - 1 && string->text[length]) {
        buffer[length] = string->text[length];
        ++length;
    }
    buffer[length] = 0;
    return length;
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name)
{
    if (ShouldFail("LoadIconW")) return nullptr;
    UINT id;
    const ResourceTable* table = TableOf(instance);
    if (!table || !NumericResourceId(name, &id)) return nullptr;
    const IconResource* icon = FindById(table->icons, table->iconCount, id);
    return icon ? reinterpret_cast<HICON>(const_cast<IconResource*>(icon)) : nullptr;
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name)
{
    if (ShouldFail("LoadAcceleratorsW")) return nullptr;
    UINT id;
    const ResourceTable* table = TableOf(instance);
    if (!table || !NumericResourceId(name, &id)) return nullptr;
    const AcceleratorResource* accelerators = FindById(table->accelerators, table->acceleratorCount, id);
    return accelerators ? reinterpret_cast<HACCEL>(const_cast<AcceleratorResource*>(accelerators)) : nullptr;
}

// Only dialog templates are looked up this way; the program reads nothing else raw.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    if (type != RT_DIALOG) NotImplemented("FindResourceW of a type other than RT_DIALOG");
    if (ShouldFail("FindResourceW")) return nullptr;
    UINT id;
    const ResourceTable* table = TableOf(module);
    if (!table || !NumericResourceId(name, &id)) return nullptr;
    const DialogResource* dialog = FindById(table->dialogs, table->dialogCount, id);
    return dialog ? reinterpret_cast<HRSRC>(const_cast<DialogResource*>(dialog)) : nullptr;
}

// The loaded resource of a dialog is its DialogTemplate.
HGLOBAL LoadResource(HMODULE module, HRSRC resource)
{
    if (ShouldFail("LoadResource")) return nullptr;
    const ResourceTable* table = TableOf(module);
    if (!table || !IsEntryOf(table->dialogs, table->dialogCount, resource)) return nullptr;
    const DialogTemplate* dialog = reinterpret_cast<const DialogResource*>(resource)->dialog;
    return const_cast<DialogTemplate*>(dialog);
}

const ImageResource* FindIconImage(HINSTANCE instance, UINT id, int preferredSize)
{
    const ResourceTable* table = TableOf(instance);
    return table ? NearestImage(FindById(table->icons, table->iconCount, id), preferredSize) : nullptr;
}

const ImageResource* IconHandleImage(HICON icon, int preferredSize)
{
    for (const auto& [instance, table] : registered)
        if (IsEntryOf(table->icons, table->iconCount, icon))
            return NearestImage(reinterpret_cast<const IconResource*>(icon), preferredSize);
    return nullptr;
}

const ImageResource* FindBitmapImage(HINSTANCE instance, UINT id)
{
    const ResourceTable* table = TableOf(instance);
    const BitmapResource* bitmap = table ? FindById(table->bitmaps, table->bitmapCount, id) : nullptr;
    return bitmap ? bitmap->image : nullptr;
}

const MenuResource* FindMenu(HINSTANCE instance, UINT id)
{
    const ResourceTable* table = TableOf(instance);
    return table ? FindById(table->menus, table->menuCount, id) : nullptr;
}

const MenuBarResource* FindMenuBar(HINSTANCE instance, UINT id)
{
    const ResourceTable* table = TableOf(instance);
    return table ? FindById(table->menuBars, table->menuBarCount, id) : nullptr;
}

const AcceleratorResource* FindAccelerators(HACCEL handle)
{
    for (const auto& [instance, table] : registered)
        if (IsEntryOf(table->accelerators, table->acceleratorCount, handle))
            return reinterpret_cast<const AcceleratorResource*>(handle);
    return nullptr;
}
