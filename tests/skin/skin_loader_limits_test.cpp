// What skin files and images far outside anything a skin needs get: the loader's message, or the
// skin when the damage does not touch what it reads; never a crash or a hang.
#include "tests/support/bad_input.h"

#include "platform/faults.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

#include <filesystem>
#include <optional>

namespace {

const char16_t NoBackImage[] = u"スキンファイルが壊れている、又はありません。[FILE][BACKIMAGE]";
const char16_t Surface1[] = u"仮想画面(1)の作成に失敗しました。";
const char16_t Surface2[] = u"仮想画面(2)の作成に失敗しました。";

class SkinLimits : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReleaseSurfaces();
        ResetSurfaceBank();
        CreateTestMainWindow();
        ClearMessageBoxLog();
        dcs = LiveDeviceContexts();
        bitmaps = LiveBitmaps();
    }
    void TearDown() override
    {
        ReleaseSurfaces();
        EXPECT_EQ(LiveDeviceContexts(), dcs);
        EXPECT_EQ(LiveBitmaps(), bitmaps);
        EXPECT_EQ(OpenWideFileCount(), 0);
        DestroyWindow(mainWindow);
    }
    // The loader's result and its message (none when it loaded).
    std::pair<int32_t, std::optional<std::u16string>> Load(const std::u16string& path)
    {
        ClearMessageBoxLog();
        ReleaseSurfaces();
        int32_t result = LoadSkin(path.c_str());
        EXPECT_LE(MessageBoxLog().size(), 1u);
        if (MessageBoxLog().empty()) return {result, std::nullopt};
        return {result, MessageBoxLog()[0].text};
    }
    TestInstallation install;
    int dcs = 0;
    int bitmaps = 0;
};

TEST_F(SkinLimits, DamagedSkinFilesGetTheSkinOrTheMessage)
{
    const std::string skin = TestSkinText().Text();
    struct {
        const char* what;
        std::string text;
        std::optional<std::u16string> message;   // none: the skin loads
    } cases[] = {
        {"100,000 lines after the skin", skin + bad_input::Lines(100000, "x"), std::nullopt},
        {"100,000 lines and no section", bad_input::Lines(100000, "REMARK=nothing"), NoBackImage},
        {"a line of 10,000 characters after every header", bad_input::WithLongLines(skin, 10000), std::nullopt},
        {"an image name of 10,000 characters",
         "[FILE]\r\nBACKIMAGE=" + std::string(10000, 'n') + "\r\nPARTSIMAGE=parts.bmp\r\n" + skin, Surface1},
        {"a NUL after every value", bad_input::WithNulAfterEveryValue(skin), std::nullopt},
        {"a file of NUL bytes", std::string(1 << 20, '\0'), NoBackImage},
    };
    for (const auto& c : cases) {
        auto [result, message] = Load(install.WriteSkin("test", TestSkinText(), TestBackground));
        ASSERT_EQ(result, 0) << c.what << ": the plain skin must load first";
        WriteFile(install.HostPath("skin/test.skn"), c.text);
        std::tie(result, message) = Load(DevicePathFromHost(install.HostPath("skin/test.skn")));
        EXPECT_EQ(result, c.message ? 1 : 0) << c.what;
        EXPECT_EQ(message, c.message) << c.what;
    }
}

TEST_F(SkinLimits, SkinFileBeyondTheTextSizeCapIsNotRead)
{
    const std::u16string path = install.WriteSkin("test");
    std::filesystem::resize_file(install.HostPath("skin/test.skn"), TextFileMaxBytes + 1);
    auto [result, message] = Load(path);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(message, NoBackImage);
}

TEST_F(SkinLimits, DamagedImagesStopAtTheirSurface)
{
    struct {
        const char* what;
        const char* image;
        std::string bytes;
        const char16_t* message;
    } cases[] = {
        {"background claiming 30,000 x 30,000", "back.bmp", bad_input::BitmapHeaderClaiming(30000, 30000), Surface1},
        {"background claiming 30,000 x -30,000", "back.bmp", bad_input::BitmapHeaderClaiming(30000, -30000),
         Surface1},
        {"parts image ending early", "parts.bmp", bad_input::BitmapEndingEarly(), Surface2},
        {"empty parts image", "parts.bmp", "", Surface2},
    };
    for (const auto& c : cases) {
        const std::u16string path = install.WriteSkin("test");
        WriteFile(install.HostPath(std::string("skin/test/") + c.image), c.bytes);
        auto [result, message] = Load(path);
        EXPECT_EQ(result, 1) << c.what;
        EXPECT_EQ(message, c.message) << c.what;
    }
}

// The program's own paths hold 260 units with the terminator. An empty or overlong skin path
// (what start-up is left with when the default path would not fit) gets the message that the
// skin cannot be found; an application directory so deep that the images' paths do not fit
// gets the message of the image whose path is too long, and one unit less loads.
TEST_F(SkinLimits, PathsAtTheEdgeOfTheBuffers)
{
    EXPECT_EQ(Load(u"").second, NoBackImage);
    EXPECT_EQ(Load(std::u16string(600, u'\\')).second, NoBackImage);
    EXPECT_EQ(Load(u"\\" + std::u16string(300, u'd') + u"\\skin\\default.skn").second, NoBackImage);

    const std::string images = "skin/test/parts.bmp";   // the longest path the skin makes
    for (int over : {0, 1}) {
        // appDirectory + "skin\\test\\parts.bmp" takes 259 units, then 260.
        const size_t length = size_t(MAX_PATH - 1 + over) - images.size();   // appDirectory's
        std::string app = install.dir.HostPath() + "/";   // inside the test's own directory
        while (app.size() + 1 < length) app += app.size() % 200 == 0 ? '/' : 'd';   // folders of 199
        if (app.back() == '/') app.back() = 'd';
        WriteFile(app + "/skin/test.skn", TestSkinText().Text());
        WriteFile(app + "/skin/test/back.bmp", Bmp24(FaceWidth, FaceHeight, std::vector<uint32_t>(FaceWidth * FaceHeight, TestBackground)));
        WriteFile(app + "/skin/test/parts.bmp", Bmp24(TestPartsWidth, TestPartsHeight, TestPartsPixels()));
        const std::u16string device = DevicePathFromHost(app) + u"\\";
        ASSERT_EQ(device.size() + images.size(), size_t(MAX_PATH - 1 + over));
        std::memcpy(appDirectory, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
        auto [result, message] = Load(device + u"skin\\test.skn");
        EXPECT_EQ(result, over) << "over by " << over;
        EXPECT_EQ(message, over ? std::optional<std::u16string>(Surface2) : std::nullopt) << "over by " << over;
    }
}

}  // namespace
