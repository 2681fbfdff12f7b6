#include "platform/inspect.h"
#include "platform/user/input.h"
#include "platform/user/window_internals.h"
#include "tests/support/window_fixture.h"

namespace {

using WindowCreation = WindowTest;

TEST_F(WindowCreation, DefaultPlacementCoversTheScreenBelowTheTitleBar)
{
    HWND window = FullScreen();
    ASSERT_NE(window, nullptr);
    RECT rect, client;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_TRUE(SameRect(rect, RECT{0, 26, 240, 320}));
    EXPECT_TRUE(SameRect(client, RECT{0, 0, 240, 294}));
    ASSERT_NE(WindowBackingSurface(window), nullptr);
    EXPECT_EQ(WindowBackingSurface(window)->width, 240);
    EXPECT_EQ(WindowBackingSurface(window)->height, 294);
}

TEST_F(WindowCreation, CreateArrivesInsideTheCallBeforeTheWindowIsShown)
{
    int parameter = 7;
    bool shownDuringCreate = true;
    LPVOID seenParameter = nullptr;
    RECT seenRect{};
    Hook() = [&](HWND window, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
        if (message == WM_CREATE) {
            auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            seenParameter = create->lpCreateParams;
            seenRect = RECT{create->x, create->y, create->x + create->cx, create->y + create->cy};
            shownDuringCreate = WindowShown(window);
        }
        return false;
    };
    HWND window = CreateWindowExW(0, u"testwindow", u"T", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, &parameter);
    ASSERT_NE(window, nullptr);   // class names ignore case
    ASSERT_FALSE(MessagesTo(window).empty());
    EXPECT_EQ(MessagesTo(window).front(), UINT(WM_CREATE));
    EXPECT_EQ(seenParameter, &parameter);
    EXPECT_TRUE(SameRect(seenRect, RECT{0, 26, 240, 320}));
    EXPECT_FALSE(shownDuringCreate);
    EXPECT_TRUE(WindowShown(window));
}

struct CreateOutcome {
    const char* name;
    int action;   // 0: return 0; 1: return -1; 2: DestroyWindow, then return 0
    bool created;
};

class CreateOutcomes : public WindowTest, public ::testing::WithParamInterface<CreateOutcome> {};

TEST_P(CreateOutcomes, DecideWhetherCreationYieldsAWindow)
{
    HWND seen = nullptr;
    Hook() = [&](HWND window, UINT message, WPARAM, LPARAM, LRESULT* result) {
        if (message != WM_CREATE) return false;
        seen = window;
        if (GetParam().action == 2) DestroyWindow(window);
        *result = GetParam().action == 1 ? -1 : 0;
        return true;
    };
    HWND window = FullScreen();
    EXPECT_EQ(window != nullptr, GetParam().created);
    EXPECT_EQ(IsWindow(seen) != FALSE, GetParam().created);
    EXPECT_EQ(CountOf(seen, WM_DESTROY), GetParam().created ? 0 : 1);
    EXPECT_EQ(TopLevelWindows().size(), GetParam().created ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(WmCreate, CreateOutcomes,
                         ::testing::Values(CreateOutcome{"Success", 0, true}, CreateOutcome{"MinusOne", 1, false},
                                           CreateOutcome{"DestroyedInside", 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowCreation, UnknownClassOrDeadParentGivesNoWindow)
{
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    HWND gone = FullScreen();
    DestroyWindow(gone);
    EXPECT_EQ(Child(gone, 1, 0, 0, 10, 10), nullptr);
    WNDCLASSW again{};
    again.lpfnWndProc = RecordingProc;
    again.lpszClassName = u"TESTWINDOW";
    EXPECT_EQ(RegisterClassW(&again), 0) << "a class registered twice";
}

using WindowDestruction = WindowTest;

TEST_F(WindowDestruction, OwnedWindowsGoFirstThenTheWindowThenItsChildren)
{
    HWND owner = FullScreen();
    HWND child = Child(owner, 5, 10, 10, 50, 50);
    HWND grandchild = Child(child, 6, 0, 0, 5, 5);
    HWND owned = TopLevel(20, 40, 100, 100, true, u"Owned", 0, owner);
    ASSERT_TRUE(owner && child && grandchild && owned);
    bool childAliveDuringParentDestroy = false;
    Hook() = [&](HWND window, UINT message, WPARAM, LPARAM, LRESULT*) {
        if (message == WM_DESTROY && window == owner) childAliveDuringParentDestroy = IsWindow(child);
        return false;
    };
    Received().clear();
    EXPECT_TRUE(DestroyWindow(owner));
    std::vector<HWND> order;
    for (const auto& m : Received())
        if (m.message == WM_DESTROY) order.push_back(m.window);
    EXPECT_EQ(order, (std::vector<HWND>{owned, owner, child, grandchild}));
    EXPECT_TRUE(childAliveDuringParentDestroy);
    for (HWND window : {owner, child, grandchild, owned}) EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(TopLevelWindows().empty());
    EXPECT_FALSE(DestroyWindow(owner)) << "destroying twice";
}

TEST_F(WindowDestruction, DefaultCloseDestroysAndDestroyArrives)
{
    HWND window = FullScreen();
    Settle();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(RunUntilIdle());
    EXPECT_EQ(MessagesTo(window), (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowDestruction, MessagesToDeadWindowsAreDropped)
{
    HWND window = FullScreen();
    HWND other = TopLevel(0, 26, 10, 10);
    Settle();
    PostMessageW(window, WM_TEST, 1, 0);
    PostMessageW(other, WM_TEST, 2, 0);
    DestroyWindow(window);
    Received().clear();
    EXPECT_FALSE(PostMessageW(window, WM_TEST, 3, 0));
    EXPECT_EQ(SendMessageW(window, WM_TEST, 4, 0), 0);
    MSG stale{window, WM_TEST, 5, 0, 0, {}};
    EXPECT_EQ(DispatchMessageW(&stale), 0);
    EXPECT_FALSE(InvalidateRect(window, nullptr, FALSE));
    EXPECT_EQ(BeginPaint(window, nullptr), nullptr);
    EXPECT_TRUE(RunUntilIdle());
    EXPECT_TRUE(MessagesTo(window).empty());
    EXPECT_EQ(MessagesTo(other), (std::vector<UINT>{WM_TEST}));
}

using MessageOrder = WindowTest;

TEST_F(MessageOrder, PostedMessagesComeBeforePaintAndPaintBeforeHostInput)
{
    HWND window = FullScreen();
    Received().clear();
    InjectTap(100, 100);
    PostMessageW(window, WM_TEST, 1, 0);
    PostMessageW(window, WM_TEST + 1, 2, 0);
    std::vector<UINT> order;
    MSG msg;
    while (order.size() < 5 && GetMessageW(&msg, nullptr, 0, 0)) {
        order.push_back(msg.message);
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_TEST, WM_TEST + 1, WM_PAINT, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(MessageOrder, PaintOnlyForANonEmptyUpdateRegion)
{
    HWND window = FullScreen();
    Settle();
    MSG msg;
    EXPECT_FALSE(TakeNextMessage(&msg));
    RECT empty{10, 10, 10, 20};
    InvalidateRect(window, &empty, FALSE);
    RECT outside{300, 300, 400, 400};
    InvalidateRect(window, &outside, FALSE);
    EXPECT_FALSE(TakeNextMessage(&msg));
    RECT a{5, 5, 10, 10}, b{20, 20, 30, 30};
    InvalidateRect(window, &a, FALSE);
    InvalidateRect(window, &b, FALSE);
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.message, UINT(WM_PAINT));
    EXPECT_EQ(msg.hwnd, window);
    PAINTSTRUCT paint;
    EXPECT_NE(BeginPaint(window, &paint), nullptr);
    EXPECT_TRUE(SameRect(paint.rcPaint, RECT{5, 5, 30, 30}));
    EndPaint(window, &paint);
    EXPECT_FALSE(TakeNextMessage(&msg)) << "BeginPaint validates";
}

TEST_F(MessageOrder, AWindowThatGoesAwayUncoversThePartBelowIt)
{
    HWND below = FullScreen(true, u"Below");
    HWND over = CreateWindowExW(0, u"testwindow", u"Over", WS_VISIBLE, 20, 60, 100, 50, nullptr, nullptr, nullptr,
                                nullptr);
    HWND hidden = CreateWindowExW(0, u"testwindow", u"Hidden", WS_VISIBLE, 0, 200, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    Settle();
    MSG msg;
    DestroyWindow(over);
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.hwnd, below);
    PAINTSTRUCT paint;
    BeginPaint(below, &paint);
    EXPECT_TRUE(SameRect(paint.rcPaint, RECT{20, 34, 120, 84})) << "the screen rectangle in client coordinates";
    EndPaint(below, &paint);
    ShowWindow(hidden, SW_HIDE);
    ASSERT_TRUE(TakeNextMessage(&msg));
    BeginPaint(below, &paint);
    EXPECT_TRUE(SameRect(paint.rcPaint, RECT{0, 174, 50, 224}));
    EndPaint(below, &paint);
    EXPECT_FALSE(TakeNextMessage(&msg));
}

TEST_F(MessageOrder, HiddenWindowsWaitForPaintUntilShown)
{
    HWND window = FullScreen(false);
    MSG msg;
    EXPECT_FALSE(TakeNextMessage(&msg));
    UpdateWindow(window);
    EXPECT_EQ(CountOf(window, WM_PAINT), 0);
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_EQ(CountOf(window, WM_PAINT), 1);
    UpdateWindow(window);
    EXPECT_EQ(CountOf(window, WM_PAINT), 1) << "nothing left to paint";
}

TEST_F(MessageOrder, QuitComesAfterPostedMessagesAndBeforePaint)
{
    HWND window = FullScreen();
    PostMessageW(window, WM_TEST, 0, 0);
    PostQuitMessage(3);
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TEST));
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.message, UINT(WM_PAINT));
}

TEST_F(MessageOrder, NestedLoopsKeepDispatchingAndHandTheQuitOutwards)
{
    HWND window = FullScreen();
    HWND below = TopLevel(0, 26, 240, 100);
    Settle();
    std::vector<std::pair<int, UINT>> seen;   // (loop depth, message)
    int depth = 0;
    Hook() = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
        seen.push_back({depth, message});
        if (hwnd != window || message != WM_TEST || wParam != 1) return false;
        PostMessageW(window, WM_TEST, 2, 0);
        InvalidateRect(below, nullptr, FALSE);
        PostMessageW(window, WM_TEST + 1, 0, 0);
        ++depth;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            DispatchMessageW(&msg);
            if (msg.message == WM_TEST + 1) PostQuitMessage(9);
        }
        PostQuitMessage(int(msg.wParam));   // a modal loop hands the quit on
        --depth;
        return true;
    };
    PostMessageW(window, WM_TEST, 1, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    EXPECT_EQ(msg.wParam, 9u);
    std::vector<std::pair<int, UINT>> expected{{0, WM_TEST}, {1, WM_TEST}, {1, WM_TEST + 1}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(CountOf(below, WM_PAINT), 0) << "the quit request comes before paints";
    // A nested loop paints the windows below while it runs.
    bool paintedInside = false;
    Hook() = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
        if (hwnd == below && message == WM_PAINT) paintedInside = depth > 0;
        if (hwnd != window || message != WM_TEST || wParam != 1) return false;
        ++depth;
        MSG inner;
        while (GetMessageW(&inner, nullptr, 0, 0) && !(inner.message == WM_TEST && inner.wParam == 2))
            DispatchMessageW(&inner);
        --depth;
        return true;
    };
    PostMessageW(window, WM_TEST, 1, 0);
    SetIdleHandler([&] { return PostMessageW(window, WM_TEST, 2, 0) != FALSE; });
    RunUntilIdle();
    EXPECT_EQ(CountOf(below, WM_PAINT), 1);
    EXPECT_TRUE(paintedInside);
}

// The characters are what the host's layout typed with the key-down; without any, the control
// codes. Each WM_CHAR carries the key-down's lParam, scan code included.
TEST_F(MessageOrder, TranslateMessageMakesCharactersFromKeys)
{
    HWND window = FullScreen();
    Settle();
    ASSERT_EQ(ActiveWindow(), window);
    struct Case {
        UINT key;
        bool control;
        std::u16string typed;
        std::u16string characters;
    } cases[] = {{'A', false, u"a", u"a"},          {VK_OEM_PLUS, false, u"+", u"+"},
                 {'E', false, u"", u""},            {'Q', true, u"", u"\x11"},
                 {VK_RETURN, false, u"", u"\r"},    {VK_LEFT, false, u"", u""},
                 {NoVirtualKey, false, u"\U0001F600", u"\U0001F600"}};
    for (const auto& c : cases) {
        DeliverKey(HostKey{c.key, 30, c.control, false, c.typed}, true);
        MSG msg;
        ASSERT_TRUE(TakeNextMessage(&msg));
        EXPECT_EQ(ControlKeyDown(), c.control);
        EXPECT_EQ(GetKeyState(VK_CONTROL) < 0, c.control);
        EXPECT_TRUE(TranslateMessage(&msg));
        std::u16string characters;
        while (TakeNextMessage(&msg)) {
            EXPECT_EQ(msg.message, UINT(WM_CHAR));
            EXPECT_EQ(msg.lParam, LPARAM(30 << 16 | 1));
            characters += char16_t(msg.wParam);
        }
        EXPECT_EQ(characters, c.characters) << "key " << c.key;
    }
}

TEST_F(MessageOrder, ControlStateFollowsTheMessageTakenNotTheLatestInput)
{
    HWND window = FullScreen();
    Settle();
    DeliverKey(HostKey{'A', 30, true, false, u""}, true);
    DeliverKey(HostKey{'B', 48, false, false, u""}, true);
    MSG msg;
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, WPARAM('A'));
    EXPECT_TRUE(ControlKeyDown());
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_FALSE(ControlKeyDown());
}

using WindowGeometry = WindowTest;

TEST_F(WindowGeometry, MoveWindowResizesTheSurfaceKeepingItsPixels)
{
    HWND window = FullScreen();
    Settle();
    PixelBuffer* surface = WindowBackingSurface(window);
    surface->pixels[size_t(5) * 240 + 7] = 0x123456;
    EXPECT_TRUE(MoveWindow(window, 0, 26, 240, 268, FALSE));
    MSG msg;
    EXPECT_FALSE(TakeNextMessage(&msg)) << "no repaint asked";
    surface = WindowBackingSurface(window);
    EXPECT_EQ(surface->height, 268);
    EXPECT_EQ(surface->pixels[size_t(5) * 240 + 7], 0x123456u);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_TRUE(SameRect(rect, RECT{0, 26, 240, 294}));
    const ReceivedMessage* size = LastOf(window, WM_SIZE);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(XOf(size->lParam), 240);
    EXPECT_EQ(YOf(size->lParam), 268);
    MoveWindow(window, 10, 30, 250, 300, TRUE);
    surface = WindowBackingSurface(window);
    EXPECT_EQ(surface->pixels[size_t(5) * 250 + 7], 0x123456u);
    EXPECT_EQ(surface->pixels[size_t(299) * 250 + 249], 0xFFFFFFu) << "new parts are white";
    EXPECT_TRUE(TakeNextMessage(&msg) && msg.message == WM_PAINT) << "repaint invalidates";
}

TEST_F(WindowGeometry, ChildWindowsLiveInTheirParentsClientCoordinates)
{
    HWND parent = TopLevel(20, 40, 100, 80);
    HWND child = Child(parent, 11, 10, 5, 50, 30);
    HWND grandchild = Child(child, 12, 40, 20, 30, 30);   // sticks out of its parent
    ASSERT_TRUE(parent && child && grandchild);
    EXPECT_EQ(WindowParent(child), parent);
    EXPECT_EQ(TopLevelAncestor(grandchild), parent);
    EXPECT_EQ(WindowId(child), 11u);
    EXPECT_EQ(ChildWindows(parent), std::vector<HWND>{child});
    EXPECT_EQ(WindowBackingSurface(child), nullptr);
    RECT rect;
    GetWindowRect(grandchild, &rect);
    EXPECT_TRUE(SameRect(rect, RECT{70, 65, 100, 95}));
    PixelBuffer* surface;
    POINT origin;
    RECT clip;
    ASSERT_TRUE(WindowDrawTarget(grandchild, &surface, &origin, &clip));
    EXPECT_EQ(surface, WindowBackingSurface(parent));
    EXPECT_EQ(origin.x, 50);
    EXPECT_EQ(origin.y, 25);
    EXPECT_TRUE(SameRect(clip, RECT{50, 25, 60, 35})) << "cut by the child it lies in";
    ASSERT_TRUE(WindowDrawTarget(parent, &surface, &origin, &clip));
    EXPECT_TRUE(origin.x == 0 && origin.y == 0 && SameRect(clip, RECT{0, 0, 100, 80}));
    EXPECT_FALSE(WindowDrawTarget(reinterpret_cast<HWND>(uintptr_t(0x77)), &surface, &origin, &clip));
}

TEST_F(WindowGeometry, InvalidatingAParentRepaintsTheChildrenItCovers)
{
    HWND parent = FullScreen();
    HWND covered = Child(parent, 1, 0, 0, 20, 20);
    HWND elsewhere = Child(parent, 2, 100, 100, 20, 20);
    Settle();
    RECT corner{0, 0, 10, 10};
    InvalidateRect(parent, &corner, FALSE);
    std::vector<HWND> painted;
    MSG msg;
    while (TakeNextMessage(&msg)) {
        painted.push_back(msg.hwnd);
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(painted, (std::vector<HWND>{parent, covered})) << "parent first, then the child over it";
    EXPECT_EQ(CountOf(elsewhere, WM_PAINT), 0);
}

using ZOrder = WindowTest;

TEST_F(ZOrder, NewAndShownWindowsGoOnTopAndBecomeActive)
{
    HWND first = FullScreen(true, u"First");
    HWND second = TopLevel(0, 26, 100, 100, true, u"Second");
    EXPECT_EQ(TopLevelWindows(), (std::vector<HWND>{first, second}));
    EXPECT_EQ(ActiveWindow(), second);
    const ReceivedMessage* lost = LastOf(first, WM_ACTIVATE);
    ASSERT_NE(lost, nullptr);
    EXPECT_EQ(lost->wParam, WPARAM(WA_INACTIVE));
    ShowWindow(first, SW_SHOW);
    EXPECT_EQ(TopLevelWindows(), (std::vector<HWND>{second, first}));
    EXPECT_EQ(ActiveWindow(), first);
    EXPECT_EQ(LastOf(first, WM_ACTIVATE)->wParam, WPARAM(WA_ACTIVE));
    ShowWindow(first, SW_HIDE);
    EXPECT_EQ(ActiveWindow(), second);
    HWND bar = TopLevel(0, 294, 240, 26, false, u"Bar");
    SetWindowNoActivate(bar, true);
    ShowWindow(bar, SW_SHOW);
    EXPECT_EQ(TopLevelWindows().back(), bar);
    EXPECT_EQ(ActiveWindow(), second) << "a window that may not be activated";
    DestroyWindow(second);
    EXPECT_EQ(ActiveWindow(), nullptr) << "the only other one is hidden";
    EXPECT_EQ(MainTopLevelWindow(), first);
}

using StylusInput = WindowTest;

TEST_F(StylusInput, GoesToTheDeepestShownChildUnderThePoint)
{
    HWND parent = FullScreen();
    HWND top = Child(parent, 1, 10, 10, 100, 100);
    HWND under = Child(parent, 2, 50, 50, 100, 100);   // created later: below its sibling
    HWND inner = Child(top, 3, 20, 20, 10, 10);
    HWND hidden = Child(parent, 4, 200, 200, 20, 20, false);
    Settle();
    struct Case {
        int x, y;
        HWND expected;
        int clientX, clientY;
    } cases[] = {
        {35, 61, inner, 5, 5},        // 10+20+5, 26+10+20+5
        {60, 86, top, 50, 50},        // overlap of top and under: the first created wins
        {140, 156, under, 90, 80},
        {205, 230, parent, 205, 204}, // over a hidden child
    };
    for (const auto& c : cases) {
        Received().clear();
        DeliverStylus(StylusAction::Down, c.x, c.y);
        DeliverStylus(StylusAction::Up, c.x, c.y);
        RunUntilIdle();
        const ReceivedMessage* down = LastOf(c.expected, WM_LBUTTONDOWN);
        ASSERT_NE(down, nullptr) << c.x << "," << c.y;
        EXPECT_EQ(XOf(down->lParam), c.clientX);
        EXPECT_EQ(YOf(down->lParam), c.clientY);
        EXPECT_EQ(CountOf(c.expected, WM_LBUTTONUP), 1);
        EXPECT_EQ(Received().size(), 2u);
    }
    (void)hidden;
}

TEST_F(StylusInput, TheReleaseGoesToTheWindowThatGotThePress)
{
    HWND left = TopLevel(0, 26, 120, 294);
    HWND right = TopLevel(120, 26, 120, 294);
    Settle();
    DeliverStylus(StylusAction::Down, 60, 100);
    EXPECT_EQ(StylusCapture(), left);
    DeliverStylus(StylusAction::Move, 130, 100);
    DeliverStylus(StylusAction::Up, 200, 10);   // over the other window, then the title bar
    RunUntilIdle();
    EXPECT_EQ(MessagesTo(left), (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
    EXPECT_TRUE(MessagesTo(right).empty());
    EXPECT_EQ(XOf(LastOf(left, WM_LBUTTONUP)->lParam), 200);
    EXPECT_EQ(YOf(LastOf(left, WM_LBUTTONUP)->lParam), -16);
    EXPECT_EQ(StylusCapture(), nullptr);
}

TEST_F(StylusInput, APressOnADisabledOrDestroyedWindowGoesNowhere)
{
    HWND owner = FullScreen();
    HWND child = Child(owner, 1, 0, 0, 50, 50);
    Settle();
    SetWindowInputEnabled(owner, false);
    EXPECT_FALSE(WindowInputEnabled(child));
    DeliverStylus(StylusAction::Down, 10, 40);
    DeliverStylus(StylusAction::Up, 10, 40);
    RunUntilIdle();
    EXPECT_TRUE(Received().empty());
    SetWindowInputEnabled(owner, true);
    DeliverStylus(StylusAction::Down, 10, 40);
    DestroyWindow(child);
    Received().clear();
    DeliverStylus(StylusAction::Up, 10, 40);
    RunUntilIdle();
    EXPECT_EQ(CountOf(owner, WM_LBUTTONUP) + CountOf(child, WM_LBUTTONUP), 0)
        << "the release of a destroyed window's press is dropped";
}

TEST_F(StylusInput, KeysGoToTheActiveWindow)
{
    HWND below = FullScreen();
    HWND active = TopLevel(0, 26, 100, 100);
    Settle();
    DeliverKey(HostKey{'Q', 20, true, false, u""}, true);
    DeliverKey(HostKey{}, true);   // no virtual key: nothing
    RunUntilIdle();
    EXPECT_EQ(MessagesTo(active), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    EXPECT_TRUE(MessagesTo(below).empty());
}

// The owner of a modal dialog gets no keyboard message, also one queued before it lost its input.
TEST_F(StylusInput, KeysQueuedForADisabledWindowAreDropped)
{
    HWND window = FullScreen();
    Settle();
    DeliverKey(HostKey{'A', 30, false, false, u"a"}, true);
    SetWindowInputEnabled(window, false);
    RunUntilIdle();
    EXPECT_EQ(CountOf(window, WM_KEYDOWN) + CountOf(window, WM_CHAR), 0);
}

TEST(StockObjects, TheWhiteBrushIsOneObject)
{
    HGDIOBJ brush = GetStockObject(WHITE_BRUSH);
    EXPECT_NE(brush, nullptr);
    EXPECT_EQ(brush, GetStockObject(WHITE_BRUSH));
}

}  // namespace
