#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/gdi/gdi_internals.h"
#include "platform/inspect.h"
#include "platform/user/input.h"
#include "platform/user/screen_internals.h"
#include "platform/user/window_internals.h"
#include "tests/support/window_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF;

bool IsDarkBlue(uint32_t pixel)
{
    int r = int(pixel >> 16) & 0xFF, g = int(pixel >> 8) & 0xFF, b = int(pixel) & 0xFF;
    return b >= 0x60 && r < 0x40 && g < 0x60 && b > r && b > g;
}

int BrightPixels(const PixelBuffer& screen, const RECT& area)
{
    int count = 0;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x) {
            uint32_t p = screen.pixels[size_t(y) * size_t(screen.width) + size_t(x)];
            count += ((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) > 0xC0 && (p & 0xFF) > 0xC0;
        }
    return count;
}

// Writes the screen next to the test binary when a pixel check fails, so it can be looked at.
void KeepScreenOnFailure(const char* name)
{
    if (::testing::Test::HasFailure()) WritePng(ScreenPixels(), std::string(name) + ".png");
}

using ScreenComposition = WindowTest;

TEST_F(ScreenComposition, WindowsAppearInZOrderAtTheirPlaces)
{
    HWND bottom = TopLevel(0, 26, 240, 294);
    HWND top = TopLevel(40, 100, 100, 50);
    FillClient(bottom, Red);
    FillClient(top, Green);
    struct Probe {
        int x, y;
        uint32_t expected;
    } probes[] = {{10, 30, Red}, {40, 100, Green}, {139, 149, Green}, {140, 149, Red}, {139, 150, Red}, {239, 319, Red}};
    for (const auto& p : probes) EXPECT_EQ(ScreenPixel(p.x, p.y), p.expected) << p.x << "," << p.y;
    ShowWindow(bottom, SW_SHOW);   // raised over the other
    EXPECT_EQ(ScreenPixel(40, 100), Red);
    ShowWindow(bottom, SW_HIDE);
    EXPECT_EQ(ScreenPixel(40, 100), Green);
    uint32_t desktop = ScreenPixel(10, 30);
    EXPECT_NE(desktop, Red) << "a hidden window is not on the screen";
    DestroyWindow(top);
    EXPECT_EQ(ScreenPixel(40, 100), desktop);
    KeepScreenOnFailure("WindowsAppearInZOrderAtTheirPlaces");
}

TEST_F(ScreenComposition, ChildWindowsAreDrawnAtTheirOffsetInsideTheirParent)
{
    HWND parent = TopLevel(20, 50, 100, 100);
    HWND child = Child(parent, 1, 10, 20, 30, 30);
    HWND sticking = Child(parent, 2, 90, 90, 30, 30);
    FillClient(parent, Red);
    FillClient(child, Blue);
    FillClient(sticking, Green);
    EXPECT_EQ(ScreenPixel(30, 70), Blue);
    EXPECT_EQ(ScreenPixel(59, 99), Blue);
    EXPECT_EQ(ScreenPixel(60, 100), Red);
    EXPECT_EQ(ScreenPixel(119, 149), Green);
    EXPECT_NE(ScreenPixel(120, 150), Green) << "a child is cut by its parent";
    KeepScreenOnFailure("ChildWindowsAreDrawnAtTheirOffsetInsideTheirParent");
}

TEST_F(ScreenComposition, ComposesOnlyWhenSomethingChanged)
{
    HWND shown = TopLevel(0, 26, 100, 100);
    HWND hidden = TopLevel(100, 26, 100, 100, false);
    FillClient(shown, Red);
    EXPECT_TRUE(ScreenDirty());
    EXPECT_EQ(ScreenPixel(5, 30), Red);
    EXPECT_FALSE(ScreenDirty());
    WindowBackingSurface(shown)->pixels[0] = Green;   // drawn without telling anyone
    EXPECT_EQ(ScreenPixel(0, 26), Red) << "the last composition stands";
    FillClient(hidden, Blue);
    EXPECT_FALSE(ScreenDirty()) << "drawing into a hidden window changes nothing shown";
    WindowSurfaceChanged(shown);
    EXPECT_TRUE(ScreenDirty());
    EXPECT_EQ(ScreenPixel(0, 26), Green);
}

// A copy into a window's DC has only the pixels it changed composed again, and reports them to
// the host as screen rectangles, one per run of changed rows; other raster operations report
// their whole destination. Whatever was composed, the screen is what a whole composition gives,
// under a window that covers part of the change too.
TEST_F(ScreenComposition, ACopyIntoAWindowComposesAndReportsOnlyWhatItChanged)
{
    struct Case {
        DWORD rop;
        std::vector<RECT> marks;      // of the copied 100 x 100 picture, Green on Red
        std::vector<LONG> expected;   // left, top, right, bottom of each reported rectangle
    };
    const Case cases[] = {
        {SRCCOPY, {}, {}},
        {SRCCOPY, {{10, 5, 20, 8}, {50, 70, 60, 72}}, {30, 45, 40, 48, 70, 110, 80, 112}},
        {SRCCOPY, {{10, 5, 20, 6}, {0, 6, 12, 7}, {90, 95, 100, 100}}, {20, 45, 40, 47, 110, 135, 120, 140}},
        {SRCAND, {}, {20, 40, 120, 140}},
    };
    for (const Case& c : cases) {
        HWND window = TopLevel(20, 40, 100, 100);
        HWND cover = TopLevel(100, 120, 50, 50);
        FillClient(window, Red);
        FillClient(cover, Blue);
        std::vector<uint32_t> picture(100 * 100, Red);
        for (const RECT& m : c.marks)
            for (LONG y = m.top; y < m.bottom; ++y)
                std::fill_n(&picture[size_t(y) * 100 + size_t(m.left)], m.right - m.left, Green);
        HDC memory = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateColourBitmap(100, 100, picture);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        ComposedScreen();
        std::vector<RECT> areas;
        TakeComposedAreas(&areas);
        HDC windowDc = GetDC(window);
        BitBlt(windowDc, 0, 0, 100, 100, memory, 0, 0, c.rop);
        ReleaseDC(window, windowDc);
        PixelBuffer composed = ComposedScreen();
        ASSERT_TRUE(TakeComposedAreas(&areas));
        std::vector<LONG> found;
        for (const RECT& r : areas) found.insert(found.end(), {r.left, r.top, r.right, r.bottom});
        EXPECT_EQ(found, c.expected) << "case " << (&c - cases);
        ScreenChanged();
        EXPECT_TRUE(ComposedScreen().pixels == composed.pixels) << "case " << (&c - cases);
        EXPECT_FALSE(TakeComposedAreas(&areas)) << "a whole composition has no areas";
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        DestroyWindow(cover);
        DestroyWindow(window);
    }
}

// Changes found against a host's scaled picture of the screen: one changed pixel at scales 1 to
// 3, inside a block of columns, at the last column, joined to a wider change in the row above; a
// change in rows or columns the picture does not show is no change. Only the top-left host pixel
// of each device pixel counts.
TEST(ChangedRectsOfAScaledPicture, FindEachChangedPixelOnlyWhereShown)
{
    struct Case {
        int scale, columns, rows, x, y;
        bool rowAbove;                // columns 10 to 49 of the row above changed too
        std::vector<LONG> expected;   // left, top, right, bottom of each rectangle
    };
    const Case cases[] = {
        {1, 240, 320, 0, 0, false, {0, 0, 1, 1}},
        {2, 240, 320, 21, 7, false, {21, 7, 22, 8}},
        {2, 240, 320, 239, 319, false, {239, 319, 240, 320}},
        {3, 240, 320, 100, 8, false, {100, 8, 101, 9}},
        {3, 240, 320, 5, 9, true, {5, 8, 50, 10}},
        {2, 200, 320, 210, 30, false, {}},
        {2, 240, 100, 30, 150, false, {}},
    };
    for (const Case& c : cases) {
        PixelBuffer screen, shown;
        screen.Resize(240, 320, Blue);
        shown.Resize(240 * c.scale, 320 * c.scale, Blue);
        for (size_t i = 0; i < shown.pixels.size(); ++i)
            if ((i % size_t(shown.width)) % size_t(c.scale) || (i / size_t(shown.width)) % size_t(c.scale))
                shown.pixels[i] = Green;
        screen.pixels[size_t(c.y) * 240 + size_t(c.x)] = Red;
        if (c.rowAbove) std::fill_n(&screen.pixels[size_t(c.y - 1) * 240 + 10], 40, Green);
        std::vector<LONG> found;
        for (const RECT& r : ChangedRects(ScaledPicture{shown.pixels.data(), size_t(shown.width), c.scale, c.columns, c.rows},
                                          screen))
            found.insert(found.end(), {r.left, r.top, r.right, r.bottom});
        EXPECT_EQ(found, c.expected) << "scale " << c.scale << ", pixel " << c.x << "," << c.y;
    }
}

TEST_F(ScreenComposition, TheTitleBarShowsTheActiveWindowsTitleOverEverything)
{
    HWND window = TopLevel(0, 0, 240, 320, true, u"");   // reaches under the title bar
    FillClient(window, Red);
    const PixelBuffer& screen = ScreenPixels();
    for (int x : {0, 100, 200}) EXPECT_TRUE(IsDarkBlue(screen.pixels[size_t(x)])) << x;
    EXPECT_EQ(ScreenPixel(5, 26), Red);
    RECT titleArea{0, 0, 150, 26};
    int untitled = BrightPixels(ScreenPixels(), titleArea);
    EXPECT_EQ(untitled, 0);
    if (!FontAvailable()) GTEST_SKIP() << "no font: titles are not drawn";
    HWND titled = TopLevel(0, 26, 50, 50, true, u"スキン選択");
    ASSERT_EQ(ActiveWindow(), titled);
    EXPECT_GT(BrightPixels(ScreenPixels(), titleArea), 20);
    DestroyWindow(titled);
    EXPECT_EQ(BrightPixels(ScreenPixels(), titleArea), 0);
    KeepScreenOnFailure("TheTitleBarShowsTheActiveWindowsTitleOverEverything");
}

struct TitleTap {
    const char* name;
    bool okButton;
    POINT press, release;
    UINT message;   // 0: nothing arrives
    WPARAM wParam;
};

class TitleBarButtons : public WindowTest, public ::testing::WithParamInterface<TitleTap> {};

TEST_P(TitleBarButtons, ActOnTheActiveWindowWhenTapped)
{
    HWND below = FullScreen();
    HWND active = TopLevel(0, 26, 240, 100, true, u"Active", GetParam().okButton ? WS_EX_CAPTIONOKBTN : 0);
    Settle();
    DeliverStylus(StylusAction::Down, GetParam().press.x, GetParam().press.y);
    DeliverStylus(StylusAction::Up, GetParam().release.x, GetParam().release.y);
    MSG msg;
    bool got = TakeNextMessage(&msg);
    EXPECT_EQ(got, GetParam().message != 0);
    if (got) {
        EXPECT_EQ(msg.hwnd, active);
        EXPECT_EQ(msg.message, GetParam().message);
        EXPECT_EQ(msg.wParam, GetParam().wParam);
    }
    EXPECT_FALSE(TakeNextMessage(&msg));
    EXPECT_TRUE(MessagesTo(below).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Taps, TitleBarButtons,
    ::testing::Values(TitleTap{"CloseMinimizes", false, {230, 13}, {228, 10}, WM_SIZE, SIZE_MINIMIZED},
                      TitleTap{"CloseReleasedElsewhere", false, {230, 13}, {100, 13}, 0, 0},
                      TitleTap{"ReleasedOnCloseAfterPressingTheTitle", false, {100, 13}, {230, 13}, 0, 0},
                      TitleTap{"TitleTextDoesNothing", false, {60, 13}, {60, 13}, 0, 0},
                      TitleTap{"OkSendsIdOk", true, {220, 13}, {225, 20}, WM_COMMAND, IDOK},
                      TitleTap{"NoCloseWhileOkIsShown", true, {100, 13}, {100, 13}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScreenComposition, TheOkButtonFollowsTheActiveWindow)
{
    HWND main = FullScreen();
    HWND dialog = TopLevel(0, 26, 240, 294, true, u"Dialog");
    SetTitleBarOkButton(dialog, true);
    EXPECT_EQ(TitleBarButtonAt(210, 10), TitleBarButton::Ok);
    PixelBuffer withOk = ScreenPixels();
    DestroyWindow(dialog);
    EXPECT_EQ(ActiveWindow(), main);
    EXPECT_EQ(TitleBarButtonAt(210, 10), TitleBarButton::None);
    EXPECT_EQ(TitleBarButtonAt(235, 10), TitleBarButton::Close);
    EXPECT_EQ(TitleBarButtonAt(235, 26), TitleBarButton::None);
    const PixelBuffer& withClose = ScreenPixels();
    RECT buttons{200, 0, 240, 26};
    bool differs = false;
    for (LONG y = buttons.top; y < buttons.bottom; ++y)
        for (LONG x = buttons.left; x < buttons.right; ++x)
            differs |= withOk.pixels[size_t(y) * 240 + size_t(x)] != withClose.pixels[size_t(y) * 240 + size_t(x)];
    EXPECT_TRUE(differs) << "the OK button and the close button look different";
}

}  // namespace
