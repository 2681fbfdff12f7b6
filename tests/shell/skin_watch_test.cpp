// Live reload under --watch, the whole program in the headless host: a save is loaded over the
// face with the calculator's state kept, a save of several files is one reload, and a save that
// breaks the skin keeps the last good face with the red mark in the title bar and no message box
// until a save mends it. Without --watch nothing is watched.
#include "tests/support/program_fixture.h"

#include "engine/calc_state.h"
#include "engine/skin_cells.h"
#include "platform/screen.h"
#include "shell/skin_watch.h"

namespace {

constexpr uint32_t MarkRed = 0xFF0000;

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class SkinWatchTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        skinFile = install.HostPath("work/live.skn");
        Save(TestSkinText(), TestBackground);
    }

    // The author's skin lies in a folder of its own, its images and sounds in live/ beside it.
    void Save(const TestSkinText& text, uint32_t background) { install.WriteSkin("live", text, background, "work"); }

    static void TapKey(int key)
    {
        Area area = TestArea(key);
        InjectTap(area.x + 1, area.y + 1 + TitleBarHeight);
    }
    static void TakeSave() { ASSERT_TRUE(WaitForWorkerMessages(5000)) << "the save was not noticed"; }
    // A point of the background that no cell covers.
    static uint32_t Background() { return ScreenPixel(100, TitleBarHeight + 5); }
    // Inside the mark, left of the title bar's close button.
    static uint32_t Mark() { return ScreenPixel(ScreenWidth - 26 - 2 - 16 + 2, 7); }
    // Every load plays the skin's "loaded" sound.
    int Loads()
    {
        int loads = 0;
        for (const SoundRecord& sound : SoundLog()) loads += sound.path == install.dir.DevicePath("work/live/s1.wav");
        return loads;
    }

    std::string skinFile;
};

TEST_F(SkinWatchTest, SavesReloadWithTheStateKeptAndABrokenSaveKeepsTheLastGoodFace)
{
    TestSkinText broken;
    broken.Remove("AREA", "AREA17");
    testing::internal::CaptureStderr();
    Run({[] {
             TapKey(4);   // 1
             TapKey(10);  // 2
             TapKey(KeyAdd);
         },
         [&] { Save(TestSkinText(), 0x405060); },
         [] { TakeSave(); },
         [&] {
             EXPECT_EQ(Background(), 0x405060u);
             EXPECT_EQ(Loads(), 2) << "one load at start, one for the save of three files";
             EXPECT_NE(Mark(), MarkRed);
             Save(broken, 0x708090);
         },
         [] { TakeSave(); },
         [&] {
             EXPECT_EQ(Background(), 0x405060u) << "the last good face stays";
             EXPECT_EQ(Mark(), MarkRed);
             EXPECT_EQ(Loads(), 2);
             TapKey(16);   // 3, drawn with the last good skin
         },
         [&] {
             Area rightmost = TestArea(AreaFirstPosition);
             EXPECT_EQ(ScreenPixel(rightmost.x + 2, rightmost.y + 2 + TitleBarHeight), CellColor(CellFirstDigit + 3));
             Save(TestSkinText(), 0x708090);
         },
         [] { TakeSave(); },
         [&] {
             EXPECT_EQ(Background(), 0x708090u);
             EXPECT_NE(Mark(), MarkRed);
             EXPECT_EQ(Loads(), 3);
         }},
        u"--watch " + DevicePathFromHost(skinFile));
    std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Occurrences(report, skinFile + ": error: AREA17: is missing"), 1u) << report;
    EXPECT_EQ(Occurrences(report, "the calculator does not load this skin"), 1u) << report;
    EXPECT_EQ(Occurrences(report, "(images and sounds in " + install.HostPath("work/live") + "/)"), 1u) << report;
    EXPECT_TRUE(MessageBoxLog().empty());
    EXPECT_EQ(calcState.decimalAccumulator, 12.0);
    EXPECT_EQ(calcState.decimalValue, 3.0);
    EXPECT_EQ(calcState.pendingOp, OpAdd);
    EXPECT_FALSE(RegistryHolds("live.skn")) << "the skin of --skin is kept for its run only";
}

// The host hands the program "--watch" and the --skin file, each when given.
TEST_F(SkinWatchTest, TheCommandLineNamesTheSkinAndWhetherItIsWatched)
{
    install.WriteSkin("default");
    const std::u16string stored = SkinPath("default.skn"), given = DevicePathFromHost(skinFile);
    const struct {
        std::u16string line, skin;
        bool watched;
    } cases[] = {{u"", stored, false}, {u"--watch", stored, true}, {given, given, false}, {u"--watch " + given, given, true}};
    for (const auto& c : cases) {
        Run({[&] {
                EXPECT_EQ(std::u16string(appSettings.skinFile), c.skin);
                EXPECT_EQ(bool(skinWatchOn), c.watched);
            }},
            c.line);
    }
}

TEST_F(SkinWatchTest, WithoutWatchNothingIsWatched)
{
    Run({[&] { Save(TestSkinText(), 0x405060); },
         [] { EXPECT_FALSE(WaitForWorkerMessages(3 * ChangeNotifyQuietMs)); }},
        DevicePathFromHost(skinFile));
    EXPECT_EQ(Loads(), 1);
}

}  // namespace
