// Another process for the single-instance tests. "first": takes the instance, creates the window
// that others look for, says "ready" and runs until it is asked to come forward (exit 0) or
// gives up waiting (exit 1). "second": looks for the other instance and asks it to come forward
// (exit 0), or says why not (2: not found, 3: found in this process, 4: the request failed).
#include "instance_probe.h"

#include "platform/headless.h"
#include "platform/wince.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

LRESULT ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int RunFirst()
{
    if (FindWindowW(ProbeClass, ProbeTitle)) return 2;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.lpszClassName = ProbeClass;
    RegisterClassW(&windowClass);
    if (!CreateWindowExW(0, ProbeClass, ProbeTitle, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr))
        return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    SetIdleHandler([deadline] {
        if (RaiseRequests() > 0 || std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return true;
    });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    return RaiseRequests() > 0 ? 0 : 1;
}

int RunSecond()
{
    HWND found = FindWindowW(ProbeClass, ProbeTitle);
    if (!found) return 2;
    if (IsWindow(found)) return 3;
    return SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(found) | 1)) ? 0 : 4;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "first") == 0) return RunFirst();
    if (argc == 2 && std::strcmp(argv[1], "second") == 0) return RunSecond();
    std::fprintf(stderr, "usage: %s first|second\n", argv[0]);
    return 64;
}
