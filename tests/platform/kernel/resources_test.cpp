#include "tests/support/gdi_fixture.h"
#include "platform/kernel/resource_internals.h"

namespace {

const HINSTANCE Module = reinterpret_cast<HINSTANCE>(uintptr_t(0x5000));
const HINSTANCE OtherModule = reinterpret_cast<HINSTANCE>(uintptr_t(0x6000));

const StringResource strings[] = {{1, u"Numbrix"}, {3, u"NUMBRIX"}, {104, u"ツール"}};
const uint32_t bitmapPixels[] = {0xFF102030, 0x00405060, 0x00708090, 0x00A0B0C0, 0x00D0E0F0, 0x00010203};
const ImageResource bitmapImage{3, 2, bitmapPixels};
const BitmapResource bitmaps[] = {{107, &bitmapImage}};
const uint32_t iconPixels[32 * 32] = {};
const ImageResource iconImages[] = {{32, 32, iconPixels}, {16, 16, iconPixels}};
const IconResource icons[] = {{101, iconImages, 2}};
const ACCEL accelEntries[] = {{0x0B, 0x41, 40003}, {0x8B, 0x51, 1}};
const AcceleratorResource accelerators[] = {{3, accelEntries, 2}};
const MenuItemTemplate menuItems[] = {{u"About", 40003}};
const MenuTemplate menuPopups[] = {{u"Tools", menuItems, 1}};
const MenuResource menus[] = {{102, menuPopups, 1}};
const WORD menuBarWords[] = {102, 1, 0xFFFE, 40001, 4, 0x18, 104, 0, 0};
const MenuBarResource menuBars[] = {{102, menuBarWords, 9}};
const DialogTemplate aboutDialog{0x80C00040, 0, 0, 0, 156, 154, u"About Numbrix", u"System", 8, nullptr, 0};
const DialogResource dialogs[] = {{103, &aboutDialog}};
const ResourceTable table{strings, 3, icons, 1, bitmaps, 1, accelerators, 1, menus, 1, menuBars, 1, dialogs, 1};

class Resources : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        RegisterResources(Module, &table);
    }
    void TearDown() override
    {
        RegisterResources(Module, nullptr);
        DrawingTest::TearDown();
    }
};

TEST_F(Resources, LoadStringCopiesAtMostTheBufferLessOne)
{
    struct {
        int line;
        HINSTANCE module;
        UINT id;
        int bufferMax;
        int length;
        std::u16string text;
    } cases[] = {
        {__LINE__, Module, 1, 100, 7, u"Numbrix"},
        {__LINE__, Module, 1, 8, 7, u"Numbrix"},
        {__LINE__, Module, 1, 7, 6, u"Numbri"},
        {__LINE__, Module, 3, 4, 3, u"NUM"},
        {__LINE__, Module, 3, 1, 0, u""},
        {__LINE__, Module, 104, 100, 3, u"ツール"},
        {__LINE__, Module, 2, 100, 0, u""},
        {__LINE__, OtherModule, 1, 100, 0, u""},
    };
    for (const auto& c : cases) {
        WCHAR buffer[101];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        EXPECT_EQ(LoadStringW(c.module, c.id, buffer, c.bufferMax), c.length) << "line " << c.line;
        EXPECT_EQ(std::u16string(buffer), c.text) << "line " << c.line;
        EXPECT_EQ(buffer[c.bufferMax], u'#') << "wrote past the buffer, line " << c.line;
    }
}

TEST_F(Resources, LoadImageMakesAColourBitmapOfTheResource)
{
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(Module, MAKEINTRESOURCEW(107), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr);
    bitmapsMade.push_back(bitmap);
    BITMAP info;
    ASSERT_NE(GetObjectW(bitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    HDC dc = Dc(bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0x01, 0x02, 0x03));
    EXPECT_EQ(LoadImageW(Module, MAKEINTRESOURCEW(108), IMAGE_BITMAP, 0, 0, 0), nullptr);
    EXPECT_EQ(LoadImageW(Module, u"\\skin\\default\\back.bmp", IMAGE_BITMAP, 0, 0, 0), nullptr)
        << "a path is no resource";
    EXPECT_EQ(LoadImageW(OtherModule, MAKEINTRESOURCEW(107), IMAGE_BITMAP, 0, 0, 0), nullptr);
    FailNextCalls("LoadImageW", 1);
    EXPECT_EQ(LoadImageW(Module, MAKEINTRESOURCEW(107), IMAGE_BITMAP, 0, 0, 0), nullptr);
}

TEST_F(Resources, IconsAndTheirImages)
{
    HICON icon = LoadIconW(Module, MAKEINTRESOURCEW(101));
    EXPECT_EQ(static_cast<const void*>(icon), &icons[0]) << "the handle is the registered entry";
    EXPECT_EQ(LoadIconW(Module, MAKEINTRESOURCEW(100)), nullptr);
    EXPECT_EQ(LoadIconW(Module, u"APPICON"), nullptr);
    const int preferred[] = {32, 16, 40, 24, 20};
    const int chosen[] = {32, 16, 32, 32, 16};
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(FindIconImage(Module, 101, preferred[i]), nullptr);
        EXPECT_EQ(FindIconImage(Module, 101, preferred[i])->width, chosen[i]) << "preferred " << preferred[i];
    }
}

TEST_F(Resources, AcceleratorsMenusAndDialogs)
{
    HACCEL accel = LoadAcceleratorsW(Module, MAKEINTRESOURCEW(3));
    ASSERT_NE(FindAccelerators(accel), nullptr);
    EXPECT_EQ(FindAccelerators(accel)->entries[1].cmd, 1);
    EXPECT_EQ(FindAccelerators(reinterpret_cast<HACCEL>(uintptr_t(0x1234))), nullptr);
    EXPECT_EQ(LoadAcceleratorsW(Module, MAKEINTRESOURCEW(4)), nullptr);
    ASSERT_NE(FindMenu(Module, 102), nullptr);
    EXPECT_EQ(FindMenu(Module, 102)->popups[0].items[0].command, 40003u);
    ASSERT_NE(FindMenuBar(Module, 102), nullptr);
    EXPECT_EQ(FindMenuBar(Module, 102)->words[3], 40001);
    EXPECT_EQ(FindMenu(OtherModule, 102), nullptr);
    EXPECT_EQ(FindBitmapImage(Module, 107), &bitmapImage);

    HRSRC resource = FindResourceW(Module, MAKEINTRESOURCEW(103), RT_DIALOG);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(LoadResource(Module, resource), &aboutDialog);
    EXPECT_EQ(FindResourceW(Module, MAKEINTRESOURCEW(109), RT_DIALOG), nullptr);
    EXPECT_EQ(LoadResource(Module, reinterpret_cast<HRSRC>(uintptr_t(0x1234))), nullptr);
    EXPECT_EQ(LoadResource(OtherModule, resource), nullptr);
}

TEST_F(Resources, InjectedFaultsFailEachLookup)
{
    WCHAR buffer[100];
    FailNextCalls("LoadStringW", 1);
    EXPECT_EQ(LoadStringW(Module, 1, buffer, 100), 0);
    FailNextCalls("LoadIconW", 1);
    EXPECT_EQ(LoadIconW(Module, MAKEINTRESOURCEW(101)), nullptr);
    FailNextCalls("LoadAcceleratorsW", 1);
    EXPECT_EQ(LoadAcceleratorsW(Module, MAKEINTRESOURCEW(3)), nullptr);
    FailNextCalls("FindResourceW", 1);
    EXPECT_EQ(FindResourceW(Module, MAKEINTRESOURCEW(103), RT_DIALOG), nullptr);
    HRSRC resource = FindResourceW(Module, MAKEINTRESOURCEW(103), RT_DIALOG);
    FailNextCalls("LoadResource", 1);
    EXPECT_EQ(LoadResource(Module, resource), nullptr);
    EXPECT_EQ(LoadStringW(Module, 1, buffer, 100), 7) << "each fault is used once";
}

}  // namespace
