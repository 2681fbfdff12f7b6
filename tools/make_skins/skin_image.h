// Opaque RGB images, and how a drawn layer with coverage becomes a parts-image cell: transparent
// where nothing shows, elsewhere the colour it will have when the calculator draws it.
#pragma once
#include "tools/make_skins/skin_design.h"

#include <vector>

namespace skins {

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// A parts pixel for a layer pixel given premultiplied (colour, alpha in 0..1) that will be drawn
// over underlay: the transparent colour where nothing shows, otherwise the colour the pixel will
// have on screen, never exactly the transparent colour.
Rgb PartsPixel(const float premultiplied[3], float alpha, Rgb underlay);

// Copies rect of source to (x, y) of target; with keyed, pixels of the transparent colour are
// skipped. Parts outside either image are clipped.
void DrawCell(const Image& source, const Rect& rect, Image& target, int x, int y, bool keyed);
// The region of an image under rect; pixels outside the image take outside.
Image Crop(const Image& image, const Rect& rect, Rgb outside);

}  // namespace skins
