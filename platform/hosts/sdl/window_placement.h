// The host window's scale and place: chosen at start from what the last run kept, the command
// line and the connected displays; changed by the zoom keys; kept in the settings file under the
// host's own key, beside the program's. Pure choices here, so they are tested without a display.
#pragma once
#include <SDL2/SDL_rect.h>

#include <vector>

// What the host keeps between runs. scale 0 is the automatic scale.
struct StoredPlacement {
    int scale = 0;
    bool hasPosition = false;
    int x = 0;
    int y = 0;
};

struct Placement {
    int scale = 1;
    bool centred = true;   // centred on the first display; else at (x, y)
    int x = 0;
    int y = 0;
};

// The largest integer scale at which the screen fits in a usable area (at least 1).
int LargestScale(const SDL_Rect& usable);
// The automatic scale: 2 when the usable area holds the doubled screen, else 1.
int InitialScale(int usableWidth, int usableHeight);
// Where the window opens on these displays' usable areas (the first is the primary): at the
// stored place when the window fits on a display there, at the requested scale (0: the stored
// one, else the automatic one); otherwise centred at the automatic scale, or at the requested
// one cut to what the first display holds.
Placement ChoosePlacement(const StoredPlacement& stored, int requestedScale, const std::vector<SDL_Rect>& displays);
// The scale one step up or down from current, within 1 and largest.
int ZoomedScale(int current, int step, int largest);

// Reads and writes the host's key in the settings file. Saving reports its own failure.
StoredPlacement LoadPlacement();
void SavePlacement(const StoredPlacement& placement);
