#include "tests/support/skin_fixture.h"

#include "engine/key_table.h"
#include "engine/skin_cells.h"
#include "engine/sound_effects.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

namespace {

// The skins the build generates load as the calculator loads them, and everything they place
// lies inside the parts image and the client area.
class GeneratedSkin : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        std::string buildDir = std::filesystem::path(NUMBRIX_SKIN_BUILD_DIR).parent_path().string();
        std::u16string device = DevicePathFromHost(buildDir) + u"\\";
        std::memcpy(appDirectory, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
        ReleaseSurfaces();
        CreateTestMainWindow();
        ClearMessageBoxLog();
    }
    void TearDown() override
    {
        ReleaseSurfaces();
        DestroyWindow(mainWindow);
        appDirectory[0] = 0;
    }
};

TEST_P(GeneratedSkin, LoadsWithEverythingInside)
{
    std::u16string path = std::u16string(appDirectory) + u"skin\\" + DevicePathFromHost(GetParam()) + u".skn";
    ASSERT_EQ(LoadSkin(path.c_str()), 0);
    EXPECT_TRUE(MessageBoxLog().empty());
    const SurfaceSlot& parts = SurfaceBank[SlotParts];
    for (int cell = 0; cell < CellCount; cell++) {
        const SpriteCell& c = SpriteCells[cell];
        EXPECT_GT(c.width, 0) << "cell " << cell;
        EXPECT_GT(c.height, 0) << "cell " << cell;
        EXPECT_GE(c.x, 0);
        EXPECT_GE(c.y, 0);
        EXPECT_LE(c.x + c.width, parts.width) << "cell " << cell;
        EXPECT_LE(c.y + c.height, parts.height) << "cell " << cell;
    }
    for (int a = 0; a < AreaCount; a++) {
        const Area& area = SkinLayout[a];
        EXPECT_GE(area.x, 0) << "area " << a;
        EXPECT_GE(area.y, 0) << "area " << a;
        EXPECT_LE(area.x + area.width, FaceWidth) << "area " << a;
        EXPECT_LE(area.y + area.height, FaceHeight) << "area " << a;
    }
    for (int s = 0; s < 9; s++) {
        std::u16string sound = SoundBank[s];
        ASSERT_FALSE(sound.empty());
        std::string host;
        for (char16_t c : sound) host += c == u'\\' ? '/' : char(c);
        EXPECT_TRUE(std::filesystem::exists(host)) << host;
    }
}

INSTANTIATE_TEST_SUITE_P(Build, GeneratedSkin, ::testing::Values("default", "midnight"));

}  // namespace
