// A private X server (Xvfb) for end-to-end tests of the real executable, with the programs that
// drive it: xdotool for the mouse and the keyboard, xclip for the clipboard, ImageMagick's import
// for screenshots.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;   // 0x00RRGGBB
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

class X11Session {
public:
    X11Session();    // starts Xvfb on a free display; ok() tells whether it runs
    ~X11Session();   // stops it and everything started in it
    bool ok() const { return serverPid_ > 0; }
    const std::string& display() const { return display_; }

    // Starts a program in the session with extra environment entries; returns its process id.
    int Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment);
    // Waits for the process to end, at most `seconds`; its exit status, or -1 when it did not end.
    int WaitExit(int pid, double seconds);
    // The X window id of a mapped top-level window with this exact name, waiting up to `seconds`.
    std::string FindWindow(const std::string& name, double seconds);
    bool WindowGeometry(const std::string& window, int* x, int* y, int* width, int* height);
    void Click(int x, int y);   // left button, screen coordinates
    Screenshot Capture();

    // The output of a shell command run in the session (every program of a pipe in it included).
    std::string Run(const std::string& command);

private:
    std::string display_;
    int serverPid_ = -1;
    std::vector<int> children_;
};

bool ProgramAvailable(const char* name);
