// Device contexts, bitmaps and BitBlt of the emulated device. Every handle is looked up in a
// table before use, so a null, stale or foreign handle is refused and never dereferenced; handle
// values are never reused, so a deleted object stays dead.
#include "platform/gdi.h"

#include "platform/faults.h"
#include "platform/gdi/gdi_internals.h"
#include "platform/inspect.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <unordered_map>
#include <utility>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr uint32_t ColourBits = 0x00FFFFFF;

// A bitmap is a plain pixel array: colour pixels 0x00RRGGBB, or monochrome pixels 0 and 1, eight
// to a byte, the leftmost in the highest bit, each row starting on a byte (a skin's masks are as
// large as its pictures: at one byte a pixel they would take as much memory again).
struct Bitmap {
    int width = 0;
    int height = 0;
    bool mono = false;
    bool stock = false;   // the shared 1 x 1 bitmap of fresh memory DCs: never deleted
    std::vector<uint32_t> colour;
    std::vector<uint8_t> bits;
    HDC selectedInto = nullptr;
};

// A surface DC draws into a picture that its owner keeps (GetDC: a window's backing surface); a
// memory DC into its selected bitmap.
struct DeviceContext {
    const void* owner = nullptr;   // set for a surface DC only
    std::function<PixelBuffer*()> surface;
    std::function<void(const RECT&)> changed;
    HBITMAP bitmap = nullptr;
    COLORREF background = White;
    COLORREF text = Black;
};

// Node-based maps: references to their values stay valid while other entries come and go.
std::unordered_map<uintptr_t, DeviceContext> contexts;
std::unordered_map<uintptr_t, Bitmap> bitmaps;
uintptr_t lastHandle = 0x40000000;
HBITMAP stockBitmap = nullptr;

uintptr_t NewHandle()
{
    return lastHandle += 4;
}

uintptr_t Key(const void* handle)
{
    return reinterpret_cast<uintptr_t>(handle);
}

DeviceContext* FindContext(HDC dc)
{
    auto it = contexts.find(Key(dc));
    return it == contexts.end() ? nullptr : &it->second;
}

Bitmap* FindBitmap(const void* object)
{
    auto it = bitmaps.find(Key(object));
    return it == bitmaps.end() ? nullptr : &it->second;
}

HBITMAP AddBitmap(Bitmap bitmap)
{
    uintptr_t handle = NewHandle();
    bitmaps.emplace(handle, std::move(bitmap));
    return reinterpret_cast<HBITMAP>(handle);
}

HBITMAP StockBitmap()
{
    if (!stockBitmap) {
        Bitmap bitmap;
        bitmap.width = bitmap.height = 1;
        bitmap.mono = bitmap.stock = true;
        bitmap.bits.assign(1, 0);
        stockBitmap = AddBitmap(std::move(bitmap));
    }
    return stockBitmap;
}

size_t MonoStride(int width)
{
    return (size_t(width) + 7) / 8;
}

bool SizeAllowed(int width, int height)
{
    return width > 0 && height > 0 && int64_t(width) * height <= MaxBitmapPixels;
}

// A blank bitmap; zero width or height gives the stock 1 x 1 monochrome bitmap, as on Windows.
HBITMAP NewBitmap(int width, int height, bool mono)
{
    if (width == 0 || height == 0) return StockBitmap();
    if (!SizeAllowed(width, height)) return nullptr;
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.mono = mono;
    if (mono) bitmap.bits.assign(MonoStride(width) * size_t(height), 0);
    else bitmap.colour.assign(size_t(width) * size_t(height), 0);
    return AddBitmap(std::move(bitmap));
}

// The one place where the two colour forms meet: COLORREF is 0x00BBGGRR, pixels are 0x00RRGGBB.
uint32_t PixelFromColorref(COLORREF color)
{
    return uint32_t(GetRValue(color)) << 16 | uint32_t(GetGValue(color)) << 8 | GetBValue(color);
}

COLORREF ColorrefFromPixel(uint32_t pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Colour to monochrome: a pixel equal to the source DC's background colour becomes 1, all
// others 0.
uint8_t MonoFromColour(uint32_t pixel, uint32_t sourceBackground)
{
    return pixel == sourceBackground ? 1 : 0;
}

// Monochrome to colour: 1 takes the destination DC's background colour, 0 its text colour.
uint32_t ColourFromMono(uint8_t bit, uint32_t destBackground, uint32_t destText)
{
    return bit ? destBackground : destText;
}

// What a DC draws on, seen as rows of pixels of one format. Exactly one of colour and bits is set.
struct Surface {
    int width = 0;
    int height = 0;
    uint32_t* colour = nullptr;
    uint8_t* bits = nullptr;
    const void* identity = nullptr;   // the same picture gives the same identity
};

bool SurfaceOf(const DeviceContext& dc, Surface* surface)
{
    if (dc.owner) {
        PixelBuffer* buffer = dc.surface();
        if (!buffer || buffer->pixels.size() != size_t(buffer->width) * size_t(buffer->height)) return false;
        *surface = Surface{buffer->width, buffer->height, buffer->pixels.data(), nullptr, buffer};
        return true;
    }
    Bitmap* bitmap = FindBitmap(dc.bitmap);
    if (!bitmap) return false;
    if (bitmap->mono) *surface = Surface{bitmap->width, bitmap->height, nullptr, bitmap->bits.data(), bitmap};
    else *surface = Surface{bitmap->width, bitmap->height, bitmap->colour.data(), nullptr, bitmap};
    return true;
}

uint32_t* Row(const Surface& surface, int y)
{
    return surface.colour + size_t(y) * size_t(surface.width);
}

uint8_t* MonoRow(const Surface& surface, int y)
{
    return surface.bits + size_t(y) * MonoStride(surface.width);
}

uint8_t MonoPixel(const uint8_t* row, int x)
{
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

void SetMonoPixel(uint8_t* row, int x, uint8_t bit)
{
    uint8_t mask = uint8_t(0x80 >> (x % 8));
    row[x / 8] = bit ? uint8_t(row[x / 8] | mask) : uint8_t(row[x / 8] & ~mask);
}

// `length` pixels of a row from column x, to work on: a colour row in place; a monochrome row
// unpacked into `scratch`, one byte a pixel (StoreRow packs it back).
template <typename T>
T* RowPixels(const Surface& surface, int y, int x, int length, std::vector<T>& scratch);
template <>
uint32_t* RowPixels<uint32_t>(const Surface& surface, int y, int x, int, std::vector<uint32_t>&)
{
    return Row(surface, y) + x;
}
// Whole bytes are unpacked eight pixels at a time, through a table.
template <>
uint8_t* RowPixels<uint8_t>(const Surface& surface, int y, int x, int length, std::vector<uint8_t>& scratch)
{
    static const auto unpacked = [] {
        std::array<std::array<uint8_t, 8>, 256> table{};
        for (int byte = 0; byte < 256; ++byte)
            for (int k = 0; k < 8; ++k) table[size_t(byte)][size_t(k)] = uint8_t((byte >> (7 - k)) & 1);
        return table;
    }();
    const uint8_t* row = MonoRow(surface, y) + x / 8;
    const size_t offset = size_t(x % 8), bytes = (offset + size_t(length) + 7) / 8;
    scratch.resize(bytes * 8);
    for (size_t i = 0; i < bytes; ++i) std::memcpy(&scratch[i * 8], unpacked[row[i]].data(), 8);
    return scratch.data() + offset;
}

template <typename T>
void StoreRow(const Surface&, int, int, int, const std::vector<T>&)
{
}
// `pixels` as RowPixels left it: the row's pixels from column x after the first x % 8.
template <>
void StoreRow<uint8_t>(const Surface& surface, int y, int x, int length, const std::vector<uint8_t>& pixels)
{
    uint8_t* row = MonoRow(surface, y);
    const uint8_t* from = pixels.data() + x % 8;
    for (int i = 0; i < length;) {
        int at = x + i;
        if (at % 8 == 0 && i + 8 <= length) {
            uint8_t byte = 0;
            for (int k = 0; k < 8; ++k) byte = uint8_t(byte << 1 | from[i + k]);
            row[at / 8] = byte;
            i += 8;
        } else {
            SetMonoPixel(row, at, from[i]);
            ++i;
        }
    }
}

// One axis of a transfer after clipping to both pictures.
struct Span {
    int dest = 0;
    int source = 0;
    int length = 0;
};

// 64-bit arithmetic: any int position and extent clip without overflow.
bool ClipAxis(int dest, int source, int length, int destSize, int sourceSize, Span* span)
{
    if (length <= 0) return false;
    int64_t first = std::max<int64_t>({0, -int64_t(dest), -int64_t(source)});
    int64_t last = std::min<int64_t>({length, int64_t(destSize) - dest, int64_t(sourceSize) - source});
    if (last <= first) return false;
    *span = Span{int(dest + first), int(source + first), int(last - first)};
    return true;
}

struct Transfer {
    Surface dest;
    Surface source;
    Span x;
    Span y;
};

// A plain copy between colour pictures is a row-by-row memory copy.
void CopyRows(const Transfer& t)
{
    for (int row = 0; row < t.y.length; ++row)
        std::memcpy(Row(t.dest, t.y.dest + row) + t.x.dest, Row(t.source, t.y.source + row) + t.x.source,
                    size_t(t.x.length) * sizeof(uint32_t));
}

// A plain copy into a surface that others look at: only the rows' changed columns are written,
// and returned as rectangles of the destination, so that what shows the surface updates no more.
std::vector<RECT> CopyChangedRows(const Transfer& t)
{
    std::vector<RECT> changed;
    const int length = t.x.length;
    for (int row = 0; row < t.y.length; ++row) {
        uint32_t* dest = Row(t.dest, t.y.dest + row) + t.x.dest;
        const uint32_t* source = Row(t.source, t.y.source + row) + t.x.source;
        if (std::memcmp(dest, source, size_t(length) * sizeof *dest) == 0) continue;
        int left = 0, right = length;
        while (dest[left] == source[left]) ++left;
        while (dest[right - 1] == source[right - 1]) --right;
        std::memcpy(dest + left, source + left, size_t(right - left) * sizeof *dest);
        AddChangedRow(&changed, t.y.dest + row, t.x.dest + left, t.x.dest + right);
    }
    return changed;
}

template <typename D, typename S, typename Convert, typename Combine>
void TransferRows(const Transfer& t, Convert convert, Combine combine)
{
    const int length = t.x.length;   // a local: the stores below cannot change it
    std::vector<D> destRow;
    std::vector<S> sourceRow;
    for (int row = 0; row < t.y.length; ++row) {
        D* dest = RowPixels<D>(t.dest, t.y.dest + row, t.x.dest, length, destRow);
        const S* source = RowPixels<S>(t.source, t.y.source + row, t.x.source, length, sourceRow);
        for (int i = 0; i < length; ++i) dest[i] = combine(dest[i], convert(source[i]));
        StoreRow<D>(t.dest, t.y.dest + row, t.x.dest, length, destRow);
    }
}

// The four raster operations on pixels already in the destination's format; `ones` is a pixel
// of that format with every bit set.
template <typename D, typename S, typename Convert>
void TransferWithRop(const Transfer& t, DWORD rop, Convert convert, D ones)
{
    switch (rop) {
    case SRCCOPY: TransferRows<D, S>(t, convert, [](D, D s) { return s; }); break;
    case SRCAND: TransferRows<D, S>(t, convert, [](D d, D s) { return D(d & s); }); break;
    case SRCPAINT: TransferRows<D, S>(t, convert, [](D d, D s) { return D(d | s); }); break;
    case NOTSRCCOPY: TransferRows<D, S>(t, convert, [ones](D, D s) { return D(~s & ones); }); break;
    }
}

void TransferPixels(const Transfer& t, DWORD rop, const DeviceContext& dest, const DeviceContext& source)
{
    if (t.dest.colour && t.source.colour && rop == SRCCOPY) {
        CopyRows(t);
    } else if (t.dest.colour && t.source.colour) {
        TransferWithRop<uint32_t, uint32_t>(t, rop, [](uint32_t s) { return s; }, ColourBits);
    } else if (t.dest.bits && t.source.bits) {
        TransferWithRop<uint8_t, uint8_t>(t, rop, [](uint8_t s) { return s; }, uint8_t(1));
    } else if (t.dest.bits) {
        uint32_t background = PixelFromColorref(source.background);
        TransferWithRop<uint8_t, uint32_t>(
            t, rop, [background](uint32_t s) { return MonoFromColour(s, background); }, uint8_t(1));
    } else {
        uint32_t background = PixelFromColorref(dest.background);
        uint32_t text = PixelFromColorref(dest.text);
        TransferWithRop<uint32_t, uint8_t>(
            t, rop, [background, text](uint8_t s) { return ColourFromMono(s, background, text); }, ColourBits);
    }
}

// A transfer within one picture whose rectangles overlap reads a copy of the source, so that
// no pixel is read after it was written.
void TransferFromCopy(Transfer t, DWORD rop, const DeviceContext& dest, const DeviceContext& source)
{
    std::vector<uint32_t> colour;
    std::vector<uint8_t> bits;
    Surface copy{t.x.length, t.y.length, nullptr, nullptr, nullptr};
    if (t.source.colour) {
        colour.resize(size_t(copy.width) * size_t(copy.height));
        copy.colour = colour.data();
        for (int row = 0; row < copy.height; ++row)
            std::memcpy(Row(copy, row), Row(t.source, t.y.source + row) + t.x.source,
                        size_t(copy.width) * sizeof(uint32_t));
    } else {
        bits.resize(MonoStride(copy.width) * size_t(copy.height));
        copy.bits = bits.data();
        for (int row = 0; row < copy.height; ++row)
            for (int x = 0; x < copy.width; ++x)
                SetMonoPixel(MonoRow(copy, row), x, MonoPixel(MonoRow(t.source, t.y.source + row), t.x.source + x));
    }
    t.source = copy;
    t.x.source = 0;
    t.y.source = 0;
    TransferPixels(t, rop, dest, source);
}

bool Overlaps(const Transfer& t)
{
    return t.dest.identity == t.source.identity && t.x.dest < t.x.source + t.x.length &&
           t.x.source < t.x.dest + t.x.length && t.y.dest < t.y.source + t.y.length &&
           t.y.source < t.y.dest + t.y.length;
}

}  // namespace

int LiveDeviceContexts()
{
    return int(contexts.size());
}

int LiveBitmaps()
{
    return int(bitmaps.size()) - (stockBitmap ? 1 : 0);
}

HBITMAP CreateColourBitmap(int width, int height, std::vector<uint32_t> pixels)
{
    if (!SizeAllowed(width, height) || pixels.size() != size_t(width) * size_t(height)) return nullptr;
    for (uint32_t& pixel : pixels) pixel &= ColourBits;
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.colour = std::move(pixels);
    return AddBitmap(std::move(bitmap));
}

HDC CreateSurfaceDC(const void* owner, std::function<PixelBuffer*()> surface,
                    std::function<void(const RECT&)> changed)
{
    uintptr_t handle = NewHandle();
    contexts.emplace(handle, DeviceContext{owner, std::move(surface), std::move(changed), nullptr, White, Black});
    return reinterpret_cast<HDC>(handle);
}

bool DeleteSurfaceDC(HDC dc, const void* owner)
{
    DeviceContext* context = FindContext(dc);
    if (!context || !context->owner || context->owner != owner) return false;
    contexts.erase(Key(dc));
    return true;
}

HDC CreateCompatibleDC(HDC dc)
{
    if (ShouldFail("CreateCompatibleDC")) return nullptr;
    if (dc && !FindContext(dc)) return nullptr;
    uintptr_t handle = NewHandle();
    contexts.emplace(handle, DeviceContext{nullptr, nullptr, nullptr, StockBitmap(), White, Black});
    return reinterpret_cast<HDC>(handle);
}

// Windows' rule: the screen's colour format for a window (surface) DC, the format of the selected
// bitmap for a memory DC (so monochrome for a fresh one).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    if (ShouldFail("CreateCompatibleBitmap")) return nullptr;
    DeviceContext* context = FindContext(dc);
    if (!context || width < 0 || height < 0) return nullptr;
    bool mono = false;
    if (!context->owner) {
        Bitmap* selected = FindBitmap(context->bitmap);
        mono = selected && selected->mono;
    }
    return NewBitmap(width, height, mono);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (planes != 1 || bitsPerPixel != 1 || bits)
        NotImplemented("CreateBitmap other than one plane, one bit per pixel, no initial bits");
    if (ShouldFail("CreateBitmap")) return nullptr;
    if (width < 0 || height < 0) return nullptr;
    return NewBitmap(width, height, true);
}

// Only bitmaps can be selected, only into memory DCs, and a bitmap into one DC at a time.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    if (ShouldFail("SelectObject")) return nullptr;
    DeviceContext* context = FindContext(dc);
    Bitmap* bitmap = FindBitmap(object);
    if (!context || context->owner || !bitmap) return nullptr;
    if (!bitmap->stock && bitmap->selectedInto && bitmap->selectedInto != dc) return nullptr;
    HBITMAP previous = context->bitmap;
    if (Bitmap* old = FindBitmap(previous); old && !old->stock) old->selectedInto = nullptr;
    if (!bitmap->stock) bitmap->selectedInto = dc;
    context->bitmap = static_cast<HBITMAP>(object);
    return previous;
}

// A bitmap still selected into a DC is refused, as on Windows; the stock bitmap is never deleted.
BOOL DeleteObject(HGDIOBJ object)
{
    if (ShouldFail("DeleteObject")) return FALSE;
    Bitmap* bitmap = FindBitmap(object);
    if (!bitmap || bitmap->selectedInto) return FALSE;
    if (!bitmap->stock) bitmaps.erase(Key(object));
    return TRUE;
}

// Deleting a memory DC frees the bitmap selected into it (the bitmap itself stays).
BOOL DeleteDC(HDC dc)
{
    if (ShouldFail("DeleteDC")) return FALSE;
    DeviceContext* context = FindContext(dc);
    if (!context || context->owner) return FALSE;
    if (Bitmap* bitmap = FindBitmap(context->bitmap); bitmap && !bitmap->stock) bitmap->selectedInto = nullptr;
    contexts.erase(Key(dc));
    return TRUE;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer)
{
    if (ShouldFail("GetObjectW")) return 0;
    Bitmap* bitmap = FindBitmap(object);
    if (!bitmap) return 0;
    if (!buffer) return int(sizeof(BITMAP));
    if (size < int(sizeof(BITMAP))) return 0;
    BITMAP info{};
    info.bmWidth = bitmap->width;
    info.bmHeight = bitmap->height;
    info.bmWidthBytes = bitmap->mono ? (bitmap->width + 15) / 16 * 2 : bitmap->width * 4;
    info.bmPlanes = 1;
    info.bmBitsPixel = bitmap->mono ? 1 : 32;
    info.bmBits = nullptr;   // device-dependent bitmaps do not show their bits
    std::memcpy(buffer, &info, sizeof info);
    return int(sizeof(BITMAP));
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    if (ShouldFail("SetBkColor")) return CLR_INVALID;
    DeviceContext* context = FindContext(dc);
    if (!context) return CLR_INVALID;
    return std::exchange(context->background, color & ColourBits);
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    if (ShouldFail("SetTextColor")) return CLR_INVALID;
    DeviceContext* context = FindContext(dc);
    if (!context) return CLR_INVALID;
    return std::exchange(context->text, color & ColourBits);
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    if (ShouldFail("GetPixel")) return CLR_INVALID;
    DeviceContext* context = FindContext(dc);
    Surface surface;
    if (!context || !SurfaceOf(*context, &surface)) return CLR_INVALID;
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) return CLR_INVALID;
    if (surface.bits) return MonoPixel(MonoRow(surface, y), x) ? White : Black;
    return ColorrefFromPixel(Row(surface, y)[x]);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop)
{
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT && rop != NOTSRCCOPY)
        NotImplemented("BitBlt with a raster operation other than SRCCOPY, SRCAND, SRCPAINT, NOTSRCCOPY");
    if (ShouldFail("BitBlt")) return FALSE;
    DeviceContext* destContext = FindContext(dest);
    DeviceContext* sourceContext = FindContext(source);
    if (!destContext || !sourceContext) return FALSE;
    Transfer t;
    if (!SurfaceOf(*destContext, &t.dest) || !SurfaceOf(*sourceContext, &t.source)) return FALSE;
    if (!ClipAxis(x, sourceX, width, t.dest.width, t.source.width, &t.x) ||
        !ClipAxis(y, sourceY, height, t.dest.height, t.source.height, &t.y))
        return TRUE;
    if (destContext->owner && rop == SRCCOPY && t.source.colour && !Overlaps(t)) {
        for (const RECT& area : CopyChangedRows(t)) destContext->changed(area);
        return TRUE;
    }
    if (Overlaps(t)) TransferFromCopy(t, rop, *destContext, *sourceContext);
    else TransferPixels(t, rop, *destContext, *sourceContext);
    if (destContext->owner)
        destContext->changed(RECT{t.x.dest, t.y.dest, t.x.dest + t.x.length, t.y.dest + t.y.length});
    return TRUE;
}

void AddChangedRow(std::vector<RECT>* changed, int y, int left, int right)
{
    RECT* run = changed->empty() || changed->back().bottom != y ? nullptr : &changed->back();
    if (!run) {
        changed->push_back(RECT{left, y, right, y + 1});
        return;
    }
    run->left = std::min<LONG>(run->left, left);
    run->right = std::max<LONG>(run->right, right);
    run->bottom = y + 1;
}
