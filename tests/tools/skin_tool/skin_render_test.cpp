// numbrix-skin render: the face it writes must be, pixel for pixel, what the calculator shows on
// the device screen after the same presses; and the command line's usage errors and help.
#include "tests/support/calculator_fixture.h"
#include "skin_tool_fixture.h"

#include "display/frame_painter.h"
#include "engine/app_globals.h"
#include "engine/skin_layout.h"
#include "platform/headless.h"
#include "platform/host_paths.h"
#include "platform/wince.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"
#include "tools/skin_tool/skin_render.h"

#include <cstring>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

PngImage ReadPng(const std::string& path)
{
    PngImage image;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &image.width, &image.height, &channels, 3);
    if (!data) return PngImage();
    image.pixels.resize(size_t(image.width) * size_t(image.height));
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = uint32_t(data[3 * i]) << 16 | uint32_t(data[3 * i + 1]) << 8 | data[3 * i + 2];
    stbi_image_free(data);
    return image;
}

#include "tests/support/face_window.h"

namespace {

// The face on the device screen after pressing keys given by their short names ("down:" holds).
std::vector<uint32_t> CalculatorFace(const std::string& keys)
{
    ReleaseSurfaces();
    ResetHeadlessDevice();
    std::u16string device = DevicePathFromHost(std::filesystem::path(NUMBRIX_SKIN_BUILD_DIR).parent_path().string()) + u"\\";
    std::memcpy(appDirectory, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
    CreateFaceWindow();   // the calculator driven independently of the tool
    std::u16string skin = device + u"skin\\default.skn";
    EXPECT_EQ(LoadSkin(skin.c_str()), 0);
    StartCalculator();
    RunUntilIdle();
    std::istringstream words(keys);
    std::string word;
    while (words >> word) {
        bool hold = word.rfind("down:", 0) == 0;
        int key = KeyIndexByName(hold ? word.c_str() + 5 : word.c_str());
        EXPECT_GE(key, 0) << word;
        if (key < 0) continue;
        int x = SkinLayout[key].x + SkinLayout[key].width / 2, y = SkinLayout[key].y + SkinLayout[key].height / 2 + 26;
        if (hold) InjectStylusDown(x, y);
        else InjectTap(x, y);
        RunUntilIdle();
    }
    std::vector<uint32_t> face;
    for (int y = 0; y < FaceHeight; ++y)
        for (int x = 0; x < FaceWidth; ++x) face.push_back(ScreenPixel(x, y + 26));
    ReleaseSurfaces();
    ResetHeadlessDevice();
    appDirectory[0] = 0;
    return face;
}

struct Presses {
    const char* tool;        // as given to numbrix-skin
    const char* calculator;  // the same presses by the keys' short names
};

void PrintTo(const Presses& p, std::ostream* out)
{
    *out << "\"" << p.tool << "\"";
}

class RenderedFace : public ::testing::TestWithParam<Presses> {
protected:
    TempDir scratch;
};

TEST_P(RenderedFace, IsWhatTheCalculatorShows)
{
    std::string out = scratch.HostPath("face.png");
    ToolRun run = RunTool({"render", std::string(NUMBRIX_SKIN_BUILD_DIR) + "/default.skn", "--keys", GetParam().tool,
                           "--out", out},
                          scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    PngImage png = ReadPng(out);
    ASSERT_EQ(png.width, FaceWidth);
    ASSERT_EQ(png.height, FaceHeight);
    std::vector<uint32_t> expected = CalculatorFace(GetParam().calculator);
    int differing = 0;
    for (size_t i = 0; i < expected.size(); ++i) differing += png.pixels[i] != expected[i];
    EXPECT_EQ(differing, 0) << "pixels differ after \"" << GetParam().tool << "\"";
}

INSTANTIATE_TEST_SUITE_P(DefaultSkin, RenderedFace,
                         ::testing::Values(Presses{"", ""}, Presses{"1 2 + 3 =", "1 2 add 3 eq"},
                                           Presses{"9 0 . 5 sign -", "9 0 point 5 sign sub"},
                                           Presses{"HEX a b c d e f 1 2 *", "hex a b c d e f 1 2 mul"},
                                           Presses{"1 c 7", "1 ac 7"}, Presses{"hex 1 c", "hex 1 c"},
                                           Presses{"hex 1 digit-c clear", "hex 1 c ac"},
                                           Presses{"bin 1 0 1 1 /", "bin 1 0 1 1 div"},
                                           Presses{"9 9 9 9 9 9 9 9 x 9 =", "9 9 9 9 9 9 9 9 mul 9 eq"},
                                           Presses{"5 down:+", "5 down:add"}, Presses{"down:7 8", "7 8"},
                                           Presses{"a 1 down:hex", "1 down:hex"}));

TEST(RenderedFace, ScaledMakesEachPixelASquare)
{
    TempDir scratch;
    std::string skin = std::string(NUMBRIX_SKIN_BUILD_DIR) + "/default.skn";
    ASSERT_EQ(RunTool({"render", skin, "--keys", "1 +", "--out", scratch.HostPath("1.png")}, scratch).status, 0);
    ASSERT_EQ(RunTool({"render", skin, "--keys", "1 +", "--out", scratch.HostPath("3.png"), "--scale", "3"}, scratch).status, 0);
    PngImage face = ReadPng(scratch.HostPath("1.png")), large = ReadPng(scratch.HostPath("3.png"));
    ASSERT_EQ(large.width, 3 * face.width);
    ASSERT_EQ(large.height, 3 * face.height);
    int differing = 0;
    for (int y = 0; y < large.height; ++y)
        for (int x = 0; x < large.width; ++x) differing += large.at(x, y) != face.at(x / 3, y / 3);
    EXPECT_EQ(differing, 0);
}

TEST(RenderedSheet, HoldsTheFaceOfEveryStateInOrder)
{
    TempDir scratch;
    std::string skin = std::string(NUMBRIX_SKIN_BUILD_DIR) + "/midnight.skn";
    ToolRun run = RunTool({"render", skin, "--all-states", "--out", scratch.HostPath("sheet.png")}, scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    PngImage sheet = ReadPng(scratch.HostPath("sheet.png"));
    std::vector<skintool::SheetFace> faces = skintool::SheetFaces();
    ASSERT_EQ(faces.size(), 31u);
    ASSERT_EQ(sheet.width, 8 + 8 * (FaceWidth + 8));
    ASSERT_EQ(sheet.height, 8 + 4 * (FaceHeight + 18 + 8));
    for (size_t i : {size_t(0), size_t(4), size_t(12), faces.size() - 1}) {
        ASSERT_EQ(RunTool({"render", skin, "--keys", faces[i].keys, "--out", scratch.HostPath("face.png")}, scratch).status, 0);
        PngImage face = ReadPng(scratch.HostPath("face.png"));
        int left = 8 + int(i % 8) * (FaceWidth + 8), top = 8 + int(i / 8) * (FaceHeight + 18 + 8);
        int differing = 0;
        for (int y = 0; y < FaceHeight; ++y)
            for (int x = 0; x < FaceWidth; ++x) differing += sheet.at(left + x, top + y) != face.at(x, y);
        EXPECT_EQ(differing, 0) << faces[i].caption;
    }
}

// The skin generator's preview comes from the same calculator session, wherever the skins go.
TEST(MakeSkinsPreview, ShowsTheFacesThatTheCalculatorDraws)
{
    TempDir scratch;
    ToolRun made = RunProgram(NUMBRIX_MAKE_SKINS, {scratch.HostPath("out"), "--preview", scratch.HostPath("preview")}, scratch);
    ASSERT_EQ(made.status, 0) << made.err;
    PngImage preview = ReadPng(scratch.HostPath("preview/default.png"));
    ASSERT_EQ(preview.width, 8 + 4 * (FaceWidth + 8));
    ASSERT_EQ(preview.height, FaceHeight + 16);
    ToolRun run = RunTool({"render", std::string(NUMBRIX_SKIN_BUILD_DIR) + "/default.skn", "--keys", "1 2 3 4 . 5 +",
                           "--out", scratch.HostPath("face.png")},
                          scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    PngImage face = ReadPng(scratch.HostPath("face.png"));
    int differing = 0;
    for (int y = 0; y < FaceHeight; ++y)
        for (int x = 0; x < FaceWidth; ++x) differing += preview.at(8 + x, 8 + y) != face.at(x, y);
    EXPECT_EQ(differing, 0);
}

TEST(RenderNotes, PressesThatTheCalculatorIgnoresAreNoted)
{
    TempDir scratch;
    SkinCopy skin;
    skin.Replace("AREA09=51,138,42,28", "AREA09=5,138,42,28");   // digit 8 under digit 7
    skin.Write();
    ToolRun run = RunTool({"render", skin.SkinFile(), "--keys", "a 8 1", "--out", scratch.HostPath("face.png")}, scratch);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("\"a\": the digit A key is disabled in decimal mode"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("\"8\": no point of the face presses the digit 8 key"), std::string::npos) << run.err;
}

struct Usage {
    std::vector<std::string> args;
    int status;
    const char* message;   // in standard error, or in standard output for help
};

void PrintTo(const Usage& u, std::ostream* out)
{
    for (const std::string& arg : u.args) *out << arg << " ";
}

class CommandLine : public ::testing::TestWithParam<Usage> {};

TEST_P(CommandLine, TellsWhatIsWrong)
{
    TempDir scratch;
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(arg == "SKIN" ? std::string(NUMBRIX_SKIN_BUILD_DIR) + "/default.skn" : arg == "OUT" ? scratch.HostPath("o.png") : arg);
    ToolRun run = RunTool(args, scratch);
    EXPECT_EQ(run.status, GetParam().status);
    std::string shown = GetParam().status == 0 ? run.out : run.err;
    EXPECT_NE(shown.find(GetParam().message), std::string::npos) << shown;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLine,
    ::testing::Values(Usage{{}, 2, "no command given"}, Usage{{"paint", "SKIN"}, 2, "unknown command paint"},
                      Usage{{"check"}, 2, "check needs a skin file"}, Usage{{"check", "SKIN", "--fast"}, 2, "unknown option"},
                      Usage{{"render", "SKIN", "--keys", "1"}, 2, "render needs --out"},
                      Usage{{"render", "SKIN", "--keys", "1 2 plus", "--out", "OUT"}, 2, "\"plus\" is not a key"},
                      Usage{{"render", "SKIN", "--keys", "1", "--all-states", "--out", "OUT"}, 2, "exclude each other"},
                      Usage{{"render", "SKIN", "--out", "/nonexistent-dir/face.png"}, 1, "cannot write"},
                      Usage{{"render", "SKIN", "--out", "OUT", "--scale", "0"}, 2, "--scale needs a whole number"},
                      Usage{{"check", "SKIN", "--scale", "2"}, 2, "check takes no --scale"},
                      Usage{{"guide", "SKIN"}, 2, "guide needs --out"}, Usage{{"new"}, 2, "new needs the new skin's name"},
                      Usage{{"help"}, 0, "down:KEY"}, Usage{{"--help"}, 0, "the digit C in hexadecimal mode"}));

}  // namespace
