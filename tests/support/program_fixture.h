// The whole program in the headless host, on a test installation of its own (program directory,
// skins, settings file, single-instance lock), driven by an idle handler that acts as the user.
#pragma once
#include "tests/support/skin_fixture.h"

#include "platform/headless.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "platform/user/window_internals.h"
#include "shell/app_main.h"
#include "skin/surface_bank.h"

#include <functional>

class ProgramTest : public ::testing::Test {
protected:
    static inline const HINSTANCE Instance = reinterpret_cast<HINSTANCE>(uintptr_t(0x10000));

    void SetUp() override
    {
        ReleaseSurfaces();
        ResetHeadlessDevice();
        ClearMessageBoxLog();
        ClearSoundLog();
        registry = install.HostPath("config/registry.reg");
        setenv("NUMBRIX_REGISTRY", registry.c_str(), 1);
        // The single-instance lock lives there: tests running side by side must not see each other.
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) savedRuntime = runtime;
        std::filesystem::create_directories(install.HostPath("run"));
        setenv("XDG_RUNTIME_DIR", install.HostPath("run").c_str(), 1);
        OverrideModuleFileName(install.HostPath("numbrix").c_str());
        appSettings = AppSettings{};
    }
    void TearDown() override
    {
        SetIdleHandler({});
        ReleaseSurfaces();
        ResetHeadlessDevice();
        OverrideModuleFileName(nullptr);
        unsetenv("NUMBRIX_REGISTRY");
        if (savedRuntime.empty()) unsetenv("XDG_RUNTIME_DIR");
        else setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    }

    // Runs the program with a command line; each time it waits for the user, the next step acts
    // (and returns true), until the steps are done; then the host closes the window as the user
    // would.
    int Run(std::vector<std::function<void()>> steps, std::u16string commandLine = u"")
    {
        size_t next = 0;
        SetIdleHandler([&]() {
            if (next >= steps.size()) return false;
            steps[next++]();
            return true;
        });
        int result = AppMain(Instance, nullptr, commandLine.data(), SW_SHOW);
        EXPECT_EQ(next, steps.size()) << "the program ended before every step ran";
        return result;
    }

    static HWND WindowTitled(const char16_t* title)
    {
        for (HWND window : TopLevelWindows())
            if (IsWindow(window) && WindowShown(window) && WindowTitle(window) == title) return window;
        return nullptr;
    }

    std::string RegistryText() { return ReadFile(registry); }
    bool RegistryHolds(const std::string& text) { return RegistryText().find(text) != std::string::npos; }
    std::u16string SkinPath(const char* name) { return std::u16string(appDirectory) + u"skin\\" + DevicePathFromHost(name); }

    TestInstallation install;
    std::string registry;
    std::string savedRuntime;
};
