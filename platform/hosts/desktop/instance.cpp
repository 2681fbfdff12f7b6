// The single-instance rule's lock and socket (see host.h). For each class and title that a
// program looked for (FindWindowW) before creating its window, this process takes a per-user lock
// when no other process holds it and keeps it; once it creates that window, it listens on a local
// socket beside the lock. A second instance finds the lock held and gets a pseudo window handle
// standing for the first; SetForegroundWindow on it connects and asks the first instance to raise
// its host window. The lock is an flock on a file, so a process that dies gives it up and a stale
// lock never blocks a start. Windows of classes and titles that no one looked for take no lock at
// all (the platform's own windows, tests).
#include "platform/host.h"

#include "platform/unicode.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>

namespace {

constexpr char RaiseRequest = 'R';
constexpr int RequestWaitMs = 1000;   // a client that connects but sends nothing is dropped
// Pseudo handles of other instances: far above the window manager's handles, low bits clear.
constexpr uintptr_t FirstPseudoHandle = uintptr_t(0x7F000000);

std::u16string InstanceKey(const std::u16string& classKey, const std::u16string& title)
{
    return classKey + u'\n' + title;
}

// $XDG_RUNTIME_DIR when it names a directory, else /tmp; the user id is in every name.
std::string InstancePathStem(const std::u16string& key)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = runtime && runtime[0] == '/' ? runtime : "/tmp";
    if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    uint64_t hash = 0xCBF29CE484222325ull;   // FNV-1a of the key's UTF-8 form
    for (unsigned char c : Utf8FromUtf16(key)) hash = (hash ^ c) * 0x100000001B3ull;
    char name[64];
    std::snprintf(name, sizeof name, "/numbrix-%u-%016llx", unsigned(getuid()), (unsigned long long)hash);
    return dir + name;
}

bool SocketAddress(const std::string& path, sockaddr_un* address)
{
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    if (path.size() >= sizeof address->sun_path) return false;
    path.copy(address->sun_path, path.size());
    return true;
}

// The lock held for one class and title, and the listener of its window once that exists.
struct Claim {
    std::string stem;
    int lockFd = -1;
    HWND window = nullptr;
    int listenFd = -1;
    int stopPipe[2] = {-1, -1};
    std::thread listener;

    void Listen(void (*onRaiseRequest)());
    void StopListening();
    ~Claim()
    {
        StopListening();
        if (lockFd >= 0) close(lockFd);   // closing the last descriptor releases the flock
    }
};

// Runs on the listener thread: it only reads requests and hands them on.
void ServeRequests(int listenFd, int stopFd, void (*onRaiseRequest)())
{
    for (;;) {
        pollfd waits[2] = {{listenFd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (poll(waits, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (waits[1].revents) return;
        int client = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        pollfd request{client, POLLIN, 0};
        char byte = 0;
        if (poll(&request, 1, RequestWaitMs) == 1 && read(client, &byte, 1) == 1 && byte == RaiseRequest)
            onRaiseRequest();
        close(client);
    }
}

void Claim::Listen(void (*onRaiseRequest)())
{
    sockaddr_un address;
    if (listenFd >= 0 || !SocketAddress(stem + ".sock", &address)) return;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    unlink(address.sun_path);   // whoever made it is gone: we hold the lock
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0 ||
        pipe2(stopPipe, O_CLOEXEC) != 0) {
        close(fd);
        return;
    }
    listenFd = fd;
    listener = std::thread(ServeRequests, listenFd, stopPipe[0], onRaiseRequest);
}

void Claim::StopListening()
{
    if (listenFd < 0) return;
    char stop = 0;
    if (write(stopPipe[1], &stop, 1) != 1) {}
    listener.join();
    close(listenFd);
    close(stopPipe[0]);
    close(stopPipe[1]);
    listenFd = -1;
    unlink((stem + ".sock").c_str());
}

// Class-and-title keys whose lock this process holds.
std::map<std::u16string, std::unique_ptr<Claim>> claims;
// Pseudo handles handed out for other instances, with the stem of their socket.
std::map<uintptr_t, std::string> others;

enum class LockState { Taken, HeldElsewhere, Unavailable };

// Takes the lock when no other process holds it; the descriptor stays open while we hold it.
LockState TakeLock(const std::string& stem, int* fd)
{
    *fd = open((stem + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (*fd < 0) return LockState::Unavailable;
    if (flock(*fd, LOCK_EX | LOCK_NB) == 0) return LockState::Taken;
    bool held = errno == EWOULDBLOCK;
    close(*fd);
    *fd = -1;
    return held ? LockState::HeldElsewhere : LockState::Unavailable;
}

HWND PseudoHandleFor(const std::string& stem)
{
    for (const auto& [handle, otherStem] : others)
        if (otherStem == stem) return reinterpret_cast<HWND>(handle);
    uintptr_t handle = FirstPseudoHandle + others.size() * 0x10;
    others[handle] = stem;
    return reinterpret_cast<HWND>(handle);
}

}  // namespace

HWND FindOtherInstance(const std::u16string& classKey, const std::u16string& title)
{
    std::u16string key = InstanceKey(classKey, title);
    if (claims.count(key)) return nullptr;   // we are the instance that holds it
    auto claim = std::make_unique<Claim>();
    claim->stem = InstancePathStem(key);
    switch (TakeLock(claim->stem, &claim->lockFd)) {
    case LockState::Taken:
        claims[key] = std::move(claim);
        return nullptr;
    case LockState::HeldElsewhere:
        return PseudoHandleFor(claim->stem);
    case LockState::Unavailable:
        return nullptr;
    }
    return nullptr;
}

bool AskOtherInstanceToRaise(HWND pseudoHandle)
{
    auto other = others.find(reinterpret_cast<uintptr_t>(pseudoHandle));
    sockaddr_un address;
    if (other == others.end() || !SocketAddress(other->second + ".sock", &address)) return false;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool sent = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                write(fd, &RaiseRequest, 1) == 1;
    close(fd);
    return sent;
}

void InstanceWindowCreated(HWND window, const std::u16string& classKey, const std::u16string& title,
                           void (*onRaiseRequest)())
{
    auto it = claims.find(InstanceKey(classKey, title));
    if (it == claims.end() || it->second->window) return;
    it->second->window = window;
    it->second->Listen(onRaiseRequest);
}

// The window's lock goes with it: a program whose window creation failed, or a test that
// starts a fresh device, leaves the way free for the next instance.
void InstanceWindowDestroyed(HWND window)
{
    for (auto it = claims.begin(); it != claims.end(); ++it)
        if (it->second->window == window) {
            claims.erase(it);
            return;
        }
}

void ReleaseInstanceLocks()
{
    claims.clear();
    others.clear();
}
