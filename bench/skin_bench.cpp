// Loading a skin as the program does (every look-up reopens the skin file), and painting the face.
#include "tests/support/skin_fixture.h"

#include "display/face_window.h"
#include "display/frame_painter.h"
#include "engine/calc_state.h"
#include "platform/host_paths.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

#include <benchmark/benchmark.h>

namespace {

// The generated default skin, from the build tree's skin folder.
struct LoadedSkin {
    std::u16string path;
    LoadedSkin()
    {
        std::string buildDir = std::filesystem::path(NUMBRIX_SKIN_BUILD_DIR).parent_path().string();
        std::u16string device = DevicePathFromHost(buildDir) + u"\\";
        std::memcpy(appDirectory, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
        CreateTestMainWindow();
        path = device + u"skin\\default.skn";
    }
};

LoadedSkin& Skin()
{
    static LoadedSkin skin;
    return skin;
}

void BM_LoadSkin(benchmark::State& state)
{
    LoadedSkin& skin = Skin();
    for (auto _ : state) {
        ReleaseSurfaces();
        benchmark::DoNotOptimize(LoadSkin(skin.path.c_str()));
    }
}
BENCHMARK(BM_LoadSkin)->Unit(benchmark::kMillisecond);

void BM_PaintFrame(benchmark::State& state)
{
    ReleaseSurfaces();
    StartFace([] { return LoadSkin(Skin().path.c_str()); });
    calcState.decimalValue = -1234567.8;
    calcState.pendingOp = OpAdd;
    for (auto _ : state) benchmark::DoNotOptimize(PaintFrame());
}
BENCHMARK(BM_PaintFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
