// The desktop groups the calculator's window with its desktop entry: the class of the real
// program's window (X11's WM_CLASS) is the entry's StartupWMClass.
#include "x11_session.h"

#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

// The value of `key` in the build tree's desktop entry; empty when there is none.
std::string DesktopEntryValue(const std::string& key)
{
    for (const auto& file : std::filesystem::directory_iterator(NUMBRIX_BUILD_DIR "/desktop")) {
        if (file.path().extension() != ".desktop") continue;
        std::istringstream lines(ReadFile(file.path()));
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "";
}

TEST(DesktopEntry, StartupWMClassIsTheWindowsClass)
{
    if (!ProgramAvailable("Xvfb") || !ProgramAvailable("xdotool"))
        GTEST_SKIP() << "Xvfb and xdotool are needed (tools/setup installs them)";
    std::string windowClass = DesktopEntryValue("StartupWMClass");
    ASSERT_FALSE(windowClass.empty()) << "the desktop entry names no StartupWMClass";
    X11Session x;
    ASSERT_TRUE(x.ok());
    TempDir home;
    int pid = x.Start({NUMBRIX_BUILD_DIR "/numbrix"}, {"NUMBRIX_REGISTRY=" + home.HostPath("registry.reg"), "SDL_AUDIODRIVER=dummy",
                                                      "HOME=" + home.HostPath(), "XDG_RUNTIME_DIR=" + home.HostPath()});
    ASSERT_GT(pid, 0);
    std::string window = x.FindWindow("Numbrix", 10);
    ASSERT_FALSE(window.empty());
    std::string escaped;
    for (char c : windowClass) escaped += c == '.' ? std::string("\\.") : std::string(1, c);
    std::string found = x.Run("xdotool search --class '^" + escaped + "$'");
    EXPECT_NE(("\n" + found).find("\n" + window + "\n"), std::string::npos)
        << "no window of class " << windowClass << " among: " << found;
}

}  // namespace
