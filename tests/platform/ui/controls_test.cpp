// List boxes and statics on their own; push buttons are tested in their dialogs.
#include "platform/ui/shell_drawing.h"
#include "tests/support/shell_ui_fixture.h"

namespace {

using namespace shellui;

// A list box at (10, 36) on the screen, 120 x 94: entries 18 pixels high from y = 37, five of
// them whole; when it scrolls, the bar is at x 116-129 with the arrows at y 37-50 and 116-129.
class ListBoxes : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        parent = FullScreen();
        list = CreateWindowExW(0, u"LISTBOX", u"", WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, 10, 10, 120, 94,
                               parent, reinterpret_cast<HMENU>(ListId), Instance, nullptr);
        ASSERT_NE(list, nullptr);
    }
    void Add(int count)
    {
        for (int i = 0; i < count; ++i) {
            std::u16string entry = u"entry " + std::u16string(1, char16_t(u'a' + i));
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        }
        Settle();
    }
    LRESULT Selected() const { return SendMessageW(list, LB_GETCURSEL, 0, 0); }
    HWND parent = nullptr;
    HWND list = nullptr;
};
constexpr int Row0 = 46, RowStep = 18;   // the middle of the first row, and the step to the next

TEST_F(ListBoxes, MessagesKeepEntriesInOrderWithOneSelection)
{
    struct Step {
        UINT message;
        WPARAM wParam;
        const char16_t* text;   // LB_ADDSTRING: the entry; LB_GETTEXT: what the buffer must hold
        LRESULT expected;
    };
    const Step steps[] = {
        {LB_GETCOUNT, 0, nullptr, 0},    {LB_GETCURSEL, 0, nullptr, LB_ERR}, {LB_ADDSTRING, 0, u"b.skn", 0},
        {LB_ADDSTRING, 0, u"a.skn", 1},  {LB_GETCOUNT, 0, nullptr, 2},       {LB_GETTEXT, 0, u"b.skn", 5},
        {LB_GETTEXT, 1, u"a.skn", 5},    {LB_GETTEXT, 2, nullptr, LB_ERR},   {LB_SETCURSEL, 1, nullptr, 1},
        {LB_GETCURSEL, 0, nullptr, 1},   {LB_SETCURSEL, 7, nullptr, LB_ERR}, {LB_GETCURSEL, 0, nullptr, 1},
        {LB_SETCURSEL, WPARAM(-1), nullptr, LB_ERR},                         {LB_GETCURSEL, 0, nullptr, LB_ERR},
        {LB_SETCURSEL, 0, nullptr, 0},   {LB_RESETCONTENT, 0, nullptr, 0},   {LB_GETCOUNT, 0, nullptr, 0},
        {LB_GETCURSEL, 0, nullptr, LB_ERR},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << step.message << " wParam " << step.wParam);
        WCHAR buffer[MAX_PATH];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        bool getText = step.message == LB_GETTEXT;
        LPARAM lParam = getText ? reinterpret_cast<LPARAM>(buffer) : reinterpret_cast<LPARAM>(step.text);
        EXPECT_EQ(SendMessageW(list, step.message, step.wParam, lParam), step.expected);
        if (getText && step.text) {
            EXPECT_EQ(std::u16string(buffer), step.text);
            EXPECT_EQ(buffer[std::u16string(step.text).size() + 1], u'#') << "nothing written past the terminator";
        }
    }
}

struct SelectionCase {
    const char* name;
    std::function<void()> input;
    LRESULT selected;
    int notifications;
};

class ListSelections : public ListBoxes, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(ListSelections, FollowTheStylusAreHighlightedAndTellTheParent)
{
    Add(3);
    GetParam().input();
    RunUntilIdle();
    EXPECT_EQ(Selected(), GetParam().selected);
    EXPECT_EQ(CountOf(parent, WM_COMMAND), GetParam().notifications);
    if (const ReceivedMessage* notification = LastOf(parent, WM_COMMAND)) {
        EXPECT_EQ(notification->wParam, WPARAM(MAKELONG(ListId, LBN_SELCHANGE)));
        EXPECT_EQ(notification->lParam, reinterpret_cast<LPARAM>(list));
    }
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(ScreenPixel(12, Row0 + RowStep * row) == ShellHighlight, row == GetParam().selected) << row;
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ListSelections,
    ::testing::Values(SelectionCase{"TapOnAnEntry", [] { InjectTap(40, Row0 + 2 * RowStep); }, 2, 1},
                      SelectionCase{"TapBelowTheEntries", [] { InjectTap(40, Row0 + 4 * RowStep); }, LB_ERR, 0},
                      SelectionCase{"Drag", [] { Drag({40, Row0}, {40, Row0 + RowStep}); }, 1, 2}),
    CaseName<SelectionCase>);

struct ScrollCase {
    const char* name;
    std::function<void(HWND list)> act;
    LRESULT top;   // the entry in the first row afterwards
};

class ListScrolling : public ListBoxes, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ListScrolling, BringsLaterEntriesIntoView)
{
    Add(20);
    GetParam().act(list);
    RunUntilIdle();
    InjectTap(40, Row0);
    RunUntilIdle();
    EXPECT_EQ(Selected(), GetParam().top);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ListScrolling,
    ::testing::Values(ScrollCase{"DownArrow", [](HWND) { InjectTap(122, 122); }, 1},
                      ScrollCase{"DownArrowThrice", [](HWND) { for (int i = 0; i < 3; ++i) InjectTap(122, 122); }, 3},
                      ScrollCase{"DownThenUpArrow", [](HWND) { InjectTap(122, 122); InjectTap(122, 43); }, 0},
                      ScrollCase{"UpArrowAtTheTop", [](HWND) { InjectTap(122, 43); }, 0},
                      ScrollCase{"TrackBelowTheThumbPages", [](HWND) { InjectTap(122, 100); }, 5},
                      ScrollCase{"ThumbDraggedToTheEnd", [](HWND) { Drag({122, 58}, {122, 300}); }, 15},
                      ScrollCase{"SelectionSetBeyondTheView", [](HWND list) { SendMessageW(list, LB_SETCURSEL, 12, 0); },
                                 8}),
    CaseName<ScrollCase>);

struct PictureCase {
    const char* name;
    DWORD style, exStyle;
    UINT id;
    LONG size;   // the control's width and height afterwards minus the picture's
    uint32_t colour;
    int pictureWidth, pictureHeight;
};

class StaticPictures : public ShellTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(StaticPictures, TakeThePicturesSizeAndDrawIt)
{
    const PictureCase& c = GetParam();
    HWND picture = CreateWindowExW(c.exStyle, u"STATIC", MAKEINTRESOURCEW(c.id), WS_CHILD | WS_VISIBLE | c.style, 10,
                                   10, 30, 30, FullScreen(), reinterpret_cast<HMENU>(0xFFFF), Instance, nullptr);
    ASSERT_NE(picture, nullptr);
    Settle();
    RECT r;
    GetWindowRect(picture, &r);
    EXPECT_EQ(r.right - r.left, c.pictureWidth + c.size);
    EXPECT_EQ(r.bottom - r.top, c.pictureHeight + c.size);
    int inset = c.exStyle ? 2 : 0;   // inside the sunken edge
    RECT image{r.left + inset, r.top + inset, r.left + inset + c.pictureWidth, r.top + inset + c.pictureHeight};
    EXPECT_EQ(CountColour(image, c.colour), c.pictureWidth * c.pictureHeight);
    EXPECT_EQ(CountColour(RECT{0, 26, 240, 320}, c.colour), c.pictureWidth * c.pictureHeight) << "nothing outside";
}

INSTANTIATE_TEST_SUITE_P(
    Controls, StaticPictures,
    ::testing::Values(PictureCase{"Icon", SS_ICON, 0, IconId, 0, IconColour, 32, 32},
                      PictureCase{"BitmapWithClientEdge", SS_BITMAP, WS_EX_CLIENTEDGE, BitmapId, 4, BitmapColour, 50, 40},
                      PictureCase{"MissingBitmap", SS_BITMAP, 0, 99, 30, BitmapColour, 0, 0}),
    CaseName<PictureCase>);

}  // namespace
