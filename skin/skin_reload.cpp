#include "skin/skin_reload.h"

#include "engine/skin_layout.h"
#include "engine/sound_effects.h"
#include "platform/wince.h"
#include "skin/skin_loader.h"
#include "skin/surface_bank.h"

#include <cstring>

// The skin in use while the new one loads. LoadSkin fills the globals piece by piece and stops
// part-way on a failure, so all of them are kept aside first and put back on failure.
static SurfaceSlot heldBank[SurfaceSlotCount];
static SpriteCell heldCells[SpriteCellCount];
static Area heldLayout[AreaCount];
static WCHAR heldSounds[SoundCount][MAX_PATH];

static void HoldSkinInUse()
{
    memcpy(heldBank, SurfaceBank, sizeof SurfaceBank);
    memcpy(heldCells, SpriteCells, sizeof SpriteCells);
    memcpy(heldLayout, SkinLayout, sizeof SkinLayout);
    memcpy(heldSounds, SoundBank, sizeof SoundBank);
}

static void RestoreSkinInUse()
{
    memcpy(SurfaceBank, heldBank, sizeof SurfaceBank);
    memcpy(SpriteCells, heldCells, sizeof SpriteCells);
    memcpy(SkinLayout, heldLayout, sizeof SkinLayout);
    memcpy(SoundBank, heldSounds, sizeof SoundBank);
}

// ReleaseSurfaces works on the bank, so the held surfaces visit it to be released.
static void ReleaseHeldSurfaces()
{
    SurfaceSlot loaded[SurfaceSlotCount];
    memcpy(loaded, SurfaceBank, sizeof SurfaceBank);
    memcpy(SurfaceBank, heldBank, sizeof SurfaceBank);
    ReleaseSurfaces();
    memcpy(SurfaceBank, loaded, sizeof SurfaceBank);
}

int32_t ReloadSkin(LPCWSTR skinPath, LPWSTR message)
{
    HoldSkinInUse();
    // LoadSkin's reset would release what the bank holds: it gets an empty bank, the surfaces in
    // use being held above.
    for (SurfaceSlot& slot : SurfaceBank) slot = SurfaceSlot{nullptr, nullptr, nullptr, 0, 0, NoMaskSlot};
    message[0] = 0;
    skinMessageSink = message;
    int32_t result = LoadSkin(skinPath);
    skinMessageSink = nullptr;
    if (result == 0) {
        ReleaseHeldSurfaces();
        return 0;
    }
    ReleaseSurfaces();   // what the failed load created
    RestoreSkinInUse();
    return 1;
}
