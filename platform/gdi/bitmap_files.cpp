// SHLoadDIBitmap: a Windows bitmap file becomes a 32-bit colour bitmap. The host's decoder
// (HostDecodeBmp) takes every form (1, 4, 8, 16, 24 and 32 bits per pixel, RLE4 and RLE8,
// bottom-up and top-down rows) except plain 24-bit rows, which are converted here directly (from
// the file itself when it is large); the header is checked here first, so that a damaged or
// hostile file costs bounded time and memory.
#include "platform/gdi.h"

#include "platform/faults.h"
#include "platform/gdi/gdi_internals.h"
#include "platform/host.h"
#include "platform/host_paths.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MaxImageSide = 16384;
constexpr size_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3;
// No acceptable file is larger: the largest pixel array plus headers, palette and slack.
constexpr int64_t MaxFileSize = MaxBitmapPixels * 4 + (int64_t(1) << 20);

// The headers and palette of any file, and the whole of a small one.
constexpr size_t HeadBytes = 64 * 1024;

// Appends at most `limit` bytes from the file's current position; false on a read error.
bool ReadMore(int fd, std::vector<uint8_t>& contents, size_t limit)
{
    const size_t end = contents.size() + limit;
    size_t filled = contents.size();
    while (filled < end) {
        if (filled == contents.size())
            contents.resize(std::min(end, std::max({filled * 2, filled + HeadBytes, contents.capacity()})));
        ssize_t got = read(fd, contents.data() + filled, contents.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            contents.resize(filled);
            return got == 0;
        }
        filled += size_t(got);
    }
    contents.resize(filled);
    return true;
}

// Reads `count` bytes at `offset`; false when the file ends before.
bool ReadAt(int fd, uint8_t* target, size_t count, int64_t offset)
{
    while (count > 0) {
        ssize_t got = pread(fd, target, count, off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        target += got;
        count -= size_t(got);
        offset += got;
    }
    return true;
}

uint32_t Le16(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t Le32(const uint8_t* p)
{
    return Le16(p) | Le16(p + 2) << 16;
}

struct BmpHeader {
    int64_t width = 0;
    int64_t height = 0;   // negative: rows top-down
    uint32_t bitCount = 0;
    uint32_t compression = BiRgb;
    uint32_t colorsUsed = 0;
    uint32_t headerSize = 0;
    uint32_t pixelOffset = 0;
};

bool ParseHeader(const std::vector<uint8_t>& file, BmpHeader* h)
{
    if (file.size() < FileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') return false;
    h->pixelOffset = Le32(&file[10]);
    h->headerSize = Le32(&file[14]);
    if (h->headerSize != CoreHeaderSize && h->headerSize < InfoHeaderSize) return false;
    if (FileHeaderSize + h->headerSize > file.size()) return false;
    const uint8_t* info = &file[FileHeaderSize];
    if (h->headerSize == CoreHeaderSize) {
        h->width = Le16(info + 4);
        h->height = Le16(info + 6);
        h->bitCount = Le16(info + 10);
    } else {
        h->width = int32_t(Le32(info + 4));
        h->height = int32_t(Le32(info + 8));
        h->bitCount = Le16(info + 14);
        h->compression = Le32(info + 16);
        h->colorsUsed = Le32(info + 32);
    }
    return true;
}

int64_t PaletteBytes(const BmpHeader& h)
{
    if (h.bitCount > 8) return h.compression == BiBitfields && h.headerSize == InfoHeaderSize ? 12 : 0;
    int64_t entries = h.colorsUsed ? h.colorsUsed : int64_t(1) << h.bitCount;
    return entries * (h.headerSize == CoreHeaderSize ? 3 : 4);
}

// Refuses what the decoder should never see: sizes beyond 16384 x 16384 or MaxBitmapPixels, an
// unknown depth or compression, a palette larger than the depth allows or than the file holds,
// and an uncompressed pixel array that the file cannot hold. So a header that claims 30,000 x
// 30,000 pixels is refused before anything is allocated.
bool HeaderAcceptable(const BmpHeader& h, size_t fileSize)
{
    int64_t rows = h.height < 0 ? -h.height : h.height;
    if (h.width <= 0 || rows == 0 || h.width > MaxImageSide || rows > MaxImageSide) return false;
    if (h.width * rows > MaxBitmapPixels) return false;
    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    bool compressionFits = h.compression == BiRgb || (h.compression == BiRle8 && h.bitCount == 8) ||
                           (h.compression == BiRle4 && h.bitCount == 4) ||
                           (h.compression == BiBitfields && (h.bitCount == 16 || h.bitCount == 32));
    if (!compressionFits) return false;
    if (h.height < 0 && (h.compression == BiRle8 || h.compression == BiRle4)) return false;
    if (h.bitCount <= 8 && h.colorsUsed > (uint32_t(1) << h.bitCount)) return false;
    int64_t paletteEnd = int64_t(FileHeaderSize) + h.headerSize + PaletteBytes(h);
    if (paletteEnd > int64_t(fileSize) || h.pixelOffset >= fileSize) return false;
    if (h.compression == BiRgb || h.compression == BiBitfields) {
        int64_t stride = (h.width * h.bitCount + 31) / 32 * 4;
        if (int64_t(h.pixelOffset) + stride * rows > int64_t(fileSize)) return false;
    }
    return true;
}

// Uncompressed 24-bit rows, the form of most skin images, are converted here; the host's decoder
// takes every other form.
bool ReadsDirectly(const BmpHeader& h)
{
    return h.headerSize >= InfoHeaderSize && h.compression == BiRgb && h.bitCount == 24 &&
           h.pixelOffset >= FileHeaderSize + h.headerSize;
}

size_t RowCount(const BmpHeader& h)
{
    return size_t(h.height < 0 ? -h.height : h.height);
}

// Rows of blue, green and red bytes, each padded to four bytes.
size_t Stride(const BmpHeader& h)
{
    return (size_t(h.width) * 3 + 3) / 4 * 4;
}

// The file's n-th stored row to its place among the pixels: rows are stored bottom-up unless the
// height is negative.
void ConvertStoredRow(const BmpHeader& h, size_t n, const uint8_t* in, std::vector<uint32_t>& pixels)
{
    const size_t width = size_t(h.width), rows = RowCount(h);
    uint32_t* out = pixels.data() + (h.height < 0 ? n : rows - 1 - n) * width;
    for (size_t x = 0; x < width; ++x, in += 3) out[x] = uint32_t(in[2]) << 16 | uint32_t(in[1]) << 8 | in[0];
}

// From a file in memory; HeaderAcceptable has checked that it holds the rows.
std::vector<uint32_t> DirectPixels(const std::vector<uint8_t>& file, const BmpHeader& h)
{
    std::vector<uint32_t> pixels(size_t(h.width) * RowCount(h));
    for (size_t n = 0; n < RowCount(h); ++n) ConvertStoredRow(h, n, file.data() + h.pixelOffset + n * Stride(h), pixels);
    return pixels;
}

// From the file itself, a block of rows at a time, so that a large file is never held whole;
// empty when the file ends early.
std::vector<uint32_t> StreamedPixels(int fd, const BmpHeader& h)
{
    const size_t rows = RowCount(h), stride = Stride(h);
    const size_t rowsPerBlock = std::max<size_t>(1, HeadBytes / stride);
    std::vector<uint8_t> block(rowsPerBlock * stride);
    std::vector<uint32_t> pixels(size_t(h.width) * rows);
    for (size_t n = 0; n < rows; n += rowsPerBlock) {
        size_t count = std::min(rowsPerBlock, rows - n);
        if (!ReadAt(fd, block.data(), count * stride, int64_t(h.pixelOffset) + int64_t(n * stride))) return {};
        for (size_t i = 0; i < count; ++i) ConvertStoredRow(h, n + i, block.data() + i * stride, pixels);
    }
    return pixels;
}

// A large file of plain 24-bit rows is converted straight from the file once its headers are
// checked; every other file is read whole first.
HBITMAP LoadBitmapFile(int fd)
{
    struct stat info;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxFileSize;
    std::vector<uint8_t> file;
    if (regular) file.reserve(size_t(info.st_size) + 1);   // one more, to notice a file that grew
    if (!ReadMore(fd, file, HeadBytes)) return nullptr;
    BmpHeader header;
    if (regular && file.size() < size_t(info.st_size) && ParseHeader(file, &header) &&
        HeaderAcceptable(header, size_t(info.st_size)) && ReadsDirectly(header))
        return CreateColourBitmap(int(header.width), int(RowCount(header)), StreamedPixels(fd, header));
    if (!ReadMore(fd, file, size_t(MaxFileSize) + 1 - file.size()) || int64_t(file.size()) > MaxFileSize) return nullptr;
    if (!ParseHeader(file, &header) || !HeaderAcceptable(header, file.size())) return nullptr;
    if (ReadsDirectly(header)) return CreateColourBitmap(int(header.width), int(RowCount(header)), DirectPixels(file, header));
    int height = 0;
    std::vector<uint32_t> pixels;
    if (!HostDecodeBmp(file, int(header.width), &height, &pixels)) return nullptr;
    return CreateColourBitmap(int(header.width), height, std::move(pixels));
}

}  // namespace

HBITMAP SHLoadDIBitmap(LPCWSTR fileName)
{
    if (ShouldFail("SHLoadDIBitmap")) return nullptr;
    if (!fileName || IS_INTRESOURCE(fileName)) return nullptr;
    int fd = open(HostPathFromDevice(fileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    HBITMAP bitmap = LoadBitmapFile(fd);
    close(fd);
    return bitmap;
}
