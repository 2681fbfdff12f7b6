#include "platform/user/window_internals.h"
#include "tests/support/shell_ui_fixture.h"

namespace {

using namespace shellui;

struct AcceleratorCase {
    const char* name;
    UINT message;
    WPARAM key;
    bool control;
    WORD command;   // 0: not translated
};

class Accelerators : public ShellTest, public ::testing::WithParamInterface<AcceleratorCase> {};

TEST_P(Accelerators, TranslateMatchingKeyDownsIntoCommands)
{
    const AcceleratorCase& c = GetParam();
    HWND window = FullScreen();
    HACCEL table = LoadAcceleratorsW(Instance, MAKEINTRESOURCEW(AcceleratorsId));
    ASSERT_NE(table, nullptr);
    PostInputMessage(window, c.message, c.key, 1, c.control);
    MSG msg;
    ASSERT_TRUE(TakeNextMessage(&msg));
    EXPECT_EQ(TranslateAcceleratorW(msg.hwnd, table, &msg), c.command ? 1 : 0);
    EXPECT_EQ(CountOf(window, WM_COMMAND), c.command ? 1 : 0);
    if (const ReceivedMessage* command = LastOf(window, WM_COMMAND)) {
        EXPECT_EQ(command->wParam, WPARAM(MAKELONG(c.command, 1))) << "the command, from an accelerator";
    }
}

INSTANTIATE_TEST_SUITE_P(Accelerators, Accelerators,
                         ::testing::Values(AcceleratorCase{"CtrlA", WM_KEYDOWN, 'A', true, AboutCommand},
                                           AcceleratorCase{"CtrlQ", WM_KEYDOWN, 'Q', true, 1},
                                           AcceleratorCase{"AWithoutControl", WM_KEYDOWN, 'A', false, 0},
                                           AcceleratorCase{"CtrlB", WM_KEYDOWN, 'B', true, 0},
                                           AcceleratorCase{"CtrlAReleased", WM_KEYUP, 'A', true, 0}),
                         CaseName<AcceleratorCase>);

}  // namespace
