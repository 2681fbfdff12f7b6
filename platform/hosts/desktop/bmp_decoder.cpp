// HostDecodeBmp for the desktop hosts: SDL2's BMP reader, as a library (no window system), and
// its surfaces' pixels converted to 0x00RRGGBB.
#include "platform/host.h"

#include <SDL.h>

#include <memory>

namespace {

using SurfacePointer = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

// A pixel of `Bytes` bytes, little-endian, as SDL stores the formats it reads from BMP files.
template <int Bytes>
uint32_t PixelValue(const uint8_t* p)
{
    uint32_t value = p[0];
    if constexpr (Bytes > 1) value |= uint32_t(p[1]) << 8;
    if constexpr (Bytes > 2) value |= uint32_t(p[2]) << 16;
    if constexpr (Bytes > 3) value |= uint32_t(p[3]) << 24;
    return value;
}

// Formats whose channels are whole bytes (24- and 32-bit files): each channel by its mask.
template <int Bytes>
void ChannelsByMask(const SDL_Surface* surface, std::vector<uint32_t>& pixels)
{
    const uint32_t rMask = surface->format->Rmask, gMask = surface->format->Gmask, bMask = surface->format->Bmask;
    const int rShift = surface->format->Rshift, gShift = surface->format->Gshift, bShift = surface->format->Bshift;
    const size_t width = size_t(surface->w);
    for (int y = 0; y < surface->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(surface->pixels) + size_t(y) * size_t(surface->pitch);
        uint32_t* out = pixels.data() + size_t(y) * width;
        if (rMask == 0xFF0000 && gMask == 0xFF00 && bMask == 0xFF) {   // already 0x00RRGGBB, as most files
            for (size_t x = 0; x < width; ++x) out[x] = PixelValue<Bytes>(row + x * Bytes) & 0xFFFFFF;
            continue;
        }
        for (size_t x = 0; x < width; ++x) {
            uint32_t value = PixelValue<Bytes>(row + x * Bytes);
            out[x] = ((value & rMask) >> rShift) << 16 | ((value & gMask) >> gShift) << 8 | ((value & bMask) >> bShift);
        }
    }
}

// Any other format through SDL_GetRGB, which also guards palette indices beyond the palette.
template <int Bytes>
void ChannelsBySdl(const SDL_Surface* surface, std::vector<uint32_t>& pixels)
{
    for (int y = 0; y < surface->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(surface->pixels) + size_t(y) * size_t(surface->pitch);
        uint32_t* out = &pixels[size_t(y) * size_t(surface->w)];
        for (int x = 0; x < surface->w; ++x) {
            Uint8 r, g, b;
            SDL_GetRGB(PixelValue<Bytes>(row + size_t(x) * Bytes), surface->format, &r, &g, &b);
            out[x] = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
        }
    }
}

// Any SDL surface format to 0x00RRGGBB.
std::vector<uint32_t> PixelsOf(const SDL_Surface* surface)
{
    std::vector<uint32_t> pixels(size_t(surface->w) * size_t(surface->h));
    const SDL_PixelFormat& f = *surface->format;
    bool wholeByteChannels = !f.palette && f.Rloss == 0 && f.Gloss == 0 && f.Bloss == 0;
    switch (f.BytesPerPixel) {
    case 1: ChannelsBySdl<1>(surface, pixels); break;
    case 2: ChannelsBySdl<2>(surface, pixels); break;
    case 3: wholeByteChannels ? ChannelsByMask<3>(surface, pixels) : ChannelsBySdl<3>(surface, pixels); break;
    case 4: wholeByteChannels ? ChannelsByMask<4>(surface, pixels) : ChannelsBySdl<4>(surface, pixels); break;
    }
    return pixels;
}

// SDL's surface of a checked file, or null.
SurfacePointer DecodeBmp(const std::vector<uint8_t>& file, int width)
{
    SurfacePointer none(nullptr, SDL_FreeSurface);
    SDL_RWops* stream = SDL_RWFromConstMem(file.data(), int(file.size()));
    if (!stream) return none;
    SurfacePointer surface(SDL_LoadBMP_RW(stream, 1), SDL_FreeSurface);
    if (!surface || surface->w != width || SDL_MUSTLOCK(surface.get())) return none;
    return surface;
}

}  // namespace

bool HostDecodeBmp(std::vector<uint8_t>& file, int width, int* height, std::vector<uint32_t>* pixels)
{
    SurfacePointer surface = DecodeBmp(file, width);
    std::vector<uint8_t>().swap(file);   // the file's bytes are not needed beside its pixels
    if (!surface) return false;
    *height = surface->h;
    *pixels = PixelsOf(surface.get());
    return true;
}
