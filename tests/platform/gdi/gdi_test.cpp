#include "tests/support/gdi_fixture.h"
#include "platform/inspect.h"

#include <climits>
#include <functional>

namespace {

enum Format { ColourFormat, MonoFormat };

// The colours of the conversions, chosen so that a swapped channel or a swapped role shows.
constexpr COLORREF SourceKey = RGB(100, 100, 100);          // source DC background: becomes 1
constexpr uint32_t SourceKeyPixel = 0x646464;
constexpr COLORREF DestBackground = RGB(0x12, 0x34, 0x56);   // 1 bits become this
constexpr COLORREF DestText = RGB(0xAB, 0xCD, 0xEF);         // 0 bits become this

struct BlitCase {
    int line;
    Format source;
    Format dest;
    DWORD rop;
    uint32_t sourcePixel;   // 0x00RRGGBB, or 0/1 for monochrome
    uint32_t destPixel;
    COLORREF expected;      // as GetPixel reports it: monochrome reads as black or white
};

class BitBltPixels : public DrawingTest {
protected:
    HBITMAP OnePixel(Format format, uint32_t pixel)
    {
        return format == ColourFormat ? Colour(1, 1, {pixel}) : Mono(1, 1, {int(pixel)});
    }

    void Check(const BlitCase& c)
    {
        HDC source = Dc(OnePixel(c.source, c.sourcePixel));
        HDC dest = Dc(OnePixel(c.dest, c.destPixel));
        SetBkColor(source, SourceKey);
        SetBkColor(dest, DestBackground);
        SetTextColor(dest, DestText);
        EXPECT_TRUE(BitBlt(dest, 0, 0, 1, 1, source, 0, 0, c.rop)) << "case at line " << c.line;
        EXPECT_EQ(GetPixel(dest, 0, 0), c.expected) << "case at line " << c.line;
    }
};

constexpr COLORREF W = RGB(255, 255, 255), K = RGB(0, 0, 0);

// Monochrome pictures keep eight pixels to a byte: transfers from and into them, at every column
// offset and width, into monochrome and colour, and within one picture, take each pixel from its
// own place.
TEST_F(BitBltPixels, MonochromeRowsAtEveryColumnAndWidth)
{
    constexpr int Width = 29, Height = 2;
    auto bit = [](int x, int y) { return int((x * 7 + y * 3) % 5 < 2); };
    std::vector<int> bits;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) bits.push_back(bit(x, y));
    HDC source = Dc(Mono(Width, Height, bits));
    for (int sourceX : {0, 1, 5, 7, 8, 13})
        for (int destX : {0, 3, 8, 9})
            for (int width : {1, 8, 11, 17}) {
                HDC mono = Dc(Mono(Width, Height, std::vector<int>(Width * Height, 0)));
                HDC colour = Dc(Colour(Width, Height, std::vector<uint32_t>(Width * Height, 0x999999)));
                SetBkColor(colour, DestBackground);
                SetTextColor(colour, DestText);
                BitBlt(mono, destX, 0, width, Height, source, sourceX, 0, SRCCOPY);
                BitBlt(colour, destX, 0, width, Height, source, sourceX, 0, SRCCOPY);
                BitBlt(source, destX, 0, width, Height, source, sourceX, 0, SRCAND);
                for (int y = 0; y < Height; ++y)
                    for (int x = 0; x < Width; ++x) {
                        int from = sourceX + x - destX;
                        bool copied = x >= destX && x < destX + width && from < Width;
                        int expected = copied ? bit(from, y) : -1;
                        SCOPED_TRACE(testing::Message() << "from " << sourceX << " to " << destX << ", " << width
                                                        << " wide, at " << x << "," << y);
                        EXPECT_EQ(GetPixel(mono, x, y), expected == 1 ? W : K);
                        EXPECT_EQ(GetPixel(colour, x, y),
                                  expected < 0 ? RGB(0x99, 0x99, 0x99) : expected ? DestBackground : DestText);
                        EXPECT_EQ(GetPixel(source, x, y), (copied ? bit(x, y) & expected : bit(x, y)) ? W : K);
                    }
                BitBlt(source, 0, 0, Width, Height, Dc(Mono(Width, Height, bits)), 0, 0, SRCCOPY);
            }
}

TEST_F(BitBltPixels, EveryRasterOperationAndFormatPair)
{
    const BlitCase cases[] = {
        {__LINE__, ColourFormat, ColourFormat, SRCCOPY, 0x123456, 0xABCDEF, RGB(0x12, 0x34, 0x56)},
        {__LINE__, ColourFormat, ColourFormat, SRCAND, 0xF0F0F0, 0x3C3C3C, RGB(0x30, 0x30, 0x30)},
        {__LINE__, ColourFormat, ColourFormat, SRCPAINT, 0x0F0F00, 0x30F00F, RGB(0x3F, 0xFF, 0x0F)},
        {__LINE__, ColourFormat, ColourFormat, NOTSRCCOPY, 0x123456, 0xABCDEF, RGB(0xED, 0xCB, 0xA9)},
        // Colour to monochrome: the source DC's background colour is 1, anything else 0.
        {__LINE__, ColourFormat, MonoFormat, SRCCOPY, SourceKeyPixel, 0, W},
        {__LINE__, ColourFormat, MonoFormat, SRCCOPY, 0x646465, 1, K},
        {__LINE__, ColourFormat, MonoFormat, SRCCOPY, 0xFFFFFF, 1, K},
        {__LINE__, ColourFormat, MonoFormat, SRCAND, SourceKeyPixel, 1, W},
        {__LINE__, ColourFormat, MonoFormat, SRCAND, SourceKeyPixel, 0, K},
        {__LINE__, ColourFormat, MonoFormat, SRCAND, 0x000000, 1, K},
        {__LINE__, ColourFormat, MonoFormat, SRCPAINT, 0x000000, 1, W},
        {__LINE__, ColourFormat, MonoFormat, SRCPAINT, SourceKeyPixel, 0, W},
        {__LINE__, ColourFormat, MonoFormat, SRCPAINT, 0x000000, 0, K},
        {__LINE__, ColourFormat, MonoFormat, NOTSRCCOPY, SourceKeyPixel, 1, K},
        {__LINE__, ColourFormat, MonoFormat, NOTSRCCOPY, 0x000000, 0, W},
        // Monochrome to colour: 1 is the destination's background colour, 0 its text colour.
        {__LINE__, MonoFormat, ColourFormat, SRCCOPY, 1, 0x999999, DestBackground},
        {__LINE__, MonoFormat, ColourFormat, SRCCOPY, 0, 0x999999, DestText},
        {__LINE__, MonoFormat, ColourFormat, SRCAND, 1, 0x0F0F0F, RGB(0x02, 0x04, 0x06)},
        {__LINE__, MonoFormat, ColourFormat, SRCAND, 0, 0x0F0F0F, RGB(0x0B, 0x0D, 0x0F)},
        {__LINE__, MonoFormat, ColourFormat, SRCPAINT, 1, 0x808080, RGB(0x92, 0xB4, 0xD6)},
        {__LINE__, MonoFormat, ColourFormat, SRCPAINT, 0, 0x000001, RGB(0xAB, 0xCD, 0xEF)},
        {__LINE__, MonoFormat, ColourFormat, NOTSRCCOPY, 1, 0x999999, RGB(0xED, 0xCB, 0xA9)},
        {__LINE__, MonoFormat, ColourFormat, NOTSRCCOPY, 0, 0x999999, RGB(0x54, 0x32, 0x10)},
        // Monochrome to monochrome: bits as they are.
        {__LINE__, MonoFormat, MonoFormat, SRCCOPY, 1, 0, W},
        {__LINE__, MonoFormat, MonoFormat, SRCCOPY, 0, 1, K},
        {__LINE__, MonoFormat, MonoFormat, SRCAND, 1, 0, K},
        {__LINE__, MonoFormat, MonoFormat, SRCAND, 1, 1, W},
        {__LINE__, MonoFormat, MonoFormat, SRCPAINT, 0, 1, W},
        {__LINE__, MonoFormat, MonoFormat, SRCPAINT, 0, 0, K},
        {__LINE__, MonoFormat, MonoFormat, NOTSRCCOPY, 1, 1, K},
        {__LINE__, MonoFormat, MonoFormat, NOTSRCCOPY, 0, 0, W},
    };
    for (const BlitCase& c : cases) Check(c);
}

// 4 x 4 source with pixels 1 to 16 (row-major) onto a 4 x 4 destination of zeros; the expected
// destination lists the source pixel that lands on each position, 0 where nothing is drawn.
struct ClipCase {
    int line;
    int x, y, width, height, sourceX, sourceY;
    uint32_t expected[16];
};

TEST_F(BitBltPixels, ClipsToSourceAndDestinationWithoutOverflow)
{
    const ClipCase cases[] = {
        {__LINE__, 0, 0, 4, 4, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {__LINE__, -1, -1, 3, 3, 0, 0, {6, 7, 0, 0, 10, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {__LINE__, 0, 0, 3, 2, -2, -1, {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {__LINE__, 2, 2, INT_MAX, INT_MAX, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 5, 6}},
        {__LINE__, 1, 0, 2, 1, 3, 3, {0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {__LINE__, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, {}},
        {__LINE__, INT_MAX - 1, 0, INT_MAX, 4, 0, 0, {}},
        {__LINE__, 0, 0, 4, 4, INT_MAX, INT_MIN, {}},
        {__LINE__, 0, 0, -4, 4, 0, 0, {}},
        {__LINE__, 0, 0, 4, 0, 0, 0, {}},
        {__LINE__, 4, 0, 4, 4, 0, 0, {}},
    };
    std::vector<uint32_t> sourcePixels;
    for (uint32_t i = 1; i <= 16; ++i) sourcePixels.push_back(i);
    HDC source = Dc(Colour(4, 4, sourcePixels));
    for (const ClipCase& c : cases) {
        HDC dest = Dc(Colour(4, 4, std::vector<uint32_t>(16, 0)));
        EXPECT_TRUE(BitBlt(dest, c.x, c.y, c.width, c.height, source, c.sourceX, c.sourceY, SRCCOPY));
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(GetPixel(dest, i % 4, i / 4), RGB(0, 0, c.expected[i]))
                << "case at line " << c.line << ", pixel " << i;
    }
}

TEST_F(BitBltPixels, OverlappingCopyWithinOneBitmapReadsTheOriginal)
{
    HDC right = Dc(Colour(4, 1, {1, 2, 3, 4}));
    BitBlt(right, 1, 0, 3, 1, right, 0, 0, SRCCOPY);
    HDC left = Dc(Colour(4, 1, {1, 2, 3, 4}));
    BitBlt(left, 0, 0, 3, 1, left, 1, 0, SRCCOPY);
    HDC down = Dc(Colour(1, 3, {1, 2, 3}));
    BitBlt(down, 0, 1, 1, 2, down, 0, 0, SRCCOPY);
    const uint32_t rightExpected[] = {1, 1, 2, 3}, leftExpected[] = {2, 3, 4, 4}, downExpected[] = {1, 1, 2};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GetPixel(right, i, 0), RGB(0, 0, rightExpected[i])) << i;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GetPixel(left, i, 0), RGB(0, 0, leftExpected[i])) << i;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(GetPixel(down, 0, i), RGB(0, 0, downExpected[i])) << i;
}

using DrawingDeathTest = DrawingTest;
TEST_F(DrawingDeathTest, OtherRasterOperationsAbortLoudly)
{
    HDC dc = Dc(Colour(1, 1, {0}));
    EXPECT_DEATH(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, 0x00660046 /* SRCINVERT */), "BitBlt");
}

class GdiObjects : public DrawingTest {};

TEST_F(GdiObjects, FreshMemoryDcHoldsTheStockMonochromeBitmap)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP colour = Colour(3, 2, std::vector<uint32_t>(6, 0));
    HGDIOBJ stock = SelectObject(dc, colour);
    ASSERT_NE(stock, nullptr);
    BITMAP info;
    ASSERT_EQ(GetObjectW(stock, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(SelectObject(dc, stock), colour);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(CreateBitmap(0, 4, 1, 1, nullptr), stock) << "zero size gives the stock bitmap";
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_NE(GetObjectW(stock, sizeof info, &info), 0) << "a stock object survives deletion";
}

TEST_F(GdiObjects, CompatibleBitmapFormatFollowsTheDc)
{
    HWND window = CreateTestWindow();
    ASSERT_NE(window, nullptr);
    HDC windowDc = GetDC(window);
    HDC fresh = CreateCompatibleDC(windowDc);
    HDC holdingColour = Dc(Colour(1, 1, {0}));
    HDC holdingMono = Dc(Mono(1, 1, {0}));
    struct {
        int line;
        HDC dc;
        int bitsPerPixel;
    } cases[] = {{__LINE__, windowDc, 32}, {__LINE__, fresh, 1}, {__LINE__, holdingColour, 32},
                 {__LINE__, holdingMono, 1}};
    for (const auto& c : cases) {
        HBITMAP bitmap = CreateCompatibleBitmap(c.dc, 5, 3);
        bitmapsMade.push_back(bitmap);
        BITMAP info;
        ASSERT_EQ(GetObjectW(bitmap, sizeof info, &info), int(sizeof info)) << "line " << c.line;
        EXPECT_EQ(info.bmBitsPixel, c.bitsPerPixel) << "line " << c.line;
        EXPECT_EQ(info.bmWidth, 5) << "line " << c.line;
        EXPECT_EQ(info.bmHeight, 3) << "line " << c.line;
    }
    EXPECT_EQ(CreateCompatibleBitmap(windowDc, -1, 3), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(windowDc, 1 << 20, 1 << 20), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 5, 3), nullptr);
    DeleteDC(fresh);
    EXPECT_EQ(ReleaseDC(window, windowDc), 1);
    DestroyWindow(window);
}

TEST_F(GdiObjects, SelectionRulesAndDeletion)
{
    HBITMAP bitmap = Colour(2, 2, std::vector<uint32_t>(4, 0));
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HGDIOBJ stock = SelectObject(first, bitmap);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr) << "a bitmap lives in one DC at a time";
    EXPECT_FALSE(DeleteObject(bitmap)) << "a selected bitmap cannot be deleted";
    EXPECT_EQ(SelectObject(first, bitmap), bitmap) << "selecting it again gives itself";
    EXPECT_EQ(SelectObject(first, first), nullptr) << "a DC is no object to select";
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_FALSE(DeleteDC(first));
    EXPECT_NE(SelectObject(second, bitmap), nullptr) << "deleting the DC freed the bitmap";
    DeleteDC(second);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr) << "a deleted bitmap stays dead";
    BITMAP info;
    EXPECT_EQ(GetObjectW(bitmap, sizeof info, &info), 0);
    DeleteDC(dc);
    bitmapsMade.clear();
}

TEST_F(GdiObjects, GetObjectNeedsRoomForTheRecord)
{
    HBITMAP mono = Mono(17, 3, std::vector<int>(51, 0));
    BITMAP info;
    EXPECT_EQ(GetObjectW(mono, 0, nullptr), int(sizeof(BITMAP)));
    EXPECT_EQ(GetObjectW(mono, sizeof info - 1, &info), 0);
    ASSERT_EQ(GetObjectW(mono, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidthBytes, 4);
}

TEST_F(GdiObjects, ColoursReturnThePreviousOne)
{
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetBkColor(dc, RGB(1, 2, 3)), RGB(255, 255, 255));
    EXPECT_EQ(SetBkColor(dc, RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(SetTextColor(dc, RGB(7, 8, 9)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(dc, 0), RGB(7, 8, 9));
    DeleteDC(dc);
    EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
}

TEST_F(GdiObjects, DeadOrForeignHandlesDrawNothing)
{
    HDC live = Dc(Colour(2, 2, std::vector<uint32_t>(4, 7)));
    HDC dead = CreateCompatibleDC(nullptr);
    DeleteDC(dead);
    HDC forged = reinterpret_cast<HDC>(uintptr_t(0x1234));
    for (HDC other : {static_cast<HDC>(nullptr), dead, forged}) {
        EXPECT_FALSE(BitBlt(live, 0, 0, 2, 2, other, 0, 0, SRCCOPY));
        EXPECT_FALSE(BitBlt(other, 0, 0, 2, 2, live, 0, 0, SRCCOPY));
        EXPECT_EQ(GetPixel(other, 0, 0), CLR_INVALID);
        if (other) {
            EXPECT_EQ(CreateCompatibleDC(other), nullptr);
        }
        EXPECT_EQ(CreateCompatibleBitmap(other, 1, 1), nullptr);
        EXPECT_FALSE(DeleteDC(other));
        EXPECT_FALSE(DeleteObject(other));
    }
    EXPECT_EQ(GetPixel(live, 1, 1), RGB(0, 0, 7));
}

TEST_F(GdiObjects, WindowDcDrawsIntoTheBackingSurfaceWhileTheWindowLives)
{
    HWND window = CreateTestWindow();
    ASSERT_NE(window, nullptr);
    HDC windowDc = GetDC(window);
    ASSERT_NE(windowDc, nullptr);
    HDC source = Dc(Colour(2, 1, {0x102030, 0x405060}));
    EXPECT_TRUE(BitBlt(windowDc, 238, 293, 5, 5, source, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(windowDc, 239, 293), RGB(0x40, 0x50, 0x60));
    EXPECT_EQ(GetPixel(windowDc, 240, 293), CLR_INVALID) << "the client area is 240 x 294";
    PixelBuffer* backing = WindowBackingSurface(window);
    EXPECT_EQ(backing->pixels[293 * 240 + 238], 0x102030u);
    EXPECT_EQ(SelectObject(windowDc, Colour(1, 1, {0})), nullptr) << "no bitmap goes into a window DC";
    EXPECT_FALSE(DeleteDC(windowDc)) << "a window DC is released, not deleted";
    DestroyWindow(window);
    EXPECT_FALSE(BitBlt(windowDc, 0, 0, 1, 1, source, 0, 0, SRCCOPY));
    EXPECT_EQ(GetDC(window), nullptr);
    EXPECT_EQ(GetDC(nullptr), nullptr);
    EXPECT_EQ(ReleaseDC(window, windowDc), 1);
    EXPECT_EQ(ReleaseDC(window, windowDc), 0);
}

// Each service that can fail on Windows fails, as Windows reports it, when a fault is injected.
TEST_F(GdiObjects, InjectedFaultsFailEachService)
{
    HWND window = CreateTestWindow();
    HBITMAP bitmap = Colour(1, 1, {0});
    HDC dc = Dc(Colour(1, 1, {0}));
    struct {
        const char* service;
        std::function<bool()> failed;
    } cases[] = {
        {"GetDC", [&] { return GetDC(window) == nullptr; }},
        {"CreateCompatibleDC", [&] { return CreateCompatibleDC(nullptr) == nullptr; }},
        {"CreateCompatibleBitmap", [&] { return CreateCompatibleBitmap(dc, 1, 1) == nullptr; }},
        {"CreateBitmap", [&] { return CreateBitmap(1, 1, 1, 1, nullptr) == nullptr; }},
        {"SelectObject", [&] { return SelectObject(dc, bitmap) == nullptr; }},
        {"GetObjectW", [&] { BITMAP b; return GetObjectW(bitmap, sizeof b, &b) == 0; }},
        {"SetBkColor", [&] { return SetBkColor(dc, 0) == CLR_INVALID; }},
        {"SetTextColor", [&] { return SetTextColor(dc, 0) == CLR_INVALID; }},
        {"BitBlt", [&] { return !BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY); }},
        {"GetPixel", [&] { return GetPixel(dc, 0, 0) == CLR_INVALID; }},
        {"DeleteObject", [&] { return !DeleteObject(bitmap); }},
        {"DeleteDC", [&] { return !DeleteDC(dc); }},
        {"ReleaseDC", [&] { return ReleaseDC(window, nullptr) == 0; }},
        {"SHLoadDIBitmap", [&] { return SHLoadDIBitmap(u"/nonexistent.bmp") == nullptr; }},
    };
    for (const auto& c : cases) {
        FailNextCalls(c.service, 1);
        EXPECT_TRUE(c.failed()) << c.service;
        EXPECT_FALSE(ShouldFail(c.service)) << c.service << " did not consume its fault";
    }
    DestroyWindow(window);
}

}  // namespace
