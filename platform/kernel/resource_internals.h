// The registered resources (resources.cpp), for the platform's own drawing of icons, menus, menu
// bars and accelerators. Each lookup gives null when there is no such resource.
#pragma once
#include "platform/resources.h"

// Resources are found by number only: a name that is a string is no resource of this program.
// False for such a name; else the number in *id.
bool NumericResourceId(LPCWSTR name, UINT* id);

// Of an icon's images, the one whose width is nearest to preferredSize (the larger on a tie).
const ImageResource* FindIconImage(HINSTANCE instance, UINT id, int preferredSize);
// The same for an icon handle from LoadIconW; null for anything else.
const ImageResource* IconHandleImage(HICON icon, int preferredSize);
const ImageResource* FindBitmapImage(HINSTANCE instance, UINT id);
const MenuResource* FindMenu(HINSTANCE instance, UINT id);
const MenuBarResource* FindMenuBar(HINSTANCE instance, UINT id);
const AcceleratorResource* FindAccelerators(HACCEL table);   // table from LoadAcceleratorsW
// The table in the language of the catalogues in use: a copy with their texts, or the table itself.
const ResourceTable* LocalisedResources(const ResourceTable* table);
