// A skin loaded, released and loaded again a thousand times holds on to nothing: the platform's
// live DCs, bitmaps and open files come back to where they were, and neither the heap in use nor
// the process's resident memory grows.
#include "tests/support/skin_fixture.h"

#include "platform/inspect.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

#include <fstream>
#include <malloc.h>
#include <unistd.h>

#ifdef __SANITIZE_ADDRESS__
// The sanitizer runtime's own count of allocated bytes (GCC ships no header for it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Bytes the allocator has handed out and not had back (under AddressSanitizer its own count,
// which leaves out what it holds in quarantine).
size_t HeapInUse()
{
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

size_t ResidentBytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return size_t(resident) * size_t(sysconf(_SC_PAGESIZE));
}

struct Usage {
    int dcs, bitmaps, files;
    size_t heap, resident;
};

Usage Now()
{
    return Usage{LiveDeviceContexts(), LiveBitmaps(), OpenWideFileCount(), HeapInUse(), ResidentBytes()};
}

TEST(SkinReload, AThousandReloadsHoldOnToNothing)
{
    TestInstallation install;
    const std::u16string path = install.WriteSkin("test");
    CreateTestMainWindow();
    auto loadAndRelease = [&path] {
        ClearSoundLog();   // the headless host's record of the sound each load plays
        ASSERT_EQ(LoadSkin(path.c_str()), 0);
        ReleaseSurfaces();
    };
    // The first loads fill the C library's and the platform's caches (the code page converter,
    // the stock bitmap); what they keep is not the skin's.
    for (int i = 0; i < 10; i++) loadAndRelease();
    const Usage before = Now();
    for (int i = 0; i < 1000; i++) loadAndRelease();
    const Usage after = Now();
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(after.bitmaps, before.bitmaps);
    EXPECT_EQ(after.files, before.files);
    // One load allocates about 300 KiB; a leak of a hundredth of that per load would show.
    EXPECT_LT(after.heap, before.heap + 64 * 1024) << "heap in use grew from " << before.heap;
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer keeps freed memory in quarantine, so only the plain build can look at this.
    EXPECT_LT(after.resident, before.resident + 4 * 1024 * 1024) << "resident memory grew from " << before.resident;
#endif
    DestroyWindow(mainWindow);
}

}  // namespace
