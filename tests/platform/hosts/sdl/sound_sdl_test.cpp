// The SDL host's sound player: the audio device opens off the message loop's thread once the first
// frame is shown, and the sound asked for meanwhile is not lost.
#include "platform/hosts/sdl/sdl_host.h"
#include "platform/sound.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

// A WAV file of a few silent 16-bit mono samples at 8 kHz.
std::string SilentWav()
{
    const int samples = 64;
    auto le = [](uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
        return out;
    };
    return "RIFF" + le(36 + 2 * samples, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) +
           le(16000, 4) + le(2, 2) + le(16, 2) + "data" + le(2 * samples, 4) + std::string(2 * samples, '\0');
}

struct Requests {
    const char* name;
    const char* driver;
    std::vector<const char*> before;   // sound files asked for before the first frame; null: stop
    bool shown;
    const char* started;   // the sound the device starts once it is open; empty: none
};

void PrintTo(const Requests& r, std::ostream* out)
{
    *out << r.name;
}

class SoundBeforeTheDevice : public ::testing::TestWithParam<Requests> {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", GetParam().driver, 1);
        ASSERT_TRUE(SdlHostStart());
        dir_.Write("a.wav", SilentWav());
        dir_.Write("b.wav", SilentWav());
    }
    void TearDown() override
    {
        SdlHostStop();
        unsetenv("SDL_AUDIODRIVER");
    }
    BOOL Play(const char* name)
    {
        return name ? sndPlaySoundW(dir_.DevicePath(name).c_str(), SND_FILENAME | SND_ASYNC)
                    : sndPlaySoundW(nullptr, SND_FILENAME | SND_ASYNC);
    }
    TempDir dir_;
};

TEST_P(SoundBeforeTheDevice, TheLatestStartsWhenTheDeviceOpens)
{
    for (const char* name : GetParam().before) EXPECT_TRUE(Play(name)) << "a waiting sound is not refused";
    if (GetParam().shown) SoundFirstFrameShown();
    WaitForAudioDevice();
    std::string started = GetParam().started;
    EXPECT_EQ(SoundStartedLast(), started.empty() ? u"" : dir_.DevicePath(started));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SoundBeforeTheDevice,
    ::testing::Values(Requests{"OneSound", "dummy", {"a.wav"}, true, "a.wav"},
                      Requests{"TheLatestOfTwo", "dummy", {"a.wav", "b.wav"}, true, "b.wav"},
                      Requests{"StoppedBeforeItCouldStart", "dummy", {"a.wav", nullptr}, true, ""},
                      Requests{"AskedForAgainAfterAStop", "dummy", {"a.wav", nullptr, "b.wav"}, true, "b.wav"},
                      Requests{"NothingOpensBeforeTheFirstFrame", "dummy", {"a.wav"}, false, ""},
                      Requests{"NoAudioDevice", "no-such-driver", {"a.wav"}, true, ""}),
    [](const ::testing::TestParamInfo<Requests>& info) { return std::string(info.param.name); });

TEST(SoundAfterTheDevice, PlaysAtOnceOrIsSilentWithoutADevice)
{
    TempDir dir;
    dir.Write("a.wav", SilentWav());
    std::u16string path = dir.DevicePath("a.wav");
    for (auto [driver, plays] : {std::pair{"dummy", TRUE}, std::pair{"no-such-driver", FALSE}}) {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", driver, 1);
        ASSERT_TRUE(SdlHostStart());
        SoundFirstFrameShown();
        sndPlaySoundW(path.c_str(), SND_FILENAME | SND_ASYNC);
        WaitForAudioDevice();
        EXPECT_EQ(sndPlaySoundW(path.c_str(), SND_FILENAME | SND_ASYNC), plays) << driver;
        EXPECT_EQ(SoundStartedLast(), plays ? path : u"") << driver;
        SdlHostStop();
        unsetenv("SDL_AUDIODRIVER");
    }
}

// A sound is converted once, and again after its file changed: a skin's sound saved anew plays
// as saved, a file that became unplayable or went away is silent.
TEST(SoundAfterTheDevice, AChangedFileIsReadAgain)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(SdlHostStart());
    SoundFirstFrameShown();
    TempDir dir;
    dir.Write("a.wav", SilentWav());
    std::u16string path = dir.DevicePath("a.wav");
    sndPlaySoundW(path.c_str(), SND_FILENAME | SND_ASYNC);
    WaitForAudioDevice();
    EXPECT_EQ(sndPlaySoundW(path.c_str(), SND_FILENAME | SND_ASYNC), TRUE);
    dir.Write("a.wav", "no sound in here");
    EXPECT_EQ(sndPlaySoundW(path.c_str(), SND_FILENAME | SND_ASYNC), FALSE) << "the earlier sound was played";
    dir.Write("a.wav", SilentWav());
    EXPECT_EQ(sndPlaySoundW(path.c_str(), SND_FILENAME | SND_ASYNC), TRUE);
    std::filesystem::remove(dir.HostPath("a.wav"));
    EXPECT_EQ(sndPlaySoundW(path.c_str(), SND_FILENAME | SND_ASYNC), FALSE);
    SdlHostStop();
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
