// The web host's decoders. BMP files other than plain 24-bit rows go through stb_image (Debian's
// libstb-dev), which reads 1, 4, 8, 16 and 32 bits per pixel and bit fields, but not RLE; such a
// file is refused, and the loader says so as of any bitmap it cannot read. Wave files are not
// decoded here: the browser decodes a skin's sounds itself when it plays them (sound.cpp), so
// the check that decodes them in advance is the desktop's.
#include "platform/host.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb_image.h>
#pragma GCC diagnostic pop

bool HostDecodeBmp(std::vector<uint8_t>& file, int width, int* height, std::vector<uint32_t>* pixels)
{
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &channels, 3);
    std::vector<uint8_t>().swap(file);
    if (!rgb) return false;
    bool fits = w == width && h > 0;
    if (fits) {
        pixels->resize(size_t(w) * size_t(h));
        for (size_t i = 0; i < pixels->size(); ++i)
            (*pixels)[i] = uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
        *height = h;
    }
    stbi_image_free(rgb);
    return fits;
}

bool HostDecodeWav(const std::vector<uint8_t>&, const AudioFormat&, std::vector<uint8_t>&)
{
    return false;
}
