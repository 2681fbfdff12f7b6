// A stylus press on a key and the paint that follows it, through the message loop of the headless
// host, on the generated default skin.
#include "tests/support/face_window.h"
#include "tests/support/skin_fixture.h"

#include "display/face_window.h"
#include "display/frame_painter.h"
#include "engine/calc_state.h"
#include "platform/headless.h"
#include "platform/host_paths.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

#include <benchmark/benchmark.h>

namespace {

void BM_KeyPressAndPaint(benchmark::State& state)
{
    ReleaseSurfaces();
    ResetHeadlessDevice();
    std::string buildDir = std::filesystem::path(NUMBRIX_SKIN_BUILD_DIR).parent_path().string();
    std::u16string device = DevicePathFromHost(buildDir) + u"\\";
    std::memcpy(appDirectory, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
    CreateFaceWindow();
    static std::u16string skin;
    skin = device + u"skin\\default.skn";
    StartFace([] { return LoadSkin(skin.c_str()); });
    RunUntilIdle();
    const Area& key = SkinLayout[4];   // digit 1
    int x = key.x + key.width / 2, y = key.y + key.height / 2 + 26;
    for (auto _ : state) {
        InjectStylusDown(x, y);
        RunUntilIdle();   // PressKey, then the paint
        state.PauseTiming();
        InjectStylusUp(x, y);
        RunUntilIdle();
        ClearAll();
        state.ResumeTiming();
    }
    ReleaseSurfaces();
    ResetHeadlessDevice();
}
BENCHMARK(BM_KeyPressAndPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
