#include "platform/hosts/sdl/window_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(InitialScale, IsTwoWhenTheDesktopHasRoom)
{
    EXPECT_EQ(InitialScale(1920, 1040), 2);
    EXPECT_EQ(InitialScale(480, 640), 2);
    EXPECT_EQ(InitialScale(1024, 600), 1);
    EXPECT_EQ(InitialScale(479, 2000), 1);
}

// Two displays side by side: 1280 x 1024 (room for scale 3) and, to its right, 1024 x 700.
TEST(ChoosePlacement, RestoresWhatStillFitsElseCentresTheAutomaticScale)
{
    const std::vector<SDL_Rect> displays = {{0, 0, 1280, 1024}, {1280, 0, 1024, 700}};
    struct Case {
        const char* name;
        StoredPlacement stored;
        int requested;
        Placement expected;
    } cases[] = {
        {"FirstStart", {}, 0, {2, true, 0, 0}},
        {"KeptScaleAndPlace", {3, true, 100, 50}, 0, {3, false, 100, 50}},
        {"AutomaticScaleKeptPlace", {0, true, 1300, 10}, 0, {2, false, 1300, 10}},
        {"OffEveryDisplay", {1, true, 5000, 10}, 0, {2, true, 0, 0}},
        {"TooLargeWhereItWas", {3, true, 1300, 0}, 0, {2, true, 0, 0}},
        {"RequestedScaleAtTheKeptPlace", {1, true, 10, 10}, 3, {3, false, 10, 10}},
        {"RequestedScaleCutToTheDisplay", {}, 9, {3, true, 0, 0}},
    };
    for (const Case& c : cases) {
        Placement p = ChoosePlacement(c.stored, c.requested, displays);
        EXPECT_EQ(p.scale, c.expected.scale) << c.name;
        EXPECT_EQ(p.centred, c.expected.centred) << c.name;
        if (!p.centred) {
            EXPECT_EQ(p.x, c.expected.x) << c.name;
            EXPECT_EQ(p.y, c.expected.y) << c.name;
        }
    }
}

TEST(ZoomedScale, StaysWithinOneAndTheLargest)
{
    EXPECT_EQ(ZoomedScale(2, 1, 3), 3);
    EXPECT_EQ(ZoomedScale(3, 1, 3), 3);
    EXPECT_EQ(ZoomedScale(1, -1, 3), 1);
    EXPECT_EQ(ZoomedScale(4, -1, 2), 2) << "a window larger than the desktop shrinks to what fits";
    EXPECT_EQ(LargestScale(SDL_Rect{0, 0, 1280, 1024}), 3);
    EXPECT_EQ(LargestScale(SDL_Rect{0, 0, 200, 200}), 1);
}

}  // namespace
