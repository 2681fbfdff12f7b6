// A skin loaded, released and loaded again holds on to nothing: after every reload the platform's
// live DCs, bitmaps and open files and the bytes of heap in use are exactly what they were after
// the first few, and the process's resident memory does not grow.
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

TEST(SkinReload, EachReloadHoldsOnToNothing)
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
    // The same loads and releases allocate and free the same blocks, so any byte a load keeps shows
    // at once; a few reloads prove what a long run of them would.
    const int reloads = 20;
    for (int i = 1; i <= reloads; i++) {
        loadAndRelease();
        const Usage now = Now();
        ASSERT_EQ(now.dcs, before.dcs) << "after reload " << i;
        ASSERT_EQ(now.bitmaps, before.bitmaps) << "after reload " << i;
        ASSERT_EQ(now.files, before.files) << "after reload " << i;
        ASSERT_EQ(now.heap, before.heap) << "after reload " << i;
    }
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer keeps freed memory in quarantine, so only the plain build can look at this;
    // it catches memory kept outside the heap, such as a mapping never unmapped (a page per reload).
    const size_t resident = ResidentBytes();
    EXPECT_LT(resident, before.resident + reloads * 4096) << "resident memory grew from " << before.resident;
#endif
    DestroyWindow(mainWindow);
}

}  // namespace
