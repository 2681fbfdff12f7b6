// The window-based message box, which the SDL host shows for MessageBoxW, run headless.
#include "platform/font.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_internals.h"
#include "platform/ui/shell_drawing.h"
#include "platform/unicode.h"
#include "platform/user/window_internals.h"
#include "tests/support/shell_ui_fixture.h"

namespace {

using namespace shellui;

const std::u16string LongText =
    u"スキンファイルが読み込めません。 The file could not be read, so the calculator cannot show its face.";

struct BoxDismissal {
    const char* name;
    std::function<void()> input;
};

class MessageBoxes : public ShellTest, public ::testing::WithParamInterface<BoxDismissal> {};

TEST_P(MessageBoxes, ShowCaptionAndWrappedTextAndEndWithOk)
{
    HWND owner = FullScreen();
    ASSERT_NE(MenuBarFor(owner), nullptr);
    Settle();
    OnIdle({[owner] {
        HWND box = ActiveWindow();
        EXPECT_EQ(WindowTitle(box), u"ERROR") << "the caption shows in the title bar";
        EXPECT_EQ(WindowOwner(box), owner);
        HWND text = GetDlgItem(box, 0xFFFF);
        EXPECT_EQ(WindowTitle(text), LongText);
        RECT boxRect, textRect;
        GetWindowRect(box, &boxRect);
        GetWindowRect(text, &textRect);
        EXPECT_GE(boxRect.top, 26);
        EXPECT_LE(boxRect.bottom, 294) << "above the owner's menu bar";
        if (FontAvailable()) {
            int lines = int(WrapText(LongText, int(textRect.right - textRect.left), DefaultControlTextSize).size());
            EXPECT_GT(lines, 1);
            EXPECT_GE(textRect.bottom - textRect.top, lines * TextLineHeight(DefaultControlTextSize));
        }
        GetParam().input();
    }});
    EXPECT_EQ(RunMessageBox(owner, LongText, u"ERROR"), IDOK);
    EXPECT_EQ(TopLevelWindows().size(), 2u) << "the box is gone; owner and menu bar stay";
    EXPECT_EQ(ActiveWindow(), owner);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, MessageBoxes,
                         ::testing::Values(BoxDismissal{"TapOk", [] { TapOn(GetDlgItem(ActiveWindow(), IDOK)); }},
                                           BoxDismissal{"Return", [] { InjectKey(VK_RETURN); }},
                                           BoxDismissal{"Close", [] {}}),
                         CaseName<BoxDismissal>);

TEST(TextWrapping, BreaksAtSpacesBetweenWideCharactersAndInsideLongWords)
{
    if (!FontAvailable()) GTEST_SKIP() << "no font: every width is 0";
    int size = 12;
    int wordWidth = TextWidth(u"alpha", size);
    EXPECT_EQ(WrapText(u"alpha beta", wordWidth, size), (std::vector<std::u16string>{u"alpha", u"beta"}));
    EXPECT_EQ(WrapText(u"alpha\nbeta", 1000, size), (std::vector<std::u16string>{u"alpha", u"beta"}));
    EXPECT_EQ(WrapText(u"ｱｲｳｴ", TextWidth(u"ｱｲ", size), size).size(), 2u);
    for (const auto& line : WrapText(u"abcdefghijklmnop", wordWidth, size))
        EXPECT_LE(TextWidth(line, size), wordWidth) << Utf8FromUtf16(line);
}

}  // namespace
