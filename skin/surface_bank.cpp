#include "skin/surface_bank.h"

#include "platform/wince.h"

namespace {

constexpr SurfaceSlot EmptySlot{nullptr, nullptr, nullptr, 0, 0, NoMaskSlot};
constexpr SpriteCell EmptyCell{0, 0, 0, 0, 0};

}  // namespace

// The tables start in the reset state, so that a mask link read before the first reset is -1
// and not slot 0.
SurfaceSlot SurfaceBank[SurfaceSlotCount] = {EmptySlot, EmptySlot, EmptySlot, EmptySlot,
                                             EmptySlot, EmptySlot, EmptySlot, EmptySlot};
SpriteCell SpriteCells[SpriteCellCount];   // all zero: the reset cell

static bool SlotInRange(int32_t slot)
{
    return slot >= 0 && slot < SurfaceSlotCount;
}

static bool CellInRange(int32_t cell)
{
    return cell >= 0 && cell < SpriteCellCount;
}

// Hands back the previous object, then deletes the DC before the bitmap: should handing back
// fail, deleting the DC still frees the bitmap, which could not be deleted while selected.
static void ReleaseSlot(SurfaceSlot& slot)
{
    if (slot.previousObject && slot.dc) SelectObject(slot.dc, slot.previousObject);
    if (slot.dc) DeleteDC(slot.dc);
    if (slot.bitmap) DeleteObject(slot.bitmap);
    slot.dc = nullptr;
    slot.bitmap = nullptr;
    slot.previousObject = nullptr;
}

static bool SlotHoldsObjects(const SurfaceSlot& slot)
{
    return slot.dc || slot.bitmap || slot.previousObject;
}

// Releases first whatever the bank still holds, so that a reset of a bank that was not
// released loses no handles; on an empty bank this does nothing.
int32_t ResetSurfaceBank()
{
    for (SurfaceSlot& slot : SurfaceBank) {
        ReleaseSlot(slot);
        slot = EmptySlot;
    }
    for (SpriteCell& cell : SpriteCells) cell = EmptyCell;
    return 0;
}

int32_t ReleaseSurfaces()
{
    for (SurfaceSlot& slot : SurfaceBank) ReleaseSlot(slot);
    return 0;
}

// The bitmap of a new surface: blank in the window's format (width 0: of the client area's
// size), else a bitmap resource of the module by number, else a BMP file by path. A numeric name
// is never handed to the file loader, which would read it as a pointer.
static HBITMAP ObtainBitmap(HINSTANCE module, HWND window, HDC windowDc, LPCWSTR bitmapName, int32_t width,
                            int32_t height)
{
    if (!bitmapName) {
        if (width == 0) {
            RECT client;
            if (!GetClientRect(window, &client)) return nullptr;
            int64_t clientWidth = int64_t(client.right) - client.left;
            int64_t clientHeight = int64_t(client.bottom) - client.top;
            if (clientWidth > INT32_MAX || clientHeight > INT32_MAX) return nullptr;
            return CreateCompatibleBitmap(windowDc, int(clientWidth), int(clientHeight));
        }
        return CreateCompatibleBitmap(windowDc, width, height);
    }
    HBITMAP bitmap = nullptr;
    if (IS_INTRESOURCE(bitmapName))
        bitmap = static_cast<HBITMAP>(LoadImageW(module, bitmapName, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!bitmap && !IS_INTRESOURCE(bitmapName)) bitmap = SHLoadDIBitmap(bitmapName);
    return bitmap;
}

// Fills a slot with an off-screen DC, its bitmap and the bitmap's size; on a failure the slot
// keeps what was made so far. The caller hands back the window's DC.
static int32_t FillSurfaceSlot(SurfaceSlot& slot, HINSTANCE module, HWND window, HDC windowDc,
                               LPCWSTR bitmapName, int32_t width, int32_t height)
{
    HDC dc = CreateCompatibleDC(windowDc);
    if (!dc) return 3;
    slot.dc = dc;
    HBITMAP bitmap = ObtainBitmap(module, window, windowDc, bitmapName, width, height);
    if (!bitmap) return 4;
    slot.bitmap = bitmap;
    HGDIOBJ previous = SelectObject(dc, bitmap);
    if (!previous) return 5;
    slot.previousObject = previous;
    BITMAP info;
    if (GetObjectW(bitmap, sizeof info, &info) == 0) return 6;
    slot.width = info.bmWidth;
    slot.height = info.bmHeight;
    return 0;
}

// A slot that still holds objects is released first, so that overwriting it leaks nothing.
int32_t CreateSurface(int32_t slot, HINSTANCE module, HWND window, LPCWSTR bitmapName, int32_t width,
                      int32_t height)
{
    if (!SlotInRange(slot)) return 1;
    HDC windowDc = GetDC(window);
    if (!windowDc) return 2;
    if (SlotHoldsObjects(SurfaceBank[slot])) ReleaseSlot(SurfaceBank[slot]);
    int32_t result = FillSurfaceSlot(SurfaceBank[slot], module, window, windowDc, bitmapName, width, height);
    ReleaseDC(window, windowDc);
    return result;
}

// The mask slot's DC and its monochrome bitmap of w x h.
static int32_t FillMaskSlot(SurfaceSlot& mask, HDC sourceDc, int w, int h)
{
    HDC dc = CreateCompatibleDC(sourceDc);
    if (!dc) return 4;
    mask.dc = dc;
    HBITMAP bitmap = CreateBitmap(w, h, 1, 1, nullptr);
    if (!bitmap) return 5;
    mask.bitmap = bitmap;
    HGDIOBJ previous = SelectObject(dc, bitmap);
    if (!previous) return 6;
    mask.previousObject = previous;
    return 0;
}

// Blackens the source where the mask is 1, through a temporary colour image that is black there
// and white elsewhere. The temporary objects are released on every path.
static int32_t BlackenTransparentPixels(HDC sourceDc, HDC maskDc, int w, int h, COLORREF oldBackground)
{
    int32_t result = 0;
    HDC tempDc = CreateCompatibleDC(sourceDc);
    HBITMAP tempBitmap = nullptr;
    HGDIOBJ tempPrevious = nullptr;
    if (!tempDc) result = 7;
    else if (!(tempBitmap = CreateCompatibleBitmap(sourceDc, w, h))) result = 8;
    else if (!(tempPrevious = SelectObject(tempDc, tempBitmap))) result = 9;
    if (result == 0) {
        BitBlt(tempDc, 0, 0, w, h, maskDc, 0, 0, NOTSRCCOPY);
        if (SetBkColor(sourceDc, oldBackground) == CLR_INVALID) result = 10;
        else BitBlt(sourceDc, 0, 0, w, h, tempDc, 0, 0, SRCAND);
    } else {
        SetBkColor(sourceDc, oldBackground);   // the colour key must not outlive a failure
    }
    if (tempPrevious) SelectObject(tempDc, tempPrevious);
    if (tempBitmap) DeleteObject(tempBitmap);
    if (tempDc) DeleteDC(tempDc);
    return result;
}

int32_t CreateMask(int32_t sourceSlot, int32_t maskSlot, COLORREF transparentColor)
{
    if (!SlotInRange(sourceSlot) || !SlotInRange(maskSlot) || sourceSlot == maskSlot) return 1;
    SurfaceSlot& source = SurfaceBank[sourceSlot];
    SurfaceSlot& mask = SurfaceBank[maskSlot];
    BITMAP info;
    if (GetObjectW(source.bitmap, sizeof info, &info) == 0) return 2;
    const int w = info.bmWidth;
    const int h = info.bmHeight;
    COLORREF oldBackground = SetBkColor(source.dc, transparentColor);
    if (oldBackground == CLR_INVALID) return 3;
    if (SlotHoldsObjects(mask)) ReleaseSlot(mask);
    if (int32_t result = FillMaskSlot(mask, source.dc, w, h); result != 0) {
        SetBkColor(source.dc, oldBackground);   // the colour key must not outlive a failure
        return result;
    }
    // By the colour-to-monochrome rule the mask is 1 exactly where the source has the colour key.
    BitBlt(mask.dc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY);
    int32_t result = BlackenTransparentPixels(source.dc, mask.dc, w, h, oldBackground);
    if (result == 0) source.maskSlot = maskSlot;
    mask.width = w;
    mask.height = h;
    return result;
}

static bool HasMask(const SurfaceSlot& slot)
{
    return SlotInRange(slot.maskSlot);
}

// Opaque: one SRCCOPY. Transparent: the mask with SRCAND keeps the destination where the source
// is transparent (1) and clears it elsewhere (0); the prepared source, black where transparent,
// is then ORed in. A slot without a DC makes the whole transfer draw nothing.
static void Transfer(HDC destDc, int32_t destX, int32_t destY, const SurfaceSlot& source, int32_t sourceX,
                     int32_t sourceY, int32_t width, int32_t height, int32_t transparent)
{
    if (!destDc || !source.dc) return;
    if (!transparent) {
        BitBlt(destDc, destX, destY, width, height, source.dc, sourceX, sourceY, SRCCOPY);
        return;
    }
    const SurfaceSlot& mask = SurfaceBank[source.maskSlot];
    if (!mask.dc) return;
    BitBlt(destDc, destX, destY, width, height, mask.dc, sourceX, sourceY, SRCAND);
    BitBlt(destDc, destX, destY, width, height, source.dc, sourceX, sourceY, SRCPAINT);
}

int32_t BlitSurface(int32_t sourceSlot, int32_t sourceX, int32_t sourceY, int32_t width, int32_t height,
                    int32_t destSlot, int32_t destX, int32_t destY, int32_t transparent)
{
    if (!SlotInRange(sourceSlot) || !SlotInRange(destSlot)) return 1;
    const SurfaceSlot& source = SurfaceBank[sourceSlot];
    if (transparent && !HasMask(source)) return 1;
    if (width == 0) {
        width = source.width;
        height = source.height;
    }
    Transfer(SurfaceBank[destSlot].dc, destX, destY, source, sourceX, sourceY, width, height, transparent);
    return 0;
}

int32_t BlitToWindow(int32_t sourceSlot, int32_t sourceX, int32_t sourceY, int32_t width, int32_t height,
                     HWND window, int32_t destX, int32_t destY, int32_t transparent)
{
    if (!SlotInRange(sourceSlot)) return 1;
    const SurfaceSlot& source = SurfaceBank[sourceSlot];
    if (transparent && !HasMask(source)) return 1;
    if (width == 0) {
        width = source.width;
        height = source.height;
    }
    HDC windowDc = GetDC(window);
    if (!windowDc) return 2;
    Transfer(windowDc, destX, destY, source, sourceX, sourceY, width, height, transparent);
    ReleaseDC(window, windowDc);
    return 0;
}

int32_t DefineCell(int32_t cell, int32_t surface, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!CellInRange(cell) || !SlotInRange(surface)) return 1;
    SpriteCells[cell] = SpriteCell{surface, x, y, width, height};
    return 0;
}

int32_t DrawCell(int32_t cell, int32_t destSlot, int32_t destX, int32_t destY, int32_t transparent)
{
    if (!CellInRange(cell) || !SlotInRange(destSlot)) return 1;
    const SpriteCell& c = SpriteCells[cell];
    BlitSurface(c.surface, c.x, c.y, c.width, c.height, destSlot, destX, destY, transparent);
    return 0;
}

int32_t CellSize(int32_t cell, int32_t* width, int32_t* height)
{
    if (!CellInRange(cell) || !SlotInRange(SpriteCells[cell].surface)) return 1;
    const SpriteCell& c = SpriteCells[cell];
    *width = c.width != 0 ? c.width : SurfaceBank[c.surface].width;
    *height = c.width != 0 ? c.height : SurfaceBank[c.surface].height;
    return 0;
}
