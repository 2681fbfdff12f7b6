// What the web host leaves out, with the plain answers of platform/host.h: one page is one
// instance, no thread posts messages, and no directory is watched (--watch stays on the desktop).
#include "platform/host.h"
#include "platform/shell.h"

HWND FindOtherInstance(const std::u16string&, const std::u16string&)
{
    return nullptr;
}

bool AskOtherInstanceToRaise(HWND)
{
    return false;
}

void InstanceWindowCreated(HWND, const std::u16string&, const std::u16string&, void (*)()) {}
void InstanceWindowDestroyed(HWND) {}
void ReleaseInstanceLocks() {}

void HostPostRaiseRequest() {}
void HostWake() {}

std::vector<MSG> HostTakeWorkerMessages()
{
    return {};
}

BOOL SHChangeNotifyRegister(HWND, SHCHANGENOTIFYENTRY*)
{
    return FALSE;
}

BOOL SHChangeNotifyDeregister(HWND)
{
    return FALSE;
}

void SHChangeNotifyFree(FILECHANGENOTIFY*) {}
