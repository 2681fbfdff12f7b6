// Messages from the desktop hosts' worker threads (the file-change watcher) to the message loop.
#pragma once
#include "platform/types.h"

#include <vector>

// Thread-safe: puts messages in the queue of the loop's thread, all at once (at the next
// TakeNextMessage, through HostTakeWorkerMessages; those whose window is gone by then are
// dropped), and wakes the host (HostWake).
void PostMessagesFromWorker(const std::vector<MSG>& messages);
