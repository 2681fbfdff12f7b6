#include "platform/ui/menus.h"
#include "platform/ui/shell_drawing.h"
#include "platform/user/window_internals.h"
#include "tests/support/shell_ui_fixture.h"

namespace {

using namespace shellui;

// The bar's "Tools" button is at the left of y 294-320. Its pop-up opens above the bar at
// y 212-294: "Choose" at 213-235, a separator, "Sound" at 242-264, a separator, "About" at
// 271-293; the check marks' column is x 1-19.
constexpr int ToolsX = 20, ToolsY = 307;
constexpr int ChooseY = 224, SoundY = 253, AboutY = 282;

class MenuBars : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        owner = FullScreen();
        bar = MenuBarFor(owner);
        ASSERT_NE(bar, nullptr);
        Settle();
    }
    HMENU Tools() const { return reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, ButtonCommand)); }
    HWND owner = nullptr;
    HWND bar = nullptr;
};

TEST_F(MenuBars, SitAtTheBottomOwnedByTheirWindowWhichStaysActive)
{
    RECT r;
    ASSERT_TRUE(GetWindowRect(bar, &r));
    EXPECT_TRUE(SameRect(r, RECT{0, 294, 240, 320}));
    EXPECT_EQ(WindowOwner(bar), owner);
    EXPECT_EQ(ActiveWindow(), owner);
    EXPECT_EQ(MenuBarOf(owner), bar);
    EXPECT_EQ(ScreenPixel(200, 310), ShellGrey);
    EXPECT_NE(Tools(), nullptr);
    EXPECT_EQ(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, AboutCommand), 0) << "no button has that command";
    SHMENUBARINFO missing{36, owner, 0, 99, Instance, 0, 0, nullptr, 0};
    EXPECT_FALSE(SHCreateMenuBar(&missing));
    EXPECT_EQ(missing.hwndMB, nullptr);
}

struct MenuCase {
    const char* name;
    std::function<void()> whileOpen;
    UINT command;   // 0: none reaches the owner
};

class MenuChoices : public MenuBars, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuChoices, ReachTheOwnerAsCommandsAndCloseThePopUp)
{
    RECT popup{};
    InjectTap(ToolsX, ToolsY);
    OnIdle({[&] {
        std::vector<HWND> windows = TopLevelWindows();
        ASSERT_EQ(windows.size(), 3u) << "the pop-up is open";
        GetWindowRect(windows.back(), &popup);
        EXPECT_EQ(ActiveWindow(), owner);
        GetParam().whileOpen();
    }});
    RunUntilIdle();
    EXPECT_TRUE(SameRect(popup, RECT{0, 212, 96, 294}));
    EXPECT_EQ(TopLevelWindows().size(), 2u) << "the pop-up is closed";
    EXPECT_EQ(CountOf(owner, WM_COMMAND), GetParam().command ? 1 : 0);
    if (const ReceivedMessage* command = LastOf(owner, WM_COMMAND)) {
        EXPECT_EQ(command->wParam, WPARAM(GetParam().command));
    }
    EXPECT_EQ(CountOf(owner, WM_LBUTTONDOWN), 0) << "the press that closes the menu goes no further";
}

INSTANTIATE_TEST_SUITE_P(
    MenuBars, MenuChoices,
    ::testing::Values(MenuCase{"FirstItem", [] { InjectTap(40, ChooseY); }, ChooseCommand},
                      MenuCase{"MiddleItem", [] { InjectTap(40, SoundY); }, ToggleCommand},
                      MenuCase{"LastItem", [] { InjectTap(40, AboutY); }, AboutCommand},
                      MenuCase{"SeparatorThenElsewhere", [] { InjectTap(40, 238); InjectTap(120, 100); }, 0},
                      MenuCase{"SlidFromOneItemToAnother", [] { Drag({40, SoundY}, {40, ChooseY}); }, ChooseCommand},
                      MenuCase{"SlidOffTheMenu", [] { Drag({40, SoundY}, {120, 100}); InjectTap(9, 99); }, 0},
                      MenuCase{"TheButtonAgain", [] { InjectTap(ToolsX, ToolsY); }, 0},
                      MenuCase{"AKey", [] { InjectKey('X'); }, 0}),
    CaseName<MenuCase>);

TEST_F(MenuBars, CheckMarksAreDrawnBeforeCheckedItemsOnly)
{
    for (UINT check : {MF_CHECKED, MF_UNCHECKED}) {
        CheckMenuItem(Tools(), ToggleCommand, check);
        int soundMark = -1, chooseMark = -1;
        InjectTap(ToolsX, ToolsY);
        OnIdle({[&] {
            soundMark = CountColour(RECT{1, 242, 19, 264}, ShellBlack);
            chooseMark = CountColour(RECT{1, 213, 19, 235}, ShellBlack);
            InjectTap(120, 100);
        }});
        RunUntilIdle();
        EXPECT_EQ(soundMark > 10, check == MF_CHECKED) << soundMark;
        EXPECT_EQ(chooseMark, 0);
    }
}

TEST_F(MenuBars, CheckMenuItemReturnsThePreviousState)
{
    struct Step {
        UINT item;
        UINT check;
        DWORD previous;
    };
    const Step steps[] = {
        {ToggleCommand, MF_CHECKED, MF_UNCHECKED}, {ToggleCommand, MF_CHECKED, MF_CHECKED},
        {ToggleCommand, MF_UNCHECKED, MF_CHECKED}, {ToggleCommand, MF_UNCHECKED, MF_UNCHECKED},
        {AboutCommand, MF_CHECKED, MF_UNCHECKED},  {12345, MF_CHECKED, 0xFFFFFFFF},
        {0, MF_CHECKED, 0xFFFFFFFF},   // the separators have no command
    };
    HMENU menu = Tools();
    for (const Step& step : steps)
        EXPECT_EQ(CheckMenuItem(menu, step.item, step.check), step.previous) << step.item << " " << step.check;
    EXPECT_EQ(CheckMenuItem(reinterpret_cast<HMENU>(bar), ToggleCommand, MF_CHECKED), 0xFFFFFFFF);
    EXPECT_TRUE(DestroyWindow(bar));
    EXPECT_EQ(MenuBarOf(owner), nullptr);
    EXPECT_EQ(CheckMenuItem(menu, ToggleCommand, MF_CHECKED), 0xFFFFFFFF) << "the menu went with its bar";
    EXPECT_FALSE(DestroyWindow(nullptr));
}

TEST_F(MenuBars, TakeNoPressWhileADialogDisablesTheOwner)
{
    DialogBehaviour() = EndOnOkOrCancel;
    size_t windowsAfterTap = 0;
    OnIdle({[] { InjectTap(ToolsX, ToolsY); }, [&] { windowsAfterTap = TopLevelWindows().size(); }});
    EXPECT_EQ(RunDialog(owner), 100 + IDCANCEL);
    EXPECT_EQ(windowsAfterTap, 3u) << "owner, bar and dialog: no pop-up";
}

}  // namespace
