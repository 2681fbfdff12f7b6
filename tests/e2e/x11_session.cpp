#include "x11_session.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

extern char** environ;

namespace {

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

int Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment)
{
    std::vector<std::string> environment;
    for (char** e = environ; *e; e++) environment.push_back(*e);
    for (const std::string& entry : extraEnvironment) {
        std::string name = entry.substr(0, entry.find('=') + 1);
        std::erase_if(environment, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
        environment.push_back(entry);
    }
    std::vector<char*> args, envs;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : environment) envs.push_back(const_cast<char*>(e.c_str()));
    envs.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), envs.data()) != 0) return -1;
    return pid;
}

}  // namespace

bool ProgramAvailable(const char* name)
{
    std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

X11Session::X11Session()
{
    if (!ProgramAvailable("Xvfb")) return;
    for (int number = 90 + getpid() % 100; number < 400; number++) {
        if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
            std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock"))
            continue;
        display_ = ":" + std::to_string(number);
        serverPid_ = Spawn({"Xvfb", display_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"}, {});
        for (int i = 0; i < 100 && serverPid_ > 0; i++) {
            if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) return;
            Sleep(0.05);
        }
        if (serverPid_ > 0) kill(serverPid_, SIGTERM), waitpid(serverPid_, nullptr, 0);
        serverPid_ = -1;
    }
}

X11Session::~X11Session()
{
    for (int pid : children_) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, WNOHANG);
    }
    if (serverPid_ > 0) {
        kill(serverPid_, SIGTERM);
        waitpid(serverPid_, nullptr, 0);
    }
}

int X11Session::Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment)
{
    std::vector<std::string> all = environment;
    all.push_back("DISPLAY=" + display_);
    int pid = Spawn(argv, all);
    if (pid > 0) children_.push_back(pid);
    return pid;
}

int X11Session::WaitExit(int pid, double seconds)
{
    for (double waited = 0; waited < seconds; waited += 0.02) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::erase(children_, pid);
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        Sleep(0.02);
    }
    return -1;
}

std::string X11Session::Run(const std::string& command)
{
    std::string full = "export DISPLAY=" + display_ + "; " + command + " 2>/dev/null";
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe) return "";
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
    return output;
}

std::string X11Session::FindWindow(const std::string& name, double seconds)
{
    for (double waited = 0; waited < seconds; waited += 0.05) {
        std::string found = Run("xdotool search --onlyvisible --name '^" + name + "$'");
        if (!found.empty()) return found.substr(0, found.find('\n'));
        Sleep(0.05);
    }
    return "";
}

bool X11Session::WindowGeometry(const std::string& window, int* x, int* y, int* width, int* height)
{
    std::string shell = Run("xdotool getwindowgeometry --shell " + window);
    auto value = [&](const char* key) {
        size_t at = shell.find(std::string(key) + "=");
        return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + std::strlen(key) + 1);
    };
    *x = value("X"), *y = value("Y"), *width = value("WIDTH"), *height = value("HEIGHT");
    return *width > 0 && *height > 0;
}

void X11Session::Click(int x, int y)
{
    // A synchronous move to where the pointer already is waits for a motion that never comes:
    // step beside the place first.
    std::string place = std::to_string(x) + " " + std::to_string(y);
    Run("xdotool mousemove " + std::to_string(x + 1) + " " + std::to_string(y) + " mousemove --sync " + place + " click 1");
    Sleep(0.15);   // the program handles the press, paints and presents
}

Screenshot X11Session::Capture()
{
    Screenshot shot;
    std::string path = std::filesystem::temp_directory_path() / ("numbrix-e2e-" + std::to_string(getpid()) + ".png");
    Run("import -window root " + path);
    int channels;
    unsigned char* data = stbi_load(path.c_str(), &shot.width, &shot.height, &channels, 3);
    std::filesystem::remove(path);
    if (!data) return Screenshot{};
    shot.pixels.resize(size_t(shot.width) * shot.height);
    for (size_t i = 0; i < shot.pixels.size(); i++)
        shot.pixels[i] = uint32_t(data[i * 3]) << 16 | uint32_t(data[i * 3 + 1]) << 8 | data[i * 3 + 2];
    stbi_image_free(data);
    return shot;
}
