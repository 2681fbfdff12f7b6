#include "tests/support/skin_fixture.h"

#include "engine/skin_cells.h"
#include "engine/sound_effects.h"
#include "platform/faults.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

namespace {

std::string Utf8(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) out += c < 128 ? char(c) : '?';
    return out;
}

class SkinLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReleaseSurfaces();
        ResetSurfaceBank();
        std::memset(SkinLayout, 0, sizeof SkinLayout);
        std::memset(SoundBank, 0, sizeof SoundBank);
        appSettings.soundEffects = 1;
        CreateTestMainWindow();
        ClearMessageBoxLog();
        ClearSoundLog();
        ClearFaults();
    }
    void TearDown() override
    {
        ReleaseSurfaces();
        DestroyWindow(mainWindow);
        ClearFaults();
    }
    int32_t Load(const std::u16string& path) { return LoadSkin(path.c_str()); }
    std::u16string OnlyMessage()
    {
        EXPECT_EQ(MessageBoxLog().size(), 1u);
        if (MessageBoxLog().empty()) return u"";
        EXPECT_EQ(MessageBoxLog()[0].caption, u"ERROR");
        EXPECT_EQ(MessageBoxLog()[0].owner, mainWindow);
        EXPECT_EQ(MessageBoxLog()[0].type, MB_OK);
        return MessageBoxLog()[0].text;
    }
    std::u16string SkinPath(const char* name, const char* file)
    {
        return std::u16string(appDirectory) + u"skin\\" + DevicePathFromHost(name) + u"\\" + DevicePathFromHost(file);
    }
    TestInstallation install;
};

TEST_F(SkinLoaderTest, CompleteSkinFillsEverything)
{
    ASSERT_EQ(Load(install.WriteSkin("test")), 0);
    EXPECT_TRUE(MessageBoxLog().empty());
    for (int cell = 0; cell < CellCount; cell++) {
        const SpriteCell& c = SpriteCells[cell];
        EXPECT_EQ(c.surface, 2);
        EXPECT_EQ(c.x, CellX(cell));
        EXPECT_EQ(c.y, CellY(cell));
        EXPECT_EQ(c.width, 6);
        EXPECT_EQ(c.height, 6);
    }
    EXPECT_EQ(SpriteCells[CellCount].width, 0);
    for (int a = 0; a < AreaCount; a++) {
        Area expected = TestArea(a);
        EXPECT_EQ(std::memcmp(&SkinLayout[a], &expected, sizeof expected), 0) << "area " << a;
    }
    for (int s = 0; s < SoundCount; s++)
        EXPECT_EQ(std::u16string(SoundBank[s]), SkinPath("test", ("s" + std::to_string(s + 1) + ".wav").c_str()));
    EXPECT_EQ(SurfaceBank[SlotComposition].width, FaceWidth);
    EXPECT_EQ(SurfaceBank[SlotComposition].height, FaceHeight);
    EXPECT_EQ(SurfaceBank[SlotBackground].width, FaceWidth);
    EXPECT_EQ(SurfaceBank[SlotParts].width, TestPartsWidth);
    EXPECT_EQ(SurfaceBank[SlotParts].maskSlot, SlotPartsMask);
    EXPECT_EQ(SurfaceBank[SlotPartsMask].height, TestPartsHeight);
    ASSERT_EQ(SoundLog().size(), 1u);
    EXPECT_EQ(SoundLog()[0].path, SkinPath("test", "s1.wav"));
}

struct MissingKeyCase {
    const char* section;
    const char* key;
    const char16_t* message;
};

class SkinLoaderMissingKey : public SkinLoaderTest, public ::testing::WithParamInterface<MissingKeyCase> {};

TEST_P(SkinLoaderMissingKey, StopsWithItsMessage)
{
    TestSkinText text;
    text.Remove(GetParam().section, GetParam().key);
    EXPECT_EQ(Load(install.WriteSkin("test", text)), 1);
    EXPECT_EQ(Utf8(OnlyMessage()), Utf8(GetParam().message));
    EXPECT_EQ(OnlyMessage(), GetParam().message);
    EXPECT_TRUE(SoundLog().empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, SkinLoaderMissingKey, ::testing::Values(
    MissingKeyCase{"FILE", "BACKIMAGE", u"スキンファイルが壊れている、又はありません。[FILE][BACKIMAGE]"},
    MissingKeyCase{"FILE", "PARTSIMAGE", u"スキンファイルが壊れている、又はありません。[FILE][PARTSIMAGE]"},
    MissingKeyCase{"CHARACTER", "CHAR001", u"スキンファイルが壊れている、又はありません。[CHARACTER][CHAR001]"},
    MissingKeyCase{"CHARACTER", "CHAR042", u"スキンファイルが壊れている、又はありません。[CHARACTER][CHAR042]"},
    MissingKeyCase{"CHARACTER", "CHAR112", u"スキンファイルが壊れている、又はありません。[CHARACTER][CHAR112]"},
    MissingKeyCase{"AREA", "AREA01", u"スキンファイルが壊れている、又はありません。[AREA][AREA01]"},
    MissingKeyCase{"AREA", "AREA17", u"スキンファイルが壊れている、又はありません。[AREA][AREA17]"},
    MissingKeyCase{"AREA", "AREA43", u"スキンファイルが壊れている、又はありません。[AREA][AREA43]"}));

TEST_F(SkinLoaderTest, MissingFileStopsAtTheBackgroundImage)
{
    EXPECT_EQ(Load(DevicePathFromHost(install.HostPath("skin/none.skn"))), 1);
    EXPECT_EQ(OnlyMessage(), u"スキンファイルが壊れている、又はありません。[FILE][BACKIMAGE]");
}

TEST_F(SkinLoaderTest, ValueThatIsLiterallyTheDefaultCountsAsAbsent)
{
    TestSkinText text;
    text.Set("FILE", "PARTSIMAGE", "---");
    EXPECT_EQ(Load(install.WriteSkin("test", text)), 1);
    EXPECT_EQ(OnlyMessage(), u"スキンファイルが壊れている、又はありません。[FILE][PARTSIMAGE]");
}

TEST_F(SkinLoaderTest, StopAtAreaSeventeenKeepsWhatWasRead)
{
    for (auto& area : SkinLayout) area = Area{-5, -5, -5, -5};
    SoundBank[3][0] = u'x';
    SoundBank[3][1] = 0;
    TestSkinText text;
    text.Remove("AREA", "AREA17");
    EXPECT_EQ(Load(install.WriteSkin("test", text)), 1);
    EXPECT_EQ(SpriteCells[111].x, CellX(111));
    EXPECT_EQ(SkinLayout[15].x, TestArea(15).x);
    EXPECT_EQ(SkinLayout[16].x, -5);
    EXPECT_EQ(SkinLayout[42].y, -5);
    EXPECT_EQ(std::u16string(SoundBank[3]), u"x");   // sounds come after the areas
    EXPECT_EQ(SurfaceBank[SlotComposition].dc, nullptr);
}

TEST_F(SkinLoaderTest, SkinWithoutSoundsLoadsSilently)
{
    TestSkinText text;
    text.RemoveSection("SOUND");
    SoundBank[0][0] = u'x';
    EXPECT_EQ(Load(install.WriteSkin("test", text)), 0);
    for (auto& sound : SoundBank) EXPECT_EQ(sound[0], 0);
    EXPECT_TRUE(SoundLog().empty());
}

TEST_F(SkinLoaderTest, PartialNumbersLeaveFieldsAsTheyWere)
{
    TestSkinText text;
    text.Set("AREA", "AREA05", "1,2,3");
    text.Set("AREA", "AREA06", "7 ,8,9,10");
    text.Set("CHARACTER", "CHAR001", "4,5");
    text.Set("CHARACTER", "CHAR003", "9");
    SkinLayout[4] = Area{0, 0, 0, 77};
    SkinLayout[5] = Area{0, 66, 55, 44};
    ASSERT_EQ(Load(install.WriteSkin("test", text)), 0);
    EXPECT_EQ(SkinLayout[4].x, 1);
    EXPECT_EQ(SkinLayout[4].height, 77);
    EXPECT_EQ(SkinLayout[5].x, 7);
    EXPECT_EQ(SkinLayout[5].y, 66);
    EXPECT_EQ(SkinLayout[5].height, 44);
    // CHAR001 without its size gets 0; CHAR003 takes y, width, height from CHAR002.
    EXPECT_EQ(SpriteCells[0].x, 4);
    EXPECT_EQ(SpriteCells[0].width, 0);
    EXPECT_EQ(SpriteCells[2].x, 9);
    EXPECT_EQ(SpriteCells[2].y, CellY(1));
    EXPECT_EQ(SpriteCells[2].width, 6);
}

struct SurfaceFailureCase {
    const char* service;
    int skip;
    const char16_t* message;
};
class SkinLoaderSurfaceFailure : public SkinLoaderTest, public ::testing::WithParamInterface<SurfaceFailureCase> {};

TEST_P(SkinLoaderSurfaceFailure, StopsWithTheSurfaceMessage)
{
    std::u16string path = install.WriteSkin("test");
    FailNextCalls(GetParam().service, 1, GetParam().skip);
    EXPECT_EQ(Load(path), 1);
    EXPECT_EQ(OnlyMessage(), GetParam().message);
    EXPECT_TRUE(SoundLog().empty());
    for (auto& sound : SoundBank) EXPECT_NE(sound[0], 0);   // the sounds were read before
}

INSTANTIATE_TEST_SUITE_P(Surfaces, SkinLoaderSurfaceFailure, ::testing::Values(
    SurfaceFailureCase{"GetDC", 0, u"仮想画面(0)の作成に失敗しました。"},
    SurfaceFailureCase{"CreateCompatibleBitmap", 0, u"仮想画面(0)の作成に失敗しました。"},
    SurfaceFailureCase{"SHLoadDIBitmap", 0, u"仮想画面(1)の作成に失敗しました。"},
    SurfaceFailureCase{"SHLoadDIBitmap", 1, u"仮想画面(2)の作成に失敗しました。"},
    SurfaceFailureCase{"CreateBitmap", 0, u"仮想画面(3)の作成に失敗しました。"}));

TEST_F(SkinLoaderTest, MissingImagesStopAtTheirSurface)
{
    std::u16string path = install.WriteSkin("test");
    std::filesystem::remove(install.HostPath("skin/test/parts.bmp"));
    EXPECT_EQ(Load(path), 1);
    EXPECT_EQ(OnlyMessage(), u"仮想画面(2)の作成に失敗しました。");
    ReleaseSurfaces();
    ClearMessageBoxLog();
    TestSkinText text;
    text.Set("FILE", "BACKIMAGE", " back.bmp");
    EXPECT_EQ(Load(install.WriteSkin("test", text)), 1);
    EXPECT_EQ(OnlyMessage(), u"仮想画面(1)の作成に失敗しました。");
    ReleaseSurfaces();
    ClearMessageBoxLog();
    text.Set("FILE", "BACKIMAGE", "");
    EXPECT_EQ(Load(install.WriteSkin("test", text)), 1);
    EXPECT_EQ(OnlyMessage(), u"仮想画面(1)の作成に失敗しました。");
}

TEST_F(SkinLoaderTest, ImagesComeFromTheApplicationsSkinFolder)
{
    install.WriteSkin("elsewhere");
    TempDir other;
    WriteFile(other.HostPath("elsewhere.skn"), TestSkinText().Text());
    EXPECT_EQ(Load(other.DevicePath("elsewhere.skn")), 0);
    EXPECT_EQ(std::u16string(SoundBank[1]), SkinPath("elsewhere", "s2.wav"));
}

TEST_F(SkinLoaderTest, SecondSkinLeavesNoTraceOfTheFirst)
{
    TestSkinText first;
    first.Set("AREA", "AREA01", "1,1,1,1");
    first.Set("CHARACTER", "CHAR005", "0,0,2,2");
    ASSERT_EQ(Load(install.WriteSkin("first", first, 0x00FF00)), 0);
    ReleaseSurfaces();
    ASSERT_EQ(Load(install.WriteSkin("second")), 0);
    EXPECT_EQ(SkinLayout[0].x, TestArea(0).x);
    EXPECT_EQ(SpriteCells[4].width, 6);
    EXPECT_EQ(std::u16string(SoundBank[8]), SkinPath("second", "s9.wav"));
    HDC dc = SurfaceBank[SlotBackground].dc;
    COLORREF c = GetPixel(dc, 10, 10);
    EXPECT_EQ(c, RGB(0x10, 0x20, 0x30));
}

TEST_F(SkinLoaderTest, PartsMaskBlackensTheTransparentColour)
{
    ASSERT_EQ(Load(install.WriteSkin("test")), 0);
    EXPECT_EQ(GetPixel(SurfaceBank[SlotParts].dc, CellX(5), CellY(5)), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(SurfaceBank[SlotParts].dc, CellX(5) + 1, CellY(5)), RGB(0x80, 0x05, 0x11));
    EXPECT_EQ(GetPixel(SurfaceBank[SlotPartsMask].dc, CellX(5), CellY(5)), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(SurfaceBank[SlotPartsMask].dc, CellX(5) + 1, CellY(5)), RGB(0, 0, 0));
}

struct NameCase {
    const char16_t* path;
    const char16_t* name;
};
class SkinName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SkinName, ComesFromThePath)
{
    WCHAR name[MAX_PATH];
    SkinNameFromPath(GetParam().path, name);
    EXPECT_EQ(std::u16string(name), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Paths, SkinName, ::testing::Values(
    NameCase{u"\\app\\skin\\default.skn", u"default"},
    NameCase{u"\\app\\skin\\my.blue.skn", u"my.blue"},
    NameCase{u"\\app.d\\skin\\plain", u"app"},
    NameCase{u"default.skn", u"default"},
    NameCase{u"\\app\\skin\\plain", u"plain"},
    NameCase{u"plain", u"plain"},
    NameCase{u"", u""}));

TEST_F(SkinLoaderTest, PathsTooLongForTheBufferAreNeverCut)
{
    TestSkinText text;
    std::string longName(240, 'n');
    text.Set("SOUND", "SOUND02", longName + ".wav");
    ASSERT_EQ(Load(install.WriteSkin("test", text)), 0);
    EXPECT_EQ(SoundBank[1][0], 0);
    EXPECT_NE(SoundBank[2][0], 0);
    ReleaseSurfaces();
    text.Set("FILE", "PARTSIMAGE", longName + ".bmp");
    EXPECT_EQ(Load(install.WriteSkin("test", text)), 1);
    EXPECT_EQ(OnlyMessage(), u"仮想画面(2)の作成に失敗しました。");
}

}  // namespace
