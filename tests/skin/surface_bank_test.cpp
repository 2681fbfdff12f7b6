#include "tests/support/bmp_writer.h"
#include "tests/support/gdi_fixture.h"
#include "tests/support/temp_dir.h"
#include "platform/inspect.h"
#include "skin/surface_bank.h"

#include <cstring>
#include <functional>

namespace {

constexpr COLORREF KeyColour = RGB(100, 100, 100);
constexpr uint32_t K = 0x646464;       // the colour key as a pixel
constexpr uint32_t Ground = 0x0A0B0C;  // the background image's colour

// The parts image, 4 x 3, rows top-down: colour-key pixels, pure black and other colours.
const uint32_t PartsPixels[3][4] = {
    {K, 0x000000, 0xFF0000, K},
    {0x00FF00, K, 0x0000FF, 0xFFFFFF},
    {K, K, 0x123456, 0x000000},
};

std::vector<uint8_t> Bmp24(int width, int height, const std::function<uint32_t(int, int)>& pixel)
{
    BmpPlan plan;
    plan.width = width;
    plan.height = -height;   // top-down
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixel(x, y);
            plan.pixelData.insert(plan.pixelData.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
        }
        while (plan.pixelData.size() % 4) plan.pixelData.push_back(0);
    }
    return BmpFile(plan);
}

const HINSTANCE Module = reinterpret_cast<HINSTANCE>(uintptr_t(0x7000));
const uint32_t resourcePixels[6] = {1, 2, 3, 4, 5, 6};
const ImageResource resourceImage{3, 2, resourcePixels};
const BitmapResource resourceBitmaps[] = {{107, &resourceImage}};
const ResourceTable resourceTable{nullptr, 0, nullptr, 0, resourceBitmaps, 1, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0};

bool SameSlot(const SurfaceSlot& a, const SurfaceSlot& b)
{
    return a.dc == b.dc && a.bitmap == b.bitmap && a.previousObject == b.previousObject && a.width == b.width &&
           a.height == b.height && a.maskSlot == b.maskSlot;
}

struct BankState {
    SurfaceSlot slots[SurfaceSlotCount];
    SpriteCell cells[SpriteCellCount];
    bool operator==(const BankState& other) const
    {
        return std::equal(std::begin(slots), std::end(slots), std::begin(other.slots), SameSlot) &&
               std::memcmp(cells, other.cells, sizeof cells) == 0;
    }
};

BankState Snapshot()
{
    BankState state;
    std::copy(std::begin(SurfaceBank), std::end(SurfaceBank), state.slots);
    std::memcpy(state.cells, SpriteCells, sizeof state.cells);
    return state;
}

uint32_t Pixel(HDC dc, int x, int y)
{
    COLORREF c = GetPixel(dc, x, y);
    return c == CLR_INVALID ? c : uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

uint32_t SlotPixel(int slot, int x, int y)
{
    return Pixel(SurfaceBank[slot].dc, x, y);
}

class SurfaceBankTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearFaults();
        window = CreateTestWindow();
        ASSERT_NE(window, nullptr);
        ResetSurfaceBank();
        liveDcs = LiveDeviceContexts();
        liveBitmaps = LiveBitmaps();
        partsPath = dir.HostPath("parts.bmp");
        backPath = dir.HostPath("back.bmp");
        ASSERT_TRUE(WriteFile(partsPath, Bmp24(4, 3, [](int x, int y) { return PartsPixels[y][x]; })));
        ASSERT_TRUE(WriteFile(backPath, Bmp24(6, 5, [](int, int) { return Ground; })));
        parts = Utf16(partsPath);
        back = Utf16(backPath);
    }
    void TearDown() override
    {
        ClearFaults();
        ReleaseSurfaces();
        DestroyWindow(window);
        EXPECT_EQ(LiveDeviceContexts(), liveDcs) << "a DC leaked";
        EXPECT_EQ(LiveBitmaps(), liveBitmaps) << "a bitmap leaked";
    }

    int32_t CreateParts(int slot = 2)
    {
        return CreateSurface(slot, Module, window, parts.c_str(), 0, 0);
    }
    // The ground-coloured composition surface: slot 0 blank, slot 1 the background copied in.
    void PrepareComposition(int width, int height)
    {
        ASSERT_EQ(CreateSurface(0, Module, window, nullptr, width, height), 0);
        ASSERT_EQ(CreateSurface(1, Module, window, back.c_str(), 0, 0), 0);
        ASSERT_EQ(BlitSurface(1, 0, 0, 0, 0, 0, 0, 0, 0), 0);
    }
    // Each pixel of a 4 x 3 slot against what its parts pixel should have become.
    void ExpectFromParts(int slot, uint32_t (*expected)(uint32_t part), int line)
    {
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(SlotPixel(slot, x, y), expected(PartsPixels[y][x])) << x << "," << y << ", line " << line;
    }
    static uint32_t Unchanged(uint32_t part) { return part; }
    static uint32_t Blackened(uint32_t part) { return part == K ? 0 : part; }
    static uint32_t MaskBit(uint32_t part) { return part == K ? 0xFFFFFF : 0; }
    // The source's background colour, read by setting it back to white.
    COLORREF SourceBackground(int slot)
    {
        return SetBkColor(SurfaceBank[slot].dc, RGB(255, 255, 255));
    }

    HWND window = nullptr;
    int liveDcs = 0;
    int liveBitmaps = 0;
    TempDir dir;
    std::string partsPath, backPath;
    std::u16string parts, back;
};

TEST_F(SurfaceBankTest, ArgumentsOutOfRangeGiveOneAndChangeNothing)
{
    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(DefineCell(5, 2, 1, 1, 2, 2), 0);
    const BankState before = Snapshot();
    struct {
        int line;
        int32_t result;
    } cases[] = {
        {__LINE__, CreateSurface(-1, Module, window, nullptr, 0, 0)},
        {__LINE__, CreateSurface(8, Module, window, nullptr, 0, 0)},
        {__LINE__, CreateMask(-1, 3, KeyColour)},
        {__LINE__, CreateMask(2, 8, KeyColour)},
        {__LINE__, CreateMask(2, 2, KeyColour)},
        {__LINE__, BlitSurface(-1, 0, 0, 0, 0, 0, 0, 0, 0)},
        {__LINE__, BlitSurface(2, 0, 0, 0, 0, 8, 0, 0, 0)},
        {__LINE__, BlitSurface(2, 0, 0, 0, 0, 0, 0, 0, 1)},   // transparent, but no mask
        {__LINE__, BlitToWindow(8, 0, 0, 0, 0, window, 0, 0, 0)},
        {__LINE__, BlitToWindow(-1, 0, 0, 0, 0, window, 0, 0, 0)},
        {__LINE__, BlitToWindow(2, 0, 0, 0, 0, window, 0, 0, 1)},
        {__LINE__, DefineCell(-1, 0, 0, 0, 0, 0)},
        {__LINE__, DefineCell(256, 0, 0, 0, 0, 0)},
        {__LINE__, DefineCell(0, -1, 0, 0, 0, 0)},
        {__LINE__, DefineCell(0, 8, 0, 0, 0, 0)},
        {__LINE__, DrawCell(-1, 0, 0, 0, 0)},
        {__LINE__, DrawCell(256, 0, 0, 0, 0)},
        {__LINE__, DrawCell(5, -1, 0, 0, 0)},
        {__LINE__, DrawCell(5, 8, 0, 0, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, 1) << "case at line " << c.line;
    EXPECT_TRUE(Snapshot() == before);
    ExpectFromParts(2, Unchanged, __LINE__);
}

TEST_F(SurfaceBankTest, ResetStateAndCellDefinition)
{
    DefineCell(3, 2, 1, 2, 3, 4);
    ResetSurfaceBank();
    for (const SurfaceSlot& slot : SurfaceBank) {
        EXPECT_TRUE(SameSlot(slot, SurfaceSlot{nullptr, nullptr, nullptr, 0, 0, -1}));
    }
    for (const SpriteCell& cell : SpriteCells) {
        EXPECT_EQ(std::memcmp(&cell, &SpriteCells[0], sizeof cell), 0);
    }
    EXPECT_EQ(SpriteCells[0].surface | SpriteCells[0].x | SpriteCells[0].width, 0);
    EXPECT_EQ(DefineCell(255, 7, -4, 5, 0, 9), 0) << "cells may be defined before their surface";
    EXPECT_EQ(SpriteCells[255].surface, 7);
    EXPECT_EQ(SpriteCells[255].x, -4);
    EXPECT_EQ(SpriteCells[255].y, 5);
    EXPECT_EQ(SpriteCells[255].width, 0);
    EXPECT_EQ(SpriteCells[255].height, 9);
}

TEST_F(SurfaceBankTest, CreateSurfaceSizes)
{
    RegisterResources(Module, &resourceTable);
    struct {
        int line;
        LPCWSTR name;
        int32_t width, height;
        int32_t expectedWidth, expectedHeight;
    } cases[] = {
        {__LINE__, nullptr, 0, 99, 240, 294},   // the client area now; height not looked at
        {__LINE__, nullptr, 5, 7, 5, 7},
        {__LINE__, parts.c_str(), 99, 99, 4, 3},   // the bitmap's own size
        {__LINE__, MAKEINTRESOURCEW(107), 0, 0, 3, 2},
    };
    int slot = 0;
    for (const auto& c : cases) {
        ASSERT_EQ(CreateSurface(slot, Module, window, c.name, c.width, c.height), 0) << "line " << c.line;
        const SurfaceSlot& s = SurfaceBank[slot];
        EXPECT_NE(s.dc, nullptr);
        EXPECT_NE(s.bitmap, nullptr);
        EXPECT_NE(s.previousObject, nullptr);
        EXPECT_EQ(s.width, c.expectedWidth) << "line " << c.line;
        EXPECT_EQ(s.height, c.expectedHeight) << "line " << c.line;
        ++slot;
    }
    EXPECT_EQ(SlotPixel(3, 2, 1), 6u) << "the resource's pixels";
    EXPECT_EQ(SlotPixel(2, 2, 0), 0xFF0000u) << "the file's pixels";
    EXPECT_EQ(LiveDeviceContexts(), liveDcs + 4) << "the window's DC was handed back";
    RegisterResources(Module, nullptr);
}

TEST_F(SurfaceBankTest, CreateSurfaceFailuresLeaveWhatWasStored)
{
    struct {
        int line;
        const char* service;
        bool named;
        int32_t code;
        bool dc, bitmap, previous;
    } cases[] = {
        {__LINE__, "GetDC", false, 2, false, false, false},
        {__LINE__, "CreateCompatibleDC", true, 3, false, false, false},
        {__LINE__, "CreateCompatibleBitmap", false, 4, true, false, false},
        {__LINE__, "SHLoadDIBitmap", true, 4, true, false, false},
        {__LINE__, "SelectObject", true, 5, true, true, false},
        {__LINE__, "GetObjectW", false, 6, true, true, true},
    };
    for (const auto& c : cases) {
        ReleaseSurfaces();
        SurfaceBank[4].width = 7;
        SurfaceBank[4].height = 9;
        FailNextCalls(c.service, 1);
        EXPECT_EQ(CreateSurface(4, Module, window, c.named ? parts.c_str() : nullptr, 0, 0), c.code)
            << "line " << c.line;
        const SurfaceSlot& s = SurfaceBank[4];
        EXPECT_EQ(s.dc != nullptr, c.dc) << "line " << c.line;
        EXPECT_EQ(s.bitmap != nullptr, c.bitmap) << "line " << c.line;
        EXPECT_EQ(s.previousObject != nullptr, c.previous) << "line " << c.line;
        EXPECT_EQ(s.width, 7) << "line " << c.line;
        EXPECT_EQ(s.height, 9) << "line " << c.line;
        EXPECT_EQ(LiveDeviceContexts(), liveDcs + int(c.dc)) << "window DC not handed back, line " << c.line;
    }
}

TEST_F(SurfaceBankTest, CreateSurfaceWithoutABitmapToLoad)
{
    std::u16string missing = parts + u".missing";
    EXPECT_EQ(CreateSurface(1, Module, window, missing.c_str(), 0, 0), 4);
    EXPECT_EQ(CreateSurface(2, Module, window, MAKEINTRESOURCEW(107), 0, 0), 4) << "no such resource";
    EXPECT_EQ(CreateSurface(3, Module, nullptr, nullptr, 0, 0), 2);
}

TEST_F(SurfaceBankTest, CreateMaskResultsAndTheStateEachLeaves)
{
    enum Left { Nothing, Partly, MaskOnly, Complete };
    struct {
        int line;
        const char* service;
        int skip;
        int32_t code;
        Left left;
        bool maskDc, maskBitmap;
        COLORREF background;   // the source DC's background colour afterwards
    } cases[] = {
        {__LINE__, nullptr, 0, 0, Complete, true, true, RGB(255, 255, 255)},
        {__LINE__, "GetObjectW", 0, 2, Nothing, false, false, RGB(255, 255, 255)},
        {__LINE__, "SetBkColor", 0, 3, Nothing, false, false, RGB(255, 255, 255)},
        {__LINE__, "CreateCompatibleDC", 0, 4, Partly, false, false, RGB(255, 255, 255)},
        {__LINE__, "CreateBitmap", 0, 5, Partly, true, false, RGB(255, 255, 255)},
        {__LINE__, "SelectObject", 0, 6, Partly, true, true, RGB(255, 255, 255)},
        {__LINE__, "CreateCompatibleDC", 1, 7, MaskOnly, true, true, RGB(255, 255, 255)},
        {__LINE__, "CreateCompatibleBitmap", 0, 8, MaskOnly, true, true, RGB(255, 255, 255)},
        {__LINE__, "SelectObject", 1, 9, MaskOnly, true, true, RGB(255, 255, 255)},
        {__LINE__, "SetBkColor", 1, 10, MaskOnly, true, true, KeyColour},
    };
    for (const auto& c : cases) {
        ResetSurfaceBank();
        ASSERT_EQ(CreateParts(), 0);
        const BankState before = Snapshot();
        if (c.service) FailNextCalls(c.service, 1, c.skip);
        EXPECT_EQ(CreateMask(2, 3, KeyColour), c.code) << "line " << c.line;
        ClearFaults();
        const SurfaceSlot& mask = SurfaceBank[3];
        if (c.left == Nothing) {
            EXPECT_TRUE(Snapshot() == before) << "line " << c.line;
        }
        EXPECT_EQ(mask.dc != nullptr, c.maskDc) << "line " << c.line;
        EXPECT_EQ(mask.bitmap != nullptr, c.maskBitmap) << "line " << c.line;
        EXPECT_EQ(SurfaceBank[2].maskSlot, c.left == Complete ? 3 : -1) << "line " << c.line;
        bool sized = c.left == MaskOnly || c.left == Complete;
        EXPECT_EQ(mask.width, sized ? 4 : 0) << "line " << c.line;
        EXPECT_EQ(mask.height, sized ? 3 : 0) << "line " << c.line;
        if (sized) ExpectFromParts(3, MaskBit, c.line);
        ExpectFromParts(2, c.left == Complete ? Blackened : Unchanged, c.line);
        EXPECT_EQ(SourceBackground(2), c.background) << "line " << c.line;
        EXPECT_EQ(LiveDeviceContexts(), liveDcs + 1 + int(c.maskDc)) << "temporary DC kept, line " << c.line;
        EXPECT_EQ(LiveBitmaps(), liveBitmaps + 1 + int(c.maskBitmap)) << "temporary bitmap kept, line " << c.line;
    }
}

TEST_F(SurfaceBankTest, TransparentCellLeavesTheColourKeyOpaqueCellCopiesAll)
{
    PrepareComposition(6, 5);
    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(CreateMask(2, 3, KeyColour), 0);
    ASSERT_EQ(DefineCell(9, 2, 0, 0, 4, 3), 0);
    EXPECT_EQ(DrawCell(9, 0, 1, 1, 1), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            bool inCell = x >= 1 && x < 5 && y >= 1 && y < 4;
            uint32_t part = inCell ? PartsPixels[y - 1][x - 1] : K;
            EXPECT_EQ(SlotPixel(0, x, y), part == K ? Ground : part) << x << "," << y;
        }
    ASSERT_EQ(DefineCell(8, 2, 1, 0, 2, 2), 0);
    EXPECT_EQ(DrawCell(8, 0, 0, 0, 0), 0);
    const uint32_t opaque[] = {0x000000, 0xFF0000, 0x000000 /* the key, blackened */, 0x0000FF};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(SlotPixel(0, i % 2, i / 2), opaque[i]) << i;
    EXPECT_EQ(SlotPixel(0, 2, 0), Ground);
}

// After a reset every cell is (0, 0, 0, 0, 0): the whole of surface 0, drawn opaquely; drawn
// transparently nothing, since surface 0 has no mask.
TEST_F(SurfaceBankTest, ResetCellDrawsTheWholeOfSurfaceZero)
{
    ASSERT_EQ(CreateParts(0), 0);
    ASSERT_EQ(CreateSurface(1, Module, window, nullptr, 8, 6), 0);
    EXPECT_EQ(DrawCell(0, 1, 2, 2, 1), 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(SlotPixel(1, x, y), 0u) << "drawn without a mask at " << x << "," << y;
    EXPECT_EQ(DrawCell(0, 1, 2, 2, 0), 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(SlotPixel(1, 2 + x, 2 + y), PartsPixels[y][x]) << x << "," << y;
    EXPECT_EQ(SlotPixel(1, 6, 2), 0u);
    EXPECT_EQ(SlotPixel(1, 2, 5), 0u);
}

// Width 0 takes the surface's width and height, from the given corner; the height passed is
// ignored.
TEST_F(SurfaceBankTest, WidthZeroMeansTheWholeSurfaceFromTheCorner)
{
    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(CreateSurface(1, Module, window, nullptr, 8, 6), 0);
    EXPECT_EQ(BlitSurface(2, 1, 1, 0, 1, 1, 0, 0, 0), 0);
    EXPECT_EQ(SlotPixel(1, 0, 0), PartsPixels[1][1]);
    EXPECT_EQ(SlotPixel(1, 2, 0), PartsPixels[1][3]);
    EXPECT_EQ(SlotPixel(1, 1, 1), PartsPixels[2][2]) << "the height given (1) was not used";
    EXPECT_EQ(SlotPixel(1, 3, 0), 0u) << "clipped at the source's edge";
    ASSERT_EQ(DefineCell(4, 2, 2, 1, 0, 0), 0);
    EXPECT_EQ(DrawCell(4, 1, 5, 3, 0), 0);
    EXPECT_EQ(SlotPixel(1, 5, 3), PartsPixels[1][2]);
    EXPECT_EQ(SlotPixel(1, 6, 3), PartsPixels[1][3]);
    EXPECT_EQ(SlotPixel(1, 5, 4), PartsPixels[2][2]);
}

TEST_F(SurfaceBankTest, BlitToWindowDrawsOnTheClientArea)
{
    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(CreateMask(2, 3, KeyColour), 0);
    HDC windowDc = GetDC(window);
    EXPECT_EQ(BlitToWindow(2, 0, 0, 0, 0, window, 10, 20, 1), 0);
    EXPECT_EQ(Pixel(windowDc, 10, 20), 0xFFFFFFu) << "transparent: the window's white stays";
    EXPECT_EQ(Pixel(windowDc, 11, 20), 0u);
    EXPECT_EQ(Pixel(windowDc, 12, 20), 0xFF0000u);
    EXPECT_EQ(BlitToWindow(2, 0, 0, 0, 0, window, 10, 20, 0), 0);
    EXPECT_EQ(Pixel(windowDc, 10, 20), 0u) << "opaque: the prepared source's black";
    ReleaseDC(window, windowDc);

    FailNextCalls("GetDC", 1);
    EXPECT_EQ(BlitSurface(2, 0, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(BlitToWindow(0, 0, 0, 0, 0, window, 0, 0, 1), 1) << "checked before the DC is asked for";
    EXPECT_EQ(BlitToWindow(2, 0, 0, 0, 0, window, 0, 0, 0), 2);
    HWND gone = CreateTestWindow();
    DestroyWindow(gone);
    EXPECT_EQ(BlitToWindow(2, 0, 0, 0, 0, gone, 0, 0, 0), 2);
}

TEST_F(SurfaceBankTest, ReleasedBankDrawsNothingAndReleasingTwiceIsHarmless)
{
    PrepareComposition(6, 5);
    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(CreateMask(2, 3, KeyColour), 0);
    ASSERT_EQ(DefineCell(1, 2, 0, 0, 4, 3), 0);
    ASSERT_EQ(BlitToWindow(0, 0, 0, 0, 0, window, 0, 0, 0), 0);
    const PixelBuffer shown = *WindowBackingSurface(window);
    EXPECT_EQ(ReleaseSurfaces(), 0);
    EXPECT_EQ(LiveDeviceContexts(), liveDcs);
    EXPECT_EQ(LiveBitmaps(), liveBitmaps);
    const BankState released = Snapshot();
    for (const SurfaceSlot& slot : released.slots) {
        EXPECT_EQ(slot.dc, nullptr);
        EXPECT_EQ(slot.bitmap, nullptr);
        EXPECT_EQ(slot.previousObject, nullptr);
    }
    EXPECT_EQ(released.slots[2].width, 4) << "sizes, links and cells stay";
    EXPECT_EQ(released.slots[2].maskSlot, 3);
    EXPECT_EQ(released.cells[1].width, 4);
    EXPECT_EQ(ReleaseSurfaces(), 0);
    EXPECT_TRUE(Snapshot() == released);

    EXPECT_EQ(BlitSurface(1, 0, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(DrawCell(1, 0, 0, 0, 1), 0);
    EXPECT_EQ(BlitToWindow(0, 0, 0, 0, 0, window, 0, 0, 0), 0);
    EXPECT_EQ(WindowBackingSurface(window)->pixels, shown.pixels) << "the window keeps its picture";
}

// A mask slot rebuilt without success holds no DC: the transparent transfer then draws nothing
// at all, rather than ORing in the prepared source unmasked.
TEST_F(SurfaceBankTest, TransparentTransferWithoutTheMaskDcDrawsNothing)
{
    PrepareComposition(6, 5);
    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(CreateMask(2, 3, KeyColour), 0);
    FailNextCalls("CreateCompatibleDC", 1);
    ASSERT_EQ(CreateSurface(3, Module, window, nullptr, 4, 3), 3);
    EXPECT_EQ(BlitSurface(2, 0, 0, 0, 0, 0, 0, 0, 1), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(SlotPixel(0, x, y), Ground) << x << "," << y;
}

// Objects still held are released rather than lost: by a reset, by creating over a filled slot,
// and by a release whose hand-back of the previous object fails.
TEST_F(SurfaceBankTest, NothingHeldIsLost)
{
    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(CreateMask(2, 3, KeyColour), 0);
    EXPECT_EQ(ResetSurfaceBank(), 0);
    EXPECT_EQ(LiveDeviceContexts(), liveDcs);
    EXPECT_EQ(LiveBitmaps(), liveBitmaps);

    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(CreateParts(), 0);
    ASSERT_EQ(CreateMask(2, 3, KeyColour), 0);
    ASSERT_EQ(CreateMask(2, 3, KeyColour), 0);
    EXPECT_EQ(LiveDeviceContexts(), liveDcs + 2);
    EXPECT_EQ(LiveBitmaps(), liveBitmaps + 2);

    FailNextCalls("SelectObject", 1);
    ReleaseSurfaces();
    EXPECT_EQ(LiveDeviceContexts(), liveDcs);
    EXPECT_EQ(LiveBitmaps(), liveBitmaps);
}

}  // namespace
