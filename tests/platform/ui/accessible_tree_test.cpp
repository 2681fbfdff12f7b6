// The screen as the platform describes it to screen readers, and the actions that come back as
// WM_ACCESSIBLEACTION, run headless.
#include "platform/accessible_tree.h"
#include "platform/ui/dialog_internals.h"
#include "platform/user/window_internals.h"
#include "tests/support/shell_ui_fixture.h"

namespace {

using namespace shellui;

const AccessibleNode* Find(const std::vector<AccessibleNode>& nodes, AccessibleRole role, const std::u16string& name)
{
    for (const AccessibleNode& node : nodes)
        if (node.role == role && node.name == name) return &node;
    return nullptr;
}

// A face of a label and a button; the button's presses are counted.
int presses = 0;
int FaceItems()
{
    return 2;
}
void DescribeItem(int index, AccessibleItem* item)
{
    *item = AccessibleItem{index == 0 ? AccessibleLabel : AccessiblePushButton, {}, {}, RECT{10, 20, 30, 40}, TRUE, FALSE};
    item->name[0] = index == 0 ? u'L' : u'B';
}
void PressItem(int)
{
    ++presses;
}
const AccessibleFace TestFace = {FaceItems, DescribeItem, PressItem};

class AccessibleTree : public ShellTest {};

TEST_F(AccessibleTree, AFacesButtonsLieWhereTheWindowIsAndPressOnlyWhileItTakesInput)
{
    HWND owner = FullScreen();
    SetWindowAccessibleFace(owner, &TestFace);
    presses = 0;
    struct Case {
        bool input;
        int pressesAfter;
    };
    for (Case c : {Case{true, 1}, Case{false, 1}}) {
        SetWindowInputEnabled(owner, c.input);
        std::vector<AccessibleNode> nodes = DescribeScreen(u"App");
        const AccessibleNode* frame = Find(nodes, AccessibleRole::Frame, u"Test");
        const AccessibleNode* button = Find(nodes, AccessibleRole::PushButton, u"B");
        ASSERT_TRUE(frame && button && Find(nodes, AccessibleRole::Label, u"L"));
        EXPECT_EQ(nodes[size_t(button->parent)].key, frame->key);
        EXPECT_EQ(button->rect.top, 20 + 26) << "below the title bar, where the window is";
        EXPECT_EQ(button->enabled, c.input);
        PostMessageW(button->target, WM_ACCESSIBLEACTION, button->item, 5);
        RunUntilIdle();
        EXPECT_EQ(presses, c.pressesAfter);
        EXPECT_EQ(AccessibleActionsDone(), 5u);
    }
}

TEST_F(AccessibleTree, AMessageBoxIsAnAlertThatReadsItsTextAndItsOkEndsIt)
{
    HWND owner = FullScreen();
    std::vector<AccessibleNode> seen;
    OnIdle({[&seen] {
                seen = DescribeScreen(u"App");
                const AccessibleNode* ok = Find(seen, AccessibleRole::PushButton, u"OK");
                ASSERT_NE(ok, nullptr);
                PostMessageW(ok->target, WM_ACCESSIBLEACTION, ok->item, 3);
            },
            [] { ADD_FAILURE() << "the action left the box open"; }});
    EXPECT_EQ(RunMessageBox(owner, u"The skin is broken.", u"ERROR"), IDOK);
    const AccessibleNode* alert = Find(seen, AccessibleRole::Alert, u"ERROR");
    const AccessibleNode* text = Find(seen, AccessibleRole::Label, u"The skin is broken.");
    ASSERT_TRUE(alert && text);
    EXPECT_EQ(seen[size_t(text->parent)].key, alert->key);
    EXPECT_EQ(AccessibleActionsDone(), 3u);
}

}  // namespace
