#include "platform/inspect.h"
#include "platform/user/window_internals.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_fixture.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// A program's message loop as the shell runs it: until the quit request, returning its code.
int RunLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return int(msg.wParam);
}

// The main window's usual ending: its destruction asks the loop to end.
void QuitOnDestroyOf(HWND main, int code)
{
    Hook() = [main, code](HWND window, UINT message, WPARAM, LPARAM, LRESULT*) {
        if (window == main && message == WM_DESTROY) PostQuitMessage(code);
        return false;
    };
}

using HeadlessHost = WindowTest;

TEST_F(HeadlessHost, InjectedTapsArriveAsPressAndReleaseInClientCoordinates)
{
    HWND window = TopLevel(20, 40, 100, 100);
    Settle();
    InjectTap(30, 50);
    EXPECT_EQ(PendingInput(), 2u);
    EXPECT_TRUE(RunUntilIdle());
    EXPECT_EQ(PendingInput(), 0u);
    ASSERT_EQ(MessagesTo(window), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(XOf(Received()[0].lParam), 10);
    EXPECT_EQ(YOf(Received()[0].lParam), 10);
}

TEST_F(HeadlessHost, EachInjectedEventSeesWhatTheEventsBeforeItLeft)
{
    HWND below = FullScreen();
    HWND above = TopLevel(0, 26, 240, 100);
    Settle();
    Hook() = [above](HWND window, UINT message, WPARAM, LPARAM, LRESULT*) {
        if (window == above && message == WM_LBUTTONUP) DestroyWindow(above);
        return false;
    };
    InjectTap(50, 50);
    InjectTap(50, 50);
    RunUntilIdle();
    EXPECT_EQ(CountOf(above, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(CountOf(below, WM_LBUTTONDOWN), 1) << "the second tap finds the window below";
}

TEST_F(HeadlessHost, WithoutInputOrHandlerTheTopWindowIsClosedAndTheProgramEndsNormally)
{
    HWND main = FullScreen();
    HWND dialog = TopLevel(0, 26, 240, 294, true, u"Dialog", 0, main);
    QuitOnDestroyOf(main, 4);
    EXPECT_EQ(RunLoop(), 4);
    EXPECT_EQ(MessagesTo(dialog).back(), UINT(WM_DESTROY));
    EXPECT_EQ(CountOf(dialog, WM_CLOSE), 1);
    EXPECT_EQ(CountOf(main, WM_CLOSE), 1) << "closed after the dialog, once it was the active one";
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(HeadlessHost, TheIdleHandlerMayInjectMoreInputBeforeTheEnd)
{
    HWND main = FullScreen();
    QuitOnDestroyOf(main, 0);
    int idleCalls = 0;
    SetIdleHandler([&] {
        if (++idleCalls > 1) return false;
        InjectKey('A', true);
        return true;
    });
    EXPECT_EQ(RunLoop(), 0);
    EXPECT_EQ(idleCalls, 2);
    std::vector<UINT> expected{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_CLOSE, WM_DESTROY};
    std::vector<UINT> seen;
    for (UINT m : MessagesTo(main))
        if (m != WM_PAINT && m != WM_ACTIVATE && m != WM_SIZE && m != WM_CREATE) seen.push_back(m);
    EXPECT_EQ(seen, expected);
}

TEST_F(HeadlessHost, WithNoWindowTheLoopEndsWithExitCodeZero)
{
    EXPECT_EQ(RunLoop(), 0);
}

TEST_F(HeadlessHost, AWindowThatIgnoresThreeClosesIsDestroyed)
{
    HWND stubborn = FullScreen();
    Hook() = [stubborn](HWND window, UINT message, WPARAM, LPARAM, LRESULT* result) {
        if (window == stubborn && message == WM_DESTROY) PostQuitMessage(1);
        *result = 0;
        return window == stubborn && message == WM_CLOSE;
    };
    EXPECT_EQ(RunLoop(), 1);
    EXPECT_EQ(CountOf(stubborn, WM_CLOSE), 3);
    EXPECT_FALSE(IsWindow(stubborn));
}

struct HostRequest {
    const char* name;
    void (*inject)();
    UINT message;
    WPARAM wParam;
};

class HostRequests : public WindowTest, public ::testing::WithParamInterface<HostRequest> {};

TEST_P(HostRequests, GoToTheMainWindowWhateverIsOnTop)
{
    HWND main = FullScreen();
    HWND top = TopLevel(0, 26, 100, 100);
    Settle();
    GetParam().inject();
    RunUntilIdle();
    ASSERT_EQ(MessagesTo(main).size(), GetParam().message == WM_CLOSE ? 2u : 1u);
    EXPECT_EQ(MessagesTo(main)[0], GetParam().message);
    EXPECT_EQ(LastOf(main, GetParam().message)->wParam, GetParam().wParam);
    EXPECT_TRUE(MessagesTo(top).empty() || GetParam().message == WM_CLOSE);
}

INSTANTIATE_TEST_SUITE_P(Injected, HostRequests,
                         ::testing::Values(HostRequest{"Close", InjectCloseRequest, WM_CLOSE, 0},
                                           HostRequest{"Minimize", InjectMinimizeRequest, WM_SIZE, SIZE_MINIMIZED}),
                         [](const auto& info) { return std::string(info.param.name); });

class ScreenImages : public WindowTest {
protected:
    TempDir dir;
    const std::string path = dir.HostPath("screen");
    static std::string Bytes(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static uint32_t Little32(const std::string& b, size_t at)
    {
        return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
               uint32_t(uint8_t(b[at + 3])) << 24;
    }
    static uint32_t Big32(const std::string& b, size_t at)
    {
        return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 | uint32_t(uint8_t(b[at + 2])) << 8 |
               uint32_t(uint8_t(b[at + 3]));
    }
};

TEST_F(ScreenImages, BmpHoldsTheScreenPixels)
{
    HWND window = TopLevel(0, 26, 240, 294);
    FillClient(window, 0x123456);
    WindowBackingSurface(window)->pixels[0] = 0xABCDEF;   // screen (0, 26)
    WindowSurfaceChanged(window);
    ASSERT_TRUE(WriteBmp(ScreenPixels(), path + ".bmp"));
    std::string b = Bytes(path + ".bmp");
    ASSERT_GE(b.size(), 54u + 240u * 320u * 3u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(Little32(b, 18), 240u);
    EXPECT_EQ(Little32(b, 22), 320u);
    size_t rowBytes = 240 * 3;   // already a multiple of 4
    auto pixelAt = [&](int x, int y) {   // rows bottom-up, blue green red
        size_t at = Little32(b, 10) + size_t(319 - y) * rowBytes + size_t(x) * 3;
        return uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at]));
    };
    EXPECT_EQ(pixelAt(0, 26), 0xABCDEFu);
    EXPECT_EQ(pixelAt(239, 319), 0x123456u);
    EXPECT_EQ(pixelAt(5, 5), ScreenPixel(5, 5));
}

TEST_F(ScreenImages, PngIsAPngOfTheScreensSize)
{
    ASSERT_TRUE(WritePng(ScreenPixels(), path + ".png"));
    std::string b = Bytes(path + ".png");
    ASSERT_GE(b.size(), 33u);
    EXPECT_EQ(b.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(b.substr(12, 4), "IHDR");
    EXPECT_EQ(Big32(b, 16), 240u);
    EXPECT_EQ(Big32(b, 20), 320u);
}

TEST_F(ScreenImages, AnUnwritablePlaceOrAnEmptyPictureFails)
{
    EXPECT_FALSE(WritePng(ScreenPixels(), "/nonexistent-dir/screen.png"));
    EXPECT_FALSE(WriteBmp(ScreenPixels(), "/nonexistent-dir/screen.bmp"));
    EXPECT_FALSE(WritePng(PixelBuffer{}, path + ".png"));
}

}  // namespace
