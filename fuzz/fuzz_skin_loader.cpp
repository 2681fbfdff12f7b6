// The skin loader over arbitrary skin text, in an application directory whose skin folder holds
// the generated default skin's images and sounds and a tiny parts image. Checked: the result is
// 0 or 1, a stop shows exactly one of the loader's messages, a load fills the four surfaces, sound
// paths stay inside the skin folder, and releasing gives back every DC and bitmap. A loaded skin
// is then worked as the program works it: every key tapped at its corner, the face painted.
#include "fuzz_support.h"

#include "display/face_window.h"
#include "display/frame_painter.h"
#include "engine/app_globals.h"
#include "engine/calc_state.h"
#include "engine/skin_cells.h"
#include "engine/skin_layout.h"
#include "platform/host_paths.h"
#include "platform/inspect.h"
#include "platform/wince.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"
#include "tests/support/test_files.h"

#include <cstring>
#include <filesystem>

namespace {

const char* const SkinFiles[] = {"back.bmp",      "parts.bmp",       "loaded.wav", "digit.wav",
                                 "mode.wav",      "clear_all.wav",   "clear_entry.wav",
                                 "backspace.wav", "operator.wav",    "equals.wav", "exit.wav"};

std::u16string skinPath;
std::u16string skinFolder;
std::string skinHostPath;

HWND CreateMainWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        return m == WM_CREATE ? 0 : DefWindowProcW(w, m, wp, lp);
    };
    windowClass.lpszClassName = u"NumbrixFuzzMain";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, u"NumbrixFuzzMain", u"fuzz", 0, 0, 26, FaceWidth, FaceHeight, nullptr, nullptr, nullptr,
                           nullptr);
}

// skin/fuzz.skn is the input; skin/fuzz/ holds the default skin's files and tiny.bmp (16 x 8,
// the transparent colour at its corners).
void MakeInstallation()
{
    const std::string app = ScratchPath("app");
    const std::string folder = app + "/skin/fuzz";
    std::filesystem::create_directories(folder);
    for (const char* name : SkinFiles)
        std::filesystem::copy_file(std::string(NUMBRIX_SKIN_BUILD_DIR) + "/default/" + name, folder + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    std::vector<uint32_t> tiny(16 * 8, 0x3366CC);
    tiny[0] = tiny[15] = tiny[16 * 7] = tiny[16 * 8 - 1] = 0x646464;
    WriteFile(folder + "/tiny.bmp", Bmp24(16, 8, tiny));

    std::u16string device = DevicePathFromHost(app) + u"\\";
    FUZZ_CHECK(device.size() < MAX_PATH);
    std::memcpy(appDirectory, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
    skinFolder = device + u"skin\\fuzz\\";
    skinPath = device + u"skin\\fuzz.skn";
    skinHostPath = app + "/skin/fuzz.skn";
}

bool StartsWith(const std::u16string& text, const std::u16string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

void CheckStopMessage()
{
    FUZZ_CHECK(MessageBoxLog().size() == 1);
    const MessageBoxRecord& box = MessageBoxLog()[0];
    FUZZ_CHECK(box.owner == mainWindow && box.caption == u"ERROR" && box.type == MB_OK);
    FUZZ_CHECK(StartsWith(box.text, u"スキンファイルが壊れている、又はありません。[") ||
               StartsWith(box.text, u"仮想画面("));
}

void CheckLoadedSkin()
{
    FUZZ_CHECK(MessageBoxLog().empty());
    for (int slot = SlotComposition; slot <= SlotPartsMask; slot++) FUZZ_CHECK(SurfaceBank[slot].dc && SurfaceBank[slot].bitmap);
    FUZZ_CHECK(SurfaceBank[SlotParts].maskSlot == SlotPartsMask);
    FUZZ_CHECK(SurfaceBank[SlotPartsMask].width == SurfaceBank[SlotParts].width && SurfaceBank[SlotPartsMask].height == SurfaceBank[SlotParts].height);
    for (int cell = 0; cell < CellCount; cell++) FUZZ_CHECK(SpriteCells[cell].surface == SlotParts);
    FUZZ_CHECK(SoundLog().size() == (SoundBank[0][0] ? 1u : 0u));
}

void CheckSoundPaths()
{
    for (const auto& sound : SoundBank) {
        size_t length = 0;
        while (length < MAX_PATH && sound[length]) length++;
        FUZZ_CHECK(length < MAX_PATH);
        FUZZ_CHECK(length == 0 || StartsWith(std::u16string(sound, length), skinFolder));
    }
}

// Every key tapped where its area starts (a stylus position holds 16 bits a coordinate), then
// the face painted and the keys released, as the message loop would.
void WorkTheFace()
{
    ResetCalculator();
    SetRadixMode(Dec);
    for (int key = 0; key < KeyCount; key++) {
        const Area& area = SkinLayout[key];
        if (area.x < 0 || area.y < 0 || area.x > 0xFFFF || area.y > 0xFFFF) continue;
        PressKey(LPARAM(uint32_t(area.x) | uint32_t(area.y) << 16));
        PaintFrame();
        ReleaseKeys();
    }
    PaintFrame();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MakeInstallation();
    mainWindow = CreateMainWindow();
    FUZZ_CHECK(mainWindow != nullptr);
    appSettings.soundEffects = 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteScratchFile(skinHostPath, data, size);
    // Every input starts from the same state, so that a finding replays alone.
    std::memset(SkinLayout, 0, sizeof SkinLayout);
    std::memset(SoundBank, 0, sizeof SoundBank);
    ClearMessageBoxLog();
    ClearSoundLog();
    ClearInvalidateLog();
    const int dcs = LiveDeviceContexts();
    const int bitmaps = LiveBitmaps();

    int32_t result = LoadSkin(skinPath.c_str());
    FUZZ_CHECK(result == 0 || result == 1);
    FUZZ_CHECK(OpenWideFileCount() == 0);
    CheckSoundPaths();
    if (result == 1) {
        CheckStopMessage();
    } else {
        CheckLoadedSkin();
        WorkTheFace();
    }
    ReleaseSurfaces();
    FUZZ_CHECK(LiveDeviceContexts() == dcs && LiveBitmaps() == bitmaps);
    return 0;
}
