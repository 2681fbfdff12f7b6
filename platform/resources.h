// The program's resources, handed to the platform as data by the program (RegisterResources):
// strings, icons, accelerator tables, menus, menu-bar definitions, dialog templates and bitmaps,
// each found by its numeric identifier and read through the usual Windows calls.
#pragma once
#include "platform/types.h"

#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)

#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

// Controls and dialogs are described as data, in the order and units of a dialog template.
struct DialogItemTemplate {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    WORD id;
    LPCWSTR className;    // u"LISTBOX", u"BUTTON" or u"STATIC"
    LPCWSTR text;         // caption; for SS_ICON and SS_BITMAP a resource number via MAKEINTRESOURCEW
};
struct DialogTemplate {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    LPCWSTR caption;
    LPCWSTR fontName;
    WORD pointSize;
    const DialogItemTemplate* items;
    int itemCount;
};
typedef const DialogTemplate* LPCDLGTEMPLATEW;

struct MenuItemTemplate {
    LPCWSTR text;     // null for a separator
    UINT command;
};
struct MenuTemplate {
    LPCWSTR popupText;
    const MenuItemTemplate* items;
    int itemCount;
};

// A bitmap or icon resource as 32-bit pixels, 0x00RRGGBB, top-down rows.
struct ImageResource {
    int width;
    int height;
    const uint32_t* pixels;
};

struct StringResource { UINT id; LPCWSTR text; };
struct IconResource { UINT id; const ImageResource* images; int imageCount; };
struct BitmapResource { UINT id; const ImageResource* image; };
struct AcceleratorResource { UINT id; const ACCEL* entries; int entryCount; };
struct MenuResource { UINT id; const MenuTemplate* popups; int popupCount; };
struct MenuBarResource { UINT id; const WORD* words; int wordCount; };
struct DialogResource { UINT id; const DialogTemplate* dialog; };

struct ResourceTable {
    const StringResource* strings;
    int stringCount;
    const IconResource* icons;
    int iconCount;
    const BitmapResource* bitmaps;
    int bitmapCount;
    const AcceleratorResource* accelerators;
    int acceleratorCount;
    const MenuResource* menus;
    int menuCount;
    const MenuBarResource* menuBars;
    int menuBarCount;
    const DialogResource* dialogs;
    int dialogCount;
};

// Called by the program before anything reads a resource.
void RegisterResources(HINSTANCE instance, const ResourceTable* table);

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
int TranslateAcceleratorW(HWND window, HACCEL table, MSG* msg);
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
