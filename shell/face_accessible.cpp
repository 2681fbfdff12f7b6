#include "shell/face_accessible.h"

#include "display/display_text.h"
#include "engine/app_globals.h"
#include "engine/calc_state.h"
#include "platform/accessibility.h"
#include "engine/skin_cells.h"
#include "shell/resources.h"
#include "skin/surface_bank.h"

static void LoadText(unsigned id, WCHAR* text, int capacity)
{
    if (LoadStringW(appInstance, id, text, capacity) <= 0) text[0] = 0;
}

static void CopyText(const WCHAR* from, WCHAR* to, int capacity)
{
    int i = 0;
    for (; i < capacity - 1 && from[i]; i++) to[i] = from[i];
    to[i] = 0;
}

void AccessibleDisplayName(WCHAR* name, int capacity)
{
    if (calcState.errorFlag == 1) {
        LoadText(IdsDisplayError, name, capacity);
        return;
    }
    WCHAR text[DisplayTextMax + 1];
    BuildFittedDisplayText(&calcState, text, DisplayPositions);
    CopyText(text, name, capacity);
}

void AccessibleKeyName(int key, WCHAR* name, int capacity)
{
    const int value = KeyTable[key].keyValue;
    if (key < KeySign && key != KeyPoint) {
        const WCHAR digit[2] = {WCHAR(value < 10 ? u'0' + value : u'A' + value - 10), 0};
        CopyText(digit, name, capacity);
        return;
    }
    if (key >= KeyDivide && key <= KeyAdd) {
        LoadText(IdsFirstOperator + value - OpAdd, name, capacity);
        return;
    }
    if (key >= KeyHexMode) {
        LoadText(IdsFirstMode + (key - KeyHexMode), name, capacity);
        return;
    }
    switch (key) {
    case KeyPoint: LoadText(IdsKeyPoint, name, capacity); break;
    case KeySign: LoadText(IdsKeySign, name, capacity); break;
    case KeyEquals: LoadText(IdsKeyEquals, name, capacity); break;
    case KeyClearAll: LoadText(IdsKeyClearAll, name, capacity); break;
    case KeyClearEntry: LoadText(IdsKeyClearEntry, name, capacity); break;
    default: LoadText(IdsKeyBackspace, name, capacity); break;
    }
}

// Item 0 is the display, item k + 1 key k.
static int FaceItemCount()
{
    return KeyCount + 1;
}

static void DescribeFaceItem(int index, AccessibleItem* item)
{
    item->description[0] = 0;
    if (index == 0) {
        // The display is where the panel is drawn, at the panel cell's size.
        const Area& panel = SkinLayout[AreaPanel];
        int32_t width = 0, height = 0;
        CellSize(CellPanel, &width, &height);
        item->rect = RECT{panel.x, panel.y, panel.x + width, panel.y + height};
        item->role = AccessibleLabel;
        AccessibleDisplayName(item->name, 64);
        if (calcState.pendingOp >= OpAdd && calcState.pendingOp <= OpDivide)
            LoadText(IdsFirstPending + calcState.pendingOp - OpAdd, item->description, 64);
        return;
    }
    int key = index - 1;
    const Area& where = SkinLayout[key];
    item->rect = RECT{where.x, where.y, where.x + where.width, where.y + where.height};
    item->role = key >= KeyHexMode ? AccessibleRadioButton : AccessiblePushButton;
    AccessibleKeyName(key, item->name, 64);
    item->enabled = keyStates[key] != Disabled;
    item->checked = key == KeyHexMode + calcState.radixMode;
}

// A tap on the key: its press, then the stylus's release.
static void TapFaceItem(int index)
{
    if (index < 1) return;
    PressKeyIndex(index - 1);
    ReleaseKeys();
}

static const AccessibleFace CalculatorFace = {FaceItemCount, DescribeFaceItem, TapFaceItem};

void DescribeFaceForScreenReaders(HWND window)
{
    SetWindowAccessibleFace(window, &CalculatorFace);
}
