// The program's resources: strings, icon, accelerators, the Tools menu and its menu bar, the two
// dialog templates and the About picture.
#include "shell/resources.h"

#include "engine/key_table.h"
#include "platform/wince.h"

#include "art_data.inc"

static const StringResource Strings[] = {
    {IdsTitle, u"Numbrix"},
    {IdsClassName, u"NUMBRIX"},
    {IdsTools, u"Tools"},
    {IdsKeyPoint, u"小数点"},
    {IdsKeySign, u"符号反転"},
    {IdsKeyEquals, u"イコール"},
    {IdsKeyClearAll, u"クリア"},
    {IdsKeyClearEntry, u"クリアエントリー"},
    {IdsKeyBackspace, u"バックスペース"},
    {IdsDisplayError, u"エラー"},
    {IdsFirstOperator + 0, u"プラス"},
    {IdsFirstOperator + 1, u"マイナス"},
    {IdsFirstOperator + 2, u"かける"},
    {IdsFirstOperator + 3, u"わる"},
    {IdsFirstPending + 0, u"プラス保留中"},
    {IdsFirstPending + 1, u"マイナス保留中"},
    {IdsFirstPending + 2, u"かける保留中"},
    {IdsFirstPending + 3, u"わる保留中"},
    {IdsFirstMode + Hex, u"16進数"},
    {IdsFirstMode + Dec, u"10進数"},
    {IdsFirstMode + Bin, u"2進数"},
};

static const ImageResource IconImages[] = {
    {32, 32, IconPixels32},
    {16, 16, IconPixels16},
};
static const ImageResource BrokenMarkImage = {16, 16, BrokenMarkPixels16};
static const IconResource Icons[] = {{IdiIcon, IconImages, 2}, {IdiSkinBroken, &BrokenMarkImage, 1}};

static const ImageResource AboutImage = {100, 100, AboutPixels};
static const BitmapResource Bitmaps[] = {{IdbAbout, &AboutImage}};

static const ACCEL AcceleratorEntries[] = {
    {FVIRTKEY | FNOINVERT | FCONTROL, 0x41, IdmAbout},   // Ctrl+A
    {0x80 | FVIRTKEY | FNOINVERT | FCONTROL, 0x51, 1},   // Ctrl+Q, last entry
};
static const AcceleratorResource Accelerators[] = {{IdrAccelerators, AcceleratorEntries, 2}};

static const MenuItemTemplate ToolsItems[] = {
    {u"スキン選択", IdmChooseSkin},
    {nullptr, 0},
    {u"効果音", IdmSoundEffects},
    {nullptr, 0},
    {u"About", IdmAbout},
};
static const MenuTemplate ToolsMenu[] = {{u"Tools", ToolsItems, 5}};
static const MenuResource Menus[] = {{IdrMenu, ToolsMenu, 1}};

// Menu, button count, image (none), command, state (enabled), style (drop-down, automatic size),
// label string, 0, sub-menu index.
static const WORD MenuBarWords[] = {IdrMenu, 1, 0xFFFE, IdmTools, 4, 0x18, IdsTools, 0, 0};
static const MenuBarResource MenuBars[] = {{IdrMenu, MenuBarWords, 9}};

static const DialogItemTemplate SkinItems[] = {
    {0x50A10101, 0, 4, 4, 152, 152, IdcSkinList, u"LISTBOX", u""},
    {0x50010001, 0, 48, 160, 50, 14, 1, u"BUTTON", u"OK"},
    {0x50010000, 0, 104, 160, 50, 14, 2, u"BUTTON", u"キャンセル"},
};
static const DialogTemplate SkinDialog = {0x80C800C0, 0, 0, 0, 160, 179, u"スキン選択", u"ＭＳ ゴシック", 9, SkinItems, 3};

static const DialogItemTemplate AboutItems[] = {
    {0x50000003, 0, 11, 17, 20, 20, 0xFFFF, u"STATIC", MAKEINTRESOURCEW(IdiIcon)},
    {0x50020080, 0, 40, 10, 70, 8, 0xFFFF, u"STATIC", u"Numbrix Version 1.0"},
    {0x50020000, 0, 40, 25, 87, 8, 0xFFFF, u"STATIC", u"© 2026 Numbrix"},
    {0x50020000, 0, 36, 52, 87, 8, 0xFFFF, u"STATIC", u"numbrix.example.org"},
    {0x50020000, 0, 36, 64, 87, 8, 0xFFFF, u"STATIC", u"numbrix@example.org"},
    {0x5000000E, 0x200, 44, 84, 67, 62, 0xFFFF, u"STATIC", MAKEINTRESOURCEW(IdbAbout)},
};
static const DialogTemplate AboutDialog = {0x80C00040, 0x80000000, 0, 0, 156, 154, u"About Numbrix", u"System", 8, AboutItems, 6};

static const DialogResource Dialogs[] = {{IddAbout, &AboutDialog}, {IddSkin, &SkinDialog}};

const ResourceTable ProgramResources = {
    Strings, int(sizeof(Strings) / sizeof(Strings[0])), Icons, 2, Bitmaps, 1, Accelerators, 1, Menus, 1, MenuBars, 1, Dialogs, 2,
};
