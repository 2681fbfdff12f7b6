// File-change notification (see shell.h) on inotify: one watch per directory, read by a worker
// thread that blocks until something happens (no polling, so an idle program uses no CPU),
// gathers a burst until the directories have been quiet for ChangeNotifyQuietMs, and posts its
// changes to the registered windows through the loop's queue. The thread runs only while some
// window is registered.
#include "platform/shell.h"

#include "platform/host_paths.h"
#include "platform/hosts/desktop/worker_messages.h"
#include "platform/unicode.h"
#include "platform/windows.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr uint32_t WatchedEvents =
    IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO;

struct Registration {
    HWND window;
    int watch;                   // inotify watch descriptor of the directory
    std::u16string directory;    // device path without a trailing backslash
    DWORD mask;
};

// A change of a burst, for one window.
struct Change {
    HWND window;
    LONG event;
    std::u16string item1, item2;
    uint32_t cookie;   // a move out that a move in of the same cookie may turn into a rename
};

// What a FILECHANGENOTIFY handed to a window points into.
struct Notification {
    FILECHANGENOTIFY notify;
    std::u16string item1, item2;
};

LONG EventOf(uint32_t mask)
{
    bool directory = mask & IN_ISDIR;
    if (mask & (IN_CREATE | IN_MOVED_TO)) return directory ? SHCNE_MKDIR : SHCNE_CREATE;
    if (mask & (IN_DELETE | IN_MOVED_FROM)) return directory ? SHCNE_RMDIR : SHCNE_DELETE;
    if (mask & IN_ATTRIB) return SHCNE_ATTRIBUTES;
    return SHCNE_UPDATEITEM;
}

class Watcher {
public:
    ~Watcher() { Stop(); }

    bool Add(HWND window, const std::u16string& directory, DWORD mask)
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (inotify_ < 0 && !Start()) return false;
        int watch = inotify_add_watch(inotify_, HostPathFromDevice(directory.c_str()).c_str(), WatchedEvents | IN_ONLYDIR);
        if (watch < 0) {
            if (registrations_.empty()) StopLocked();
            return false;
        }
        registrations_.push_back(Registration{window, watch, directory, mask});
        return true;
    }

    bool Remove(HWND window)
    {
        std::lock_guard<std::mutex> guard(lock_);
        bool found = false;
        for (size_t i = registrations_.size(); i-- > 0;) {
            if (registrations_[i].window != window) continue;
            found = true;
            int watch = registrations_[i].watch;
            registrations_.erase(registrations_.begin() + long(i));
            if (!WatchInUse(watch)) inotify_rm_watch(inotify_, watch);
        }
        if (registrations_.empty()) StopLocked();
        return found;
    }

    void Free(FILECHANGENOTIFY* notify)
    {
        std::lock_guard<std::mutex> guard(lock_);
        outstanding_.erase(notify);
    }

private:
    std::mutex lock_;   // guards everything below but the thread's own burst
    int inotify_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::thread thread_;
    std::vector<Registration> registrations_;
    // Notifications handed out and not yet freed; those of windows that went away before they
    // took them are released with the watcher.
    std::map<FILECHANGENOTIFY*, std::unique_ptr<Notification>> outstanding_;

    bool WatchInUse(int watch) const
    {
        for (const Registration& r : registrations_)
            if (r.watch == watch) return true;
        return false;
    }

    bool Start()
    {
        inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (inotify_ < 0) return false;
        if (pipe2(stopPipe_, O_CLOEXEC) != 0) {
            close(inotify_);
            inotify_ = -1;
            return false;
        }
        thread_ = std::thread(&Watcher::Run, this, inotify_, stopPipe_[0]);
        return true;
    }

    // Called with the lock held; the thread takes the lock only briefly and never waits for us.
    void StopLocked()
    {
        if (inotify_ < 0) return;
        char stop = 0;
        if (write(stopPipe_[1], &stop, 1) != 1) {}
        lock_.unlock();
        thread_.join();
        lock_.lock();
        close(inotify_);
        close(stopPipe_[0]);
        close(stopPipe_[1]);
        inotify_ = -1;
    }

    void Stop()
    {
        std::lock_guard<std::mutex> guard(lock_);
        StopLocked();
    }

    // ---- The worker thread ----

    void Run(int inotify, int stop)
    {
        std::vector<Change> burst;
        for (;;) {
            pollfd waits[2] = {{inotify, POLLIN, 0}, {stop, POLLIN, 0}};
            int ready = poll(waits, 2, burst.empty() ? -1 : ChangeNotifyQuietMs);
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0 || waits[1].revents) return;
            if (ready == 0) {
                HandOver(burst);
                burst.clear();
                continue;
            }
            ReadEvents(inotify, burst);
        }
    }

    void ReadEvents(int inotify, std::vector<Change>& burst)
    {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            ssize_t length = read(inotify, buffer, sizeof buffer);
            if (length <= 0) return;
            std::lock_guard<std::mutex> guard(lock_);
            for (ssize_t at = 0; at < length;) {
                auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0) Note(*event, burst);
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

    // One inotify event as changes for every window that watches its directory.
    void Note(const inotify_event& event, std::vector<Change>& burst)
    {
        LONG kind = EventOf(event.mask);
        for (const Registration& r : registrations_) {
            if (r.watch != event.wd) continue;
            std::u16string path = r.directory + u'\\' + Utf16FromUtf8(event.name);
            if ((event.mask & IN_MOVED_TO) && BecomesRename(burst, r.window, event.cookie, path)) continue;
            Change change{r.window, kind, path, u"", (event.mask & IN_MOVED_FROM) ? event.cookie : 0};
            if (!(r.mask & (kind | (change.cookie ? SHCNE_RENAMEITEM : 0)))) continue;
            bool seen = false;
            for (const Change& c : burst)
                seen = seen || (c.window == change.window && c.event == change.event && c.item1 == change.item1 &&
                                c.item2.empty() && !c.cookie && !change.cookie);
            if (!seen) burst.push_back(change);
        }
    }

    static bool BecomesRename(std::vector<Change>& burst, HWND window, uint32_t cookie, const std::u16string& path)
    {
        for (Change& c : burst) {
            if (c.window != window || !c.cookie || c.cookie != cookie) continue;
            c.event = SHCNE_RENAMEITEM;
            c.item2 = path;
            c.cookie = 0;
            return true;
        }
        return false;
    }

    // The whole burst goes to the queue at once, so that a window sees all of it before it
    // gets to anything it posts itself in answer.
    void HandOver(const std::vector<Change>& burst)
    {
        std::vector<MSG> messages;
        {
            std::lock_guard<std::mutex> guard(lock_);
            for (const Change& change : burst) {
                DWORD mask = 0;
                for (const Registration& r : registrations_)
                    if (r.window == change.window) mask |= r.mask;
                if (!(mask & DWORD(change.event))) continue;
                FILECHANGENOTIFY* notify = NewNotification(change);
                messages.push_back(MSG{change.window, WM_FILECHANGEINFO, 0, reinterpret_cast<LPARAM>(notify), 0, {}});
            }
        }
        if (!messages.empty()) PostMessagesFromWorker(messages);
    }

    // Called with the lock held.
    FILECHANGENOTIFY* NewNotification(const Change& change)
    {
        auto notification = std::make_unique<Notification>();
        notification->item1 = change.item1;
        notification->item2 = change.item2;
        FILECHANGEINFO& info = notification->notify.fci;
        info = FILECHANGEINFO{};
        info.cbSize = sizeof(FILECHANGEINFO);
        info.wEventId = change.event;
        info.uFlags = SHCNF_PATH;
        info.dwItem1 = reinterpret_cast<UINT_PTR>(notification->item1.c_str());
        info.dwItem2 = change.item2.empty() ? 0 : reinterpret_cast<UINT_PTR>(notification->item2.c_str());
        notification->notify.dwRefCount = 1;
        FILECHANGENOTIFY* notify = &notification->notify;
        outstanding_[notify] = std::move(notification);
        return notify;
    }
};

Watcher watcher;

std::u16string WithoutTrailingBackslash(LPCWSTR directory)
{
    std::u16string path = directory;
    while (path.size() > 1 && path.back() == u'\\') path.pop_back();
    return path;
}

}  // namespace

BOOL SHChangeNotifyRegister(HWND window, SHCHANGENOTIFYENTRY* entry)
{
    if (!entry || !entry->pszWatchDir || !IsWindow(window)) return FALSE;
    if (entry->fRecursive) NotImplemented("SHChangeNotifyRegister with fRecursive");
    return watcher.Add(window, WithoutTrailingBackslash(entry->pszWatchDir), entry->dwEventMask) ? TRUE : FALSE;
}

BOOL SHChangeNotifyDeregister(HWND window)
{
    return watcher.Remove(window) ? TRUE : FALSE;
}

void SHChangeNotifyFree(FILECHANGENOTIFY* notify)
{
    if (notify) watcher.Free(notify);
}
