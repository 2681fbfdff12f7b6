#include "tools/skin_tool/calculator_session.h"

#include "display/face_window.h"
#include "engine/app_globals.h"
#include "engine/calc_state.h"
#include "engine/skin_layout.h"
#include "platform/headless.h"
#include "platform/inspect.h"
#include "platform/wince.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace skintool {

namespace {

constexpr WCHAR ClassName[] = u"NumbrixSkinTool";

bool skinLoaded;

// The headless host prints every message box to standard error; the tool reports the loader's
// message itself, so it is kept quiet while the skin loads.
class QuietStandardError {
public:
    QuietStandardError()
    {
        std::fflush(stderr);
        saved_ = dup(2);
        int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            dup2(null, 2);
            close(null);
        }
    }
    ~QuietStandardError()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, 2);
            close(saved_);
        }
    }

private:
    int saved_;
};

int32_t LoadChosenSkin()
{
    return LoadSkin(appSettings.skinFile);
}

// The main window's creation starts the face; a skin that does not load ends the creation.
LRESULT OnCreate(HWND window)
{
    mainWindow = window;
    skinLoaded = StartFace(LoadChosenSkin) == 0;
    return skinLoaded ? 0 : -1;
}

// The main window's handling of creation, stylus, paint and teardown messages.
LRESULT FaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HandleFaceMessage(window, message, wParam, lParam)) return 0;
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_DESTROY:
        ReleaseSurfaces();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool CalculatorSession::Start(const SkinLocation& location, std::u16string* message)
{
    Stop();
    message->clear();
    if (!InstallSkinLocation(location)) {
        *message = u"(the paths are too long for the calculator)";
        return false;
    }
    std::memcpy(appSettings.skinFile, location.devicePath.c_str(), (location.devicePath.size() + 1) * sizeof(WCHAR));
    appSettings.soundEffects = 1;
    appInstance = reinterpret_cast<HINSTANCE>(uintptr_t(0x00010000));
    ResetHeadlessDevice();
    ClearMessageBoxLog();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FaceWindowProc;
    windowClass.hInstance = appInstance;
    windowClass.lpszClassName = ClassName;
    RegisterClassW(&windowClass);
    skinLoaded = false;
    HWND window;
    {
        QuietStandardError quiet;
        window = CreateWindowExW(0, ClassName, u"Numbrix", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, nullptr, nullptr, appInstance, nullptr);
    }
    if (!window || !skinLoaded) {
        if (!MessageBoxLog().empty()) *message = MessageBoxLog().back().shown;
        ResetHeadlessDevice();
        mainWindow = nullptr;
        return false;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top - MenuBarHeight, FALSE);
    running_ = true;
    RunUntilIdle();
    return true;
}

void CalculatorSession::Stop()
{
    if (!running_) return;
    running_ = false;
    holding_ = false;
    ResetHeadlessDevice();
    mainWindow = nullptr;
}

RadixMode CalculatorSession::Mode() const
{
    return calcState.radixMode;
}

CalculatorSession::Press CalculatorSession::PressKey(const KeyWord& word)
{
    Lift();
    if (keyStates[word.key] == Disabled) return Press::Disabled;
    FacePoint point;
    if (!FindPressPoint(word.key, keyStates, SkinLayout, &point)) return Press::Unreachable;
    InjectStylusDown(point.x, point.y + TitleBarHeight);
    if (word.hold) {
        holding_ = true;
        held_ = point;
    } else {
        InjectStylusUp(point.x, point.y + TitleBarHeight);
    }
    RunUntilIdle();
    return Press::Done;
}

void CalculatorSession::Lift()
{
    if (!holding_) return;
    holding_ = false;
    InjectStylusUp(held_.x, held_.y + TitleBarHeight);
    RunUntilIdle();
}

PixelBuffer CalculatorSession::Face()
{
    RunUntilIdle();
    PixelBuffer face;
    face.Resize(FaceWidth, FaceHeight, 0);
    const PixelBuffer* surface = running_ ? WindowBackingSurface(mainWindow) : nullptr;
    if (!surface) return face;
    for (int y = 0; y < FaceHeight && y < surface->height; ++y)
        for (int x = 0; x < FaceWidth && x < surface->width; ++x)
            face.pixels[size_t(y) * FaceWidth + size_t(x)] = surface->pixels[size_t(y) * size_t(surface->width) + size_t(x)];
    return face;
}

bool TrialLoad(const SkinLocation& location, std::u16string* message)
{
    CalculatorSession session;
    return session.Start(location, message);
}

}  // namespace skintool
