// Single instance across real processes: the probe program plays the other instance.
#include "instance_probe.h"
#include "platform/user/window_internals.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_fixture.h"

#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int WaitMs = 20000;   // only a broken build waits this long

struct Probe {
    pid_t pid = -1;
    int output = -1;   // the probe's standard output
    bool ready = false;
};

// Every test has its own runtime directory, so no lock of a real program or another test is seen.
class SingleInstance : public WindowTest {
protected:
    void SetUp() override
    {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        hadRuntime = runtime != nullptr;
        if (runtime) savedRuntime = runtime;
        setenv("XDG_RUNTIME_DIR", dir.HostPath().c_str(), 1);
        WindowTest::SetUp();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.lpszClassName = ProbeClass;
        ASSERT_NE(RegisterClassW(&windowClass), 0);
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        if (hadRuntime) setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
        else unsetenv("XDG_RUNTIME_DIR");
    }

    // Starts the probe; "first" is waited for until it says that its window is there.
    static Probe Start(const char* role)
    {
        Probe probe;
        int out[2];
        if (pipe(out) != 0) return probe;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        char* argv[] = {const_cast<char*>(NUMBRIX_INSTANCE_PROBE), const_cast<char*>(role), nullptr};
        if (posix_spawn(&probe.pid, NUMBRIX_INSTANCE_PROBE, &actions, nullptr, argv, environ) != 0) probe.pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        probe.output = out[0];
        std::string said;
        char c;
        pollfd wait{probe.output, POLLIN, 0};
        while (std::string(role) == "first" && said.find('\n') == std::string::npos && poll(&wait, 1, WaitMs) == 1 &&
               read(probe.output, &c, 1) == 1)
            said += c;
        probe.ready = said == "ready\n";
        return probe;
    }
    static int ExitCode(Probe& probe)
    {
        int status = 0;
        close(probe.output);
        if (probe.pid <= 0 || waitpid(probe.pid, &status, 0) != probe.pid) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    static HWND OwnWindow()
    {
        return CreateWindowExW(0, ProbeClass, ProbeTitle, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    }

    TempDir dir;
    std::string savedRuntime;
    bool hadRuntime = false;
};

TEST_F(SingleInstance, ASecondProcessFindsTheFirstAndBringsItForward)
{
    Probe first = Start("first");
    ASSERT_TRUE(first.ready);
    HWND other = FindWindowW(ProbeClass, ProbeTitle);
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(IsWindow(other)) << "a stand-in for the other process's window";
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(other) | 1)));
    EXPECT_EQ(ExitCode(first), 0) << "the first instance was asked to raise its window";
}

TEST_F(SingleInstance, TheFirstInstanceHearsTheSecondAndFindsItsOwnWindow)
{
    ASSERT_EQ(FindWindowW(ProbeClass, ProbeTitle), nullptr);
    HWND own = OwnWindow();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(FindWindowW(u"numbrixprobe", ProbeTitle), own) << "class names ignore case";
    EXPECT_EQ(FindWindowW(ProbeClass, u"numbrix probe"), nullptr) << "titles do not";
    Probe second = Start("second");
    EXPECT_EQ(ExitCode(second), 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    while (RaiseRequests() == 0 && std::chrono::steady_clock::now() < deadline) {
        RunUntilIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(RaiseRequests(), 1);
}

TEST_F(SingleInstance, AKilledInstanceLeavesNothingInTheWay)
{
    Probe first = Start("first");
    ASSERT_TRUE(first.ready);
    kill(first.pid, SIGKILL);
    EXPECT_EQ(ExitCode(first), 128 + SIGKILL);
    EXPECT_EQ(FindWindowW(ProbeClass, ProbeTitle), nullptr) << "its lock died with it";
    ASSERT_NE(OwnWindow(), nullptr);   // listens where the dead one's socket was left behind
    Probe second = Start("second");
    EXPECT_EQ(ExitCode(second), 0);
}

TEST_F(WindowTest, SetForegroundWindowRaisesAWindowWithTheWindowsItOwns)
{
    HWND back = TopLevel(0, 26, 240, 100);
    HWND owned = TopLevel(0, 150, 100, 50, true, u"Owned", 0, back);
    HWND front = TopLevel(0, 26, 240, 200);
    ASSERT_EQ(TopLevelWindows(), (std::vector<HWND>{back, owned, front}));
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(back) | 1)));
    EXPECT_EQ(TopLevelWindows(), (std::vector<HWND>{front, back, owned}));
    EXPECT_EQ(ActiveWindow(), owned);
    EXPECT_EQ(RaiseRequests(), 1) << "the host window comes forward too";
    EXPECT_FALSE(SetForegroundWindow(reinterpret_cast<HWND>(uintptr_t(0x7F000000))));
}

}  // namespace
