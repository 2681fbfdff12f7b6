// For the tests of the platform's dialogs, controls, menu bar and message boxes: a resource table
// of the tests' own, a test dialog, and idle scripts that look at the device and inject input
// while a nested loop runs.
#pragma once
#include "tests/support/window_fixture.h"

#include "platform/ui/controls.h"

#include <deque>
#include <memory>

namespace shellui {

inline const HINSTANCE Instance = reinterpret_cast<HINSTANCE>(uintptr_t(0x00020000));
constexpr UINT IconId = 11, BitmapId = 12, MenuId = 20, LabelId = 21, AcceleratorsId = 30;
constexpr UINT ButtonCommand = 400, ChooseCommand = 401, ToggleCommand = 402, AboutCommand = 403;
constexpr int ListId = 1001;
constexpr uint32_t IconColour = 0xC01020, BitmapColour = 0x2040E0;

inline const ResourceTable& Resources()
{
    static const std::vector<uint32_t> iconPixels(32 * 32, IconColour), bitmapPixels(50 * 40, BitmapColour);
    static const StringResource strings[] = {{LabelId, u"Tools"}};
    static const ImageResource iconImages[] = {{32, 32, iconPixels.data()}};
    static const IconResource icons[] = {{IconId, iconImages, 1}};
    static const ImageResource bitmapImage = {50, 40, bitmapPixels.data()};
    static const BitmapResource bitmaps[] = {{BitmapId, &bitmapImage}};
    static const ACCEL keys[] = {{FVIRTKEY | FNOINVERT | FCONTROL, 'A', AboutCommand},
                                 {0x80 | FVIRTKEY | FNOINVERT | FCONTROL, 'Q', 1}};
    static const AcceleratorResource accelerators[] = {{AcceleratorsId, keys, 2}};
    static const MenuItemTemplate items[] = {
        {u"Choose", ChooseCommand}, {nullptr, 0}, {u"Sound", ToggleCommand}, {nullptr, 0}, {u"About", AboutCommand}};
    static const MenuTemplate popups[] = {{u"Tools", items, 5}};
    static const MenuResource menus[] = {{MenuId, popups, 1}};
    static const WORD barWords[] = {WORD(MenuId), 1, 0xFFFE, WORD(ButtonCommand), 4, 0x18, WORD(LabelId), 0, 0};
    static const MenuBarResource menuBars[] = {{MenuId, barWords, 9}};
    static const ResourceTable table = {strings, 1, icons, 1, bitmaps, 1, accelerators, 1, menus, 1, menuBars, 1,
                                        nullptr, 0};
    return table;
}

// 160 x 179 dialog units: 240 x 268 pixels. The list box lies at (6, 6)-(234, 96) of the
// dialog's client area, OK at (72, 240)-(147, 261), Cancel at (156, 240)-(231, 261).
inline DialogTemplate TestDialog(DWORD exStyle = 0)
{
    static const DialogItemTemplate items[] = {
        {WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, 0, 4, 4, 152, 60, ListId, u"LISTBOX", u""},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 48, 160, 50, 14, IDOK, u"BUTTON", u"OK"},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 104, 160, 50, 14, IDCANCEL, u"BUTTON", u"Cancel"},
    };
    return DialogTemplate{WS_POPUP | WS_CAPTION | DS_SETFONT, exStyle, 0, 0, 160, 179, u"Test dialog", u"Gothic", 9,
                          items, 3};
}

// The dialog procedure of the tests: whatever the test sets, else FALSE.
using DialogHook = std::function<BOOL(HWND, UINT, WPARAM, LPARAM)>;
inline DialogHook& DialogBehaviour()
{
    static DialogHook hook;
    return hook;
}
inline BOOL TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogHook hook = DialogBehaviour();
    return hook ? hook(dialog, message, wParam, lParam) : FALSE;
}
// Ends the dialog with 100 + the command for OK and Cancel.
inline BOOL EndOnOkOrCancel(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL)) return FALSE;
    EndDialog(dialog, 100 + LOWORD(wParam));
    return TRUE;
}

// Runs one step each time the loop has nothing left to do; after the last step the headless
// idle rule takes over (WM_CLOSE to the active window).
inline void OnIdle(std::vector<std::function<void()>> steps)
{
    auto left = std::make_shared<std::deque<std::function<void()>>>(steps.begin(), steps.end());
    SetIdleHandler([left] {
        if (left->empty()) return false;
        auto step = left->front();
        left->pop_front();
        step();
        return true;
    });
}

inline POINT Centre(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
inline void TapOn(HWND window)
{
    POINT p = Centre(window);
    InjectTap(int(p.x), int(p.y));
}
inline void Drag(POINT from, POINT to)
{
    InjectStylusDown(int(from.x), int(from.y));
    InjectStylusMove(int(to.x), int(to.y));
    InjectStylusUp(int(to.x), int(to.y));
}

// Pixels of the screen inside a rectangle (screen coordinates) that have this colour.
inline int CountColour(const RECT& r, uint32_t colour)
{
    int count = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x) count += ScreenPixel(int(x), int(y)) == colour;
    return count;
}

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

class ShellTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        RegisterResources(Instance, &Resources());
        DialogBehaviour() = nullptr;
        EnsureControlClasses();
    }
    void TearDown() override
    {
        DialogBehaviour() = nullptr;
        WindowTest::TearDown();
        RegisterResources(Instance, nullptr);
    }
    static HWND MenuBarFor(HWND owner)
    {
        SHMENUBARINFO info{36, owner, 0, MenuId, Instance, 0, 0, nullptr, 0};
        return SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
    }
    static INT_PTR RunDialog(HWND owner, DialogTemplate dialog = TestDialog(), LPARAM param = 0)
    {
        return DialogBoxIndirectParamW(Instance, &dialog, owner, TestDialogProc, param);
    }
};

}  // namespace shellui
