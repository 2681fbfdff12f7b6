#include "platform/user/window_internals.h"
#include "tests/support/shell_ui_fixture.h"

namespace {

using namespace shellui;

HWND Item(int id)
{
    return GetDlgItem(ActiveWindow(), id);
}

struct Dismissal {
    const char* name;
    DWORD exStyle;
    std::function<void()> input;   // once the dialog is shown
    INT_PTR expected;
};

class DialogDismissals : public ShellTest, public ::testing::WithParamInterface<Dismissal> {};

TEST_P(DialogDismissals, EndTheNestedLoopWithTheValueGivenToEndDialog)
{
    DialogBehaviour() = EndOnOkOrCancel;
    HWND owner = FullScreen();
    Settle();
    OnIdle({[] { GetParam().input(); }});
    EXPECT_EQ(RunDialog(owner, TestDialog(GetParam().exStyle)), GetParam().expected);
    EXPECT_EQ(TopLevelWindows(), std::vector<HWND>{owner}) << "the dialog is destroyed, the owner is not";
    EXPECT_EQ(CountOf(owner, WM_CLOSE) + CountOf(owner, WM_SIZE), 0);
    EXPECT_EQ(ActiveWindow(), owner);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogDismissals,
    ::testing::Values(
        Dismissal{"TapOk", 0, [] { TapOn(Item(IDOK)); }, 100 + IDOK},
        Dismissal{"TapCancel", 0, [] { TapOn(Item(IDCANCEL)); }, 100 + IDCANCEL},
        Dismissal{"PressDraggedOffOkDoesNothing", 0, [] { Drag(Centre(Item(IDOK)), {10, 200}); }, 100 + IDCANCEL},
        Dismissal{"ReturnPressesTheDefaultButton", 0, [] { InjectKey(VK_RETURN); }, 100 + IDOK},
        Dismissal{"EscapeCancels", 0, [] { InjectKey(VK_ESCAPE); }, 100 + IDCANCEL},
        Dismissal{"CloseCancels", 0, [] {}, 100 + IDCANCEL},
        Dismissal{"HostWindowMinimizedThenClosed", 0, [] { InjectMinimizeRequest(); InjectCloseRequest(); },
                  100 + IDCANCEL},
        Dismissal{"TitleBarOkOfTheCaptionStyle", WS_EX_CAPTIONOKBTN, [] { InjectTap(228, 12); }, 100 + IDOK}),
    CaseName<Dismissal>);

using Dialogs = ShellTest;

TEST_F(Dialogs, InitDialogComesWithTheControlsInTemplateOrderBeforeTheDialogShows)
{
    HWND owner = FullScreen();
    Settle();
    std::vector<UINT_PTR> ids;
    DialogBehaviour() = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            EXPECT_EQ(lParam, 77);
            EXPECT_FALSE(WindowShown(dialog));
            EXPECT_EQ(HWND(wParam), GetDlgItem(dialog, IDOK)) << "the first control with a tab stop";
            for (HWND child : ChildWindows(dialog)) ids.push_back(WindowId(child));
        }
        return EndOnOkOrCancel(dialog, message, wParam, lParam);
    };
    OnIdle({[&] {
        HWND dialog = ActiveWindow();
        EXPECT_EQ(WindowTitle(dialog), u"Test dialog");
        EXPECT_EQ(WindowOwner(dialog), owner);
        RECT r;
        GetWindowRect(dialog, &r);
        EXPECT_TRUE(SameRect(r, RECT{0, 26, 240, 294})) << r.bottom << ": 3 pixels for 2 units from the owner's client";
        EXPECT_EQ(WindowClassName(GetDlgItem(dialog, ListId)), u"LISTBOX");
        EXPECT_EQ(SendDlgItemMessageW(dialog, 4242, LB_GETCOUNT, 0, 0), 0) << "no such item";
    }});
    EXPECT_EQ(RunDialog(owner, TestDialog(), 77), 100 + IDCANCEL);
    EXPECT_EQ(ids, (std::vector<UINT_PTR>{ListId, IDOK, IDCANCEL}));
}

TEST_F(Dialogs, OwnerIgnoresTheStylusButKeepsBeingPaintedMeanwhile)
{
    DialogBehaviour() = EndOnOkOrCancel;
    HWND owner = FullScreen();   // reaches below the dialog, to the screen's bottom
    Settle();
    OnIdle({[owner] { InvalidateRect(owner, nullptr, FALSE); },
            [owner] {
                EXPECT_EQ(CountOf(owner, WM_PAINT), 1);
                InjectTap(120, 310);
            }});
    EXPECT_EQ(RunDialog(owner), 100 + IDCANCEL);
    EXPECT_EQ(CountOf(owner, WM_LBUTTONDOWN), 0);
    InjectTap(120, 310);
    RunUntilIdle();
    EXPECT_EQ(CountOf(owner, WM_LBUTTONDOWN), 1) << "input comes back when the dialog ends";
}

TEST_F(Dialogs, QuitRequestEndsTheLoopAndStaysForTheOuterLoop)
{
    OnIdle({[] { PostQuitMessage(5); }});
    EXPECT_EQ(RunDialog(FullScreen()), 0);
    MSG msg;
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, WPARAM(5));
}

struct FullScreenCase {
    const char* name;
    bool menuBar;
    LONG bottom;
};

class FullScreenDialogs : public ShellTest, public ::testing::WithParamInterface<FullScreenCase> {};

TEST_P(FullScreenDialogs, FillTheAreaBelowTheTitleBarAndCarryTheOkButton)
{
    HWND owner = FullScreen();
    if (GetParam().menuBar) {
        ASSERT_NE(MenuBarFor(owner), nullptr);
    }
    DialogBehaviour() = [](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_INITDIALOG) return EndOnOkOrCancel(dialog, message, wParam, lParam);
        SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
        return SHInitDialog(&info);
    };
    OnIdle({[] {
        RECT r;
        GetWindowRect(ActiveWindow(), &r);
        EXPECT_TRUE(SameRect(r, RECT{0, 26, 240, GetParam().bottom})) << r.right << "," << r.bottom;
        InjectTap(228, 12);
    }});
    DialogTemplate small = TestDialog();
    small.cx = 100;
    small.cy = 80;
    EXPECT_EQ(RunDialog(owner, small), 100 + IDOK) << "the title bar's OK button";
}

INSTANTIATE_TEST_SUITE_P(Dialogs, FullScreenDialogs,
                         ::testing::Values(FullScreenCase{"AboveTheOwnersMenuBar", true, 294},
                                           FullScreenCase{"ToTheBottomWithoutOne", false, 320}),
                         CaseName<FullScreenCase>);

}  // namespace
