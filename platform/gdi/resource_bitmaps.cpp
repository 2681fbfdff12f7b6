// LoadImageW: a bitmap resource becomes a colour bitmap. The resources themselves are the
// kernel's (resources.cpp); the bitmap made of one is GDI's.
#include "platform/gdi.h"

#include "platform/faults.h"
#include "platform/gdi/gdi_internals.h"
#include "platform/kernel/resource_internals.h"

#include <utility>

// Bitmap resources at their natural size; the program asks for nothing else.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags)
{
    if (type != IMAGE_BITMAP || width != 0 || height != 0 || flags != LR_DEFAULTCOLOR)
        NotImplemented("LoadImageW other than a bitmap resource at its natural size without flags");
    if (ShouldFail("LoadImageW")) return nullptr;
    UINT id;
    if (!NumericResourceId(name, &id)) return nullptr;
    const ImageResource* image = FindBitmapImage(instance, id);
    if (!image || !image->pixels || image->width <= 0 || image->height <= 0 ||
        int64_t(image->width) * image->height > MaxBitmapPixels)
        return nullptr;
    std::vector<uint32_t> pixels(image->pixels, image->pixels + size_t(image->width) * size_t(image->height));
    return CreateColourBitmap(image->width, image->height, std::move(pixels));
}
