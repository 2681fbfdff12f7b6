// File-change notification: a burst of changes arrives once, each distinct change once and in
// order, a rename as one change; nothing arrives after the window deregistered.
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"
#include "tests/support/window_fixture.h"

#include <cstdio>

namespace {

struct Noticed {
    LONG event;
    std::u16string item1, item2;
    bool operator==(const Noticed&) const = default;
};

class ChangeNotifyTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Hook() = [this](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
            if (message != WM_FILECHANGEINFO) return false;
            auto* notify = reinterpret_cast<FILECHANGENOTIFY*>(lParam);
            auto text = [](UINT_PTR item) { return item ? std::u16string(reinterpret_cast<LPCWSTR>(item)) : u""; };
            noticed.push_back(Noticed{notify->fci.wEventId, text(notify->fci.dwItem1), text(notify->fci.dwItem2)});
            SHChangeNotifyFree(notify);
            return true;
        };
        window = FullScreen();
        std::u16string directory = dir.DevicePath();
        SHCHANGENOTIFYENTRY entry = {SHCNE_ALLEVENTS, directory.data(), FALSE};
        ASSERT_TRUE(SHChangeNotifyRegister(window, &entry));
    }
    void TearDown() override
    {
        SHChangeNotifyDeregister(window);
        WindowTest::TearDown();
    }
    // Waits for the next burst and dispatches it.
    bool TakeBurst()
    {
        noticed.clear();
        bool arrived = WaitForWorkerMessages(3000);
        RunUntilIdle();
        return arrived;
    }

    TempDir dir;
    HWND window = nullptr;
    std::vector<Noticed> noticed;
};

TEST_F(ChangeNotifyTest, ABurstArrivesOnceWithEachChangeOnceAndARenameAsOne)
{
    dir.Write("a.bmp", "1");
    dir.Write("a.bmp", "22");
    dir.Write("a.tmp", "333");
    ASSERT_EQ(std::rename(dir.HostPath("a.tmp").c_str(), dir.HostPath("a.bmp").c_str()), 0);
    ASSERT_TRUE(TakeBurst());
    std::u16string a = dir.DevicePath("a.bmp"), tmp = dir.DevicePath("a.tmp");
    EXPECT_EQ(noticed, (std::vector<Noticed>{{SHCNE_CREATE, a, u""},
                                             {SHCNE_UPDATEITEM, a, u""},
                                             {SHCNE_CREATE, tmp, u""},
                                             {SHCNE_UPDATEITEM, tmp, u""},
                                             {SHCNE_RENAMEITEM, tmp, a}}));
    EXPECT_FALSE(WaitForWorkerMessages(0)) << "the burst came in more than one piece";
}

TEST_F(ChangeNotifyTest, NothingArrivesAfterDeregistering)
{
    ASSERT_TRUE(SHChangeNotifyDeregister(window));
    dir.Write("a.bmp", "1");
    EXPECT_FALSE(WaitForWorkerMessages(3 * ChangeNotifyQuietMs));
    RunUntilIdle();
    EXPECT_TRUE(noticed.empty());
}

}  // namespace
