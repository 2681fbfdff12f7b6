// The real executable under a private X server: taps with the mouse, screenshots compared with the
// face that the program's own painter composes for the same state, the skin chosen through the
// menu bar and the dialog, the settings file after the window is closed.
#include "x11_session.h"

#include "tests/support/skin_fixture.h"
#include "display/face_window.h"
#include "display/frame_painter.h"
#include "engine/calc_state.h"
#include "engine/key_names.h"
#include "platform/headless.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

namespace {

const std::string BuildDir = NUMBRIX_BUILD_DIR;

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
constexpr int TitleBar = 26;

// The face the painter composes for a skin after a key sequence, in the headless host.
struct ExpectedFace {
    PixelBuffer pixels;
    Area layout[AreaCount];
};

ExpectedFace PaintedFace(const char* skin, const std::string& keys)
{
    ReleaseSurfaces();
    ResetHeadlessDevice();
    std::u16string device = DevicePathFromHost(BuildDir) + u"\\";
    std::memcpy(appDirectory, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
    CreateTestMainWindow();
    static std::u16string skinPath;
    skinPath = device + u"skin\\" + DevicePathFromHost(skin) + u".skn";
    StartFace([] { return LoadSkin(skinPath.c_str()); });
    std::istringstream words(keys);
    std::string word;
    while (words >> word) ApplyKey(KeyIndexByName(word.c_str()));
    PaintFrame();
    ExpectedFace face;
    face.pixels = *WindowBackingSurface(mainWindow);
    std::memcpy(face.layout, SkinLayout, sizeof SkinLayout);
    ReleaseSurfaces();
    ResetHeadlessDevice();
    appDirectory[0] = 0;
    return face;
}

class CalculatorEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ProgramAvailable("Xvfb") || !ProgramAvailable("xdotool") || !ProgramAvailable("import"))
            GTEST_SKIP() << "Xvfb, xdotool and ImageMagick are needed (tools/setup installs them)";
        ASSERT_TRUE(x.ok());
        registry = config.HostPath("registry.reg");
        environment = {"NUMBRIX_REGISTRY=" + registry, "SDL_AUDIODRIVER=dummy", "HOME=" + config.HostPath(),
                       "XDG_RUNTIME_DIR=" + config.HostPath()};
    }
    // Device pixel (x, y) of the screen in X screen coordinates.
    int ScreenX(int x) const { return left + x * scale + scale / 2; }
    int ScreenY(int y) const { return top + y * scale + scale / 2; }
    void TapDevice(int x, int y) { this->x.Click(ScreenX(x), ScreenY(y)); }
    void TapKey(const Area& key) { TapDevice(key.x + key.width / 2, TitleBar + key.y + key.height / 2); }

    bool FindProgramWindow()
    {
        window = x.FindWindow("Numbrix", 10);
        int width, height;
        if (window.empty() || !x.WindowGeometry(window, &left, &top, &width, &height)) return false;
        scale = width / 240;
        return scale >= 1 && height == 320 * scale;
    }
    // Tools, then its first item, then the second skin file of the list, then OK: where the
    // platform's menu bar, pop-up menu and the skin dialog's controls put them.
    void ChooseSecondSkin()
    {
        TapDevice(15, 307);    // the menu bar's Tools button
        TapDevice(50, 225);    // the first item of the pop-up above it
        TapDevice(45, 61);     // the list's second entry
        TapDevice(109, 276);   // OK
    }
    // Device pixels of the client area that differ from the expected face, once the window shows
    // it or after three seconds: the taps and keys before may still be on their way, the more so
    // in a sanitizer build.
    int FaceDifferences(const ExpectedFace& face)
    {
        int differences = -1;
        for (int attempt = 0; attempt < 60 && differences != 0; ++attempt) {
            if (attempt > 0) Sleep(0.05);
            Screenshot shot = x.Capture();
            if (shot.width == 0) continue;
            differences = 0;
            for (int y = 0; y < FaceHeight; y++)
                for (int col = 0; col < FaceWidth; col++)
                    differences +=
                        shot.At(ScreenX(col), ScreenY(TitleBar + y)) != face.pixels.pixels[size_t(y) * FaceWidth + col];
        }
        return differences;
    }

    std::vector<uint32_t> ToolsMenuUnder(const std::string& program, const std::string& locale);

    X11Session x;
    TempDir config;
    std::string registry;
    std::vector<std::string> environment;
    std::string window;
    int left = 0, top = 0, scale = 1;
};

TEST_F(CalculatorEndToEnd, TapsShowTheResultAndTheSkinChoiceIsKept)
{
    ExpectedFace fifteen = PaintedFace("default", "1 2 add 3 eq");
    int pid = x.Start({BuildDir + "/numbrix"}, environment);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(FindProgramWindow());
    EXPECT_EQ(scale, 2) << "a 1280 x 1024 desktop has room for twice the device size";
    for (int key : {4, 10, KeyAdd, 16, KeyEquals}) TapKey(fifteen.layout[key]);
    EXPECT_EQ(FaceDifferences(fifteen), 0) << "the display shows 15 exactly as the painter draws it";

    ChooseSecondSkin();
    ExpectedFace midnight = PaintedFace("midnight", "1 2 add 3 eq");
    EXPECT_EQ(FaceDifferences(midnight), 0) << "the face is the second skin's, still showing 15";

    TapDevice(240 - 13, 13);   // the title bar's close button
    EXPECT_EQ(x.WaitExit(pid, 10), 0);
    std::string settings = ReadFile(registry);
    EXPECT_NE(settings.find("midnight.skn\""), std::string::npos) << settings;
}

// Keys typed with xdotool give the same face as taps; the clipboard is the desktop's.
TEST_F(CalculatorEndToEnd, TypedKeysCopyAndPasteThroughTheDesktopClipboard)
{
    if (!ProgramAvailable("xclip")) GTEST_SKIP() << "xclip is needed (tools/setup installs it)";
    ExpectedFace fifteen = PaintedFace("default", "1 2 add 3 eq");
    int pid = x.Start({BuildDir + "/numbrix"}, environment);
    ASSERT_TRUE(FindProgramWindow());
    x.Run("xdotool windowfocus --sync " + window + " type --delay 40 '12+3'");
    x.Run("xdotool key Return");
    Sleep(0.3);
    EXPECT_EQ(FaceDifferences(fifteen), 0) << "typing shows 15 exactly as tapping does";

    x.Run("xdotool key ctrl+c");
    Sleep(0.2);
    EXPECT_EQ(x.Run("xclip -o -selection clipboard"), "15");
    x.Run("printf -- '-1234.5\\n' | xclip -i -selection clipboard >/dev/null");
    x.Run("xdotool key ctrl+v");
    Sleep(0.3);
    EXPECT_EQ(FaceDifferences(PaintedFace("default", "1 2 3 4 point 5 sign")), 0) << "the pasted number is shown";

    TapDevice(240 - 13, 13);
    EXPECT_EQ(x.WaitExit(pid, 10), 0);
}

// The device screen with the Tools menu open, as a program shows it under a locale.
std::vector<uint32_t> CalculatorEndToEnd::ToolsMenuUnder(const std::string& program, const std::string& locale)
{
    std::vector<std::string> withLocale = environment;
    withLocale.push_back("LANG=" + locale);
    int pid = x.Start({program}, withLocale);
    if (!FindProgramWindow()) return {};
    auto capture = [this] {
        Screenshot shot = x.Capture();
        std::vector<uint32_t> device;
        for (int y = 0; y < 320 && shot.width; y++)
            for (int col = 0; col < 240; col++) device.push_back(shot.At(ScreenX(col), ScreenY(y)));
        return device;
    };
    const std::vector<uint32_t> before = capture();
    TapDevice(15, 307);
    // The menu may be the first text this run draws with the font, which opens it then: the menu
    // is taken once it is shown and still.
    std::vector<uint32_t> device = before, last;
    for (int i = 0; i < 50 && (device == before || device != last); ++i) {
        Sleep(0.1);
        last = device;
        device = capture();
    }
    x.Run("kill -KILL " + std::to_string(pid));
    x.WaitExit(pid, 10);
    return device;
}

// Installed under a prefix whose lib/locale holds the C library's locales (as on Debian), the
// program takes its catalogues from share/locale, as the build tree's program takes its own.
TEST_F(CalculatorEndToEnd, TheInstalledProgramSpeaksTheLocalesLanguage)
{
    TempDir root;
    std::string install = "DESTDIR=" + root.HostPath() + " cmake --install " + BuildDir + " --prefix /usr >/dev/null";
    ASSERT_EQ(std::system(install.c_str()), 0);
    std::filesystem::create_directories(root.HostPath("usr/lib/locale/C.utf8/LC_MESSAGES"));
    WriteFile(root.HostPath("usr/lib/locale/C.utf8/LC_MESSAGES/libc.mo"), "not ours");
    std::string installed = root.HostPath("usr/bin/numbrix");

    std::vector<uint32_t> english = ToolsMenuUnder(BuildDir + "/numbrix", "en_US.UTF-8");
    std::vector<uint32_t> original = ToolsMenuUnder(BuildDir + "/numbrix", "C");
    ASSERT_FALSE(english.empty());
    ASSERT_NE(english, original) << "the menu's items read the same in both languages";
    EXPECT_EQ(ToolsMenuUnder(installed, "en_US.UTF-8"), english) << "the installed program's menu is not English";
    EXPECT_EQ(ToolsMenuUnder(installed, "C"), original);
}

TEST_F(CalculatorEndToEnd, SecondStartBringsTheFirstForwardAndEnds)
{
    int first = x.Start({BuildDir + "/numbrix"}, environment);
    ASSERT_TRUE(FindProgramWindow());
    std::string before = ReadFile(registry);
    int second = x.Start({BuildDir + "/numbrix"}, environment);
    EXPECT_EQ(x.WaitExit(second, 10), 0);
    EXPECT_EQ(ReadFile(registry), before) << "the second start wrote settings";
    EXPECT_EQ(x.WaitExit(first, 0.2), -1) << "the first instance is still running";
    TapDevice(240 - 13, 13);
    EXPECT_EQ(x.WaitExit(first, 10), 0);
}

// A display that cannot be opened (SDL falls back to a driver that shows nothing) ends the start
// with the reason and a failed start's code.
TEST_F(CalculatorEndToEnd, ADisplayThatCannotBeOpenedEndsTheStartWithTheReason)
{
    std::string output = x.Run("(DISPLAY=:4999 NUMBRIX_REGISTRY=" + registry + " XDG_RUNTIME_DIR=" + config.HostPath() +
                               " timeout 10 " + BuildDir + "/numbrix 2>&1; echo \"exit $?\")");
    EXPECT_NE(output.find("numbrix: no display to open"), std::string::npos) << output;
    EXPECT_NE(output.find("exit 1"), std::string::npos) << output;
}

}  // namespace
