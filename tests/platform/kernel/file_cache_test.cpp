// The file layer keeps the decoded text of the last file read; every change to that file between
// two opens must show in the second, however it was made.
#include "platform/faults.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <time.h>

namespace {

std::u16string ReadAll(const std::u16string& path)
{
    WFILE* file = _wfopen(path.c_str(), u"rt");
    if (!file) return u"(cannot open)";
    std::u16string text;
    WCHAR line[MAX_PATH];
    while (fgetws(line, MAX_PATH, file)) text += line;
    fclose(file);
    return text;
}

struct stat StatusOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info;
}

// Waits until the file's last change lies in an earlier tick of the clock the kernel stamps
// changes with, so that the file layer keeps what it reads of it.
void WaitUntilSettled(const std::string& path)
{
    timespec changed = StatusOf(path).st_ctim, now{};
    for (int tries = 0; tries < 1000; ++tries) {
        clock_gettime(CLOCK_REALTIME_COARSE, &now);
        if (now.tv_sec > changed.tv_sec || (now.tv_sec == changed.tv_sec && now.tv_nsec > changed.tv_nsec)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ADD_FAILURE() << "the clock did not pass the file's change time";
}

void SetModificationTime(const std::string& path, const timespec& time)
{
    timespec times[2] = {time, time};
    EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// Each change leaves the file's size as it was; the second read must still see the new text.
struct Change {
    const char* name;
    void (*apply)(const TempDir& dir);
};

void PrintTo(const Change& change, std::ostream* out)
{
    *out << change.name;
}

class ChangedFile : public ::testing::TestWithParam<Change> {};

TEST_P(ChangedFile, IsReadAgain)
{
    TempDir dir;
    dir.Write("skin.skn", "[FILE]\nA=old\n");
    WaitUntilSettled(dir.HostPath("skin.skn"));
    ASSERT_EQ(ReadAll(dir.DevicePath("skin.skn")), u"[FILE]\nA=old\n");
    ASSERT_EQ(ReadAll(dir.DevicePath("skin.skn")), u"[FILE]\nA=old\n");   // from what was kept
    GetParam().apply(dir);
    EXPECT_EQ(ReadAll(dir.DevicePath("skin.skn")), u"[FILE]\nA=new\n");
}

INSTANTIATE_TEST_SUITE_P(
    SameSize, ChangedFile,
    ::testing::Values(
        Change{"RewrittenInPlaceWithANewModificationTime",
               [](const TempDir& dir) {
                   dir.Write("skin.skn", "[FILE]\nA=new\n");
                   SetModificationTime(dir.HostPath("skin.skn"), timespec{1000000000, 0});
               }},
        Change{"RewrittenInPlaceWithItsOldModificationTime",
               [](const TempDir& dir) {
                   timespec old = StatusOf(dir.HostPath("skin.skn")).st_mtim;
                   dir.Write("skin.skn", "[FILE]\nA=new\n");
                   SetModificationTime(dir.HostPath("skin.skn"), old);
               }},
        Change{"ReplacedByAnotherFileWithTheSameTimes",
               [](const TempDir& dir) {
                   timespec old = StatusOf(dir.HostPath("skin.skn")).st_mtim;
                   dir.Write("next.skn", "[FILE]\nA=new\n");
                   SetModificationTime(dir.HostPath("next.skn"), old);
                   EXPECT_EQ(std::rename(dir.HostPath("next.skn").c_str(), dir.HostPath("skin.skn").c_str()), 0);
               }}),
    [](const ::testing::TestParamInfo<Change>& info) { return std::string(info.param.name); });

TEST(KeptFile, StreamsOnItReadOnTheirOwnAndInjectedFailuresStillFail)
{
    TempDir dir;
    dir.Write("skin.skn", "one\ntwo\n");
    WaitUntilSettled(dir.HostPath("skin.skn"));
    WFILE* first = _wfopen(dir.DevicePath("skin.skn").c_str(), u"rt");
    ASSERT_NE(first, nullptr);
    WCHAR line[MAX_PATH];
    ASSERT_NE(fgetws(line, MAX_PATH, first), nullptr);
    EXPECT_EQ(ReadAll(dir.DevicePath("skin.skn")), u"one\ntwo\n");
    ASSERT_NE(fgetws(line, MAX_PATH, first), nullptr);
    EXPECT_EQ(std::u16string(line), u"two\n");
    fclose(first);

    FailNextCalls("_wfopen", 1);
    EXPECT_EQ(_wfopen(dir.DevicePath("skin.skn").c_str(), u"rt"), nullptr);
    ClearFaults();
    EXPECT_EQ(std::remove(dir.HostPath("skin.skn").c_str()), 0);
    EXPECT_EQ(_wfopen(dir.DevicePath("skin.skn").c_str(), u"rt"), nullptr);
}

}  // namespace
