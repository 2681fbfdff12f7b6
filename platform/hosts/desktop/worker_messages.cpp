// The inbox of messages that worker threads post: stamped and kept under a lock until the loop's
// thread takes them.
#include "platform/hosts/desktop/worker_messages.h"

#include "platform/host.h"
#include "platform/user/window_internals.h"

#include <mutex>

namespace {

std::mutex workerInboxLock;
std::vector<MSG> workerInbox;

}  // namespace

void PostMessagesFromWorker(const std::vector<MSG>& messages)
{
    {
        std::lock_guard<std::mutex> guard(workerInboxLock);
        for (MSG msg : messages) {
            msg.time = MessageTime();
            workerInbox.push_back(msg);
        }
    }
    HostWake();
}

std::vector<MSG> HostTakeWorkerMessages()
{
    std::vector<MSG> arrived;
    std::lock_guard<std::mutex> guard(workerInboxLock);
    arrived.swap(workerInbox);
    return arrived;
}
