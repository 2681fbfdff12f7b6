// For the web tests: where the stylus presses each key of a sequence, on the device screen, as the
// skin tool's session presses it (the calculator's own key areas and states, the mode at each press).
//   numbrix_press_points SKIN.skn KEY...   one line a key: "X Y", or "-" for a key not pressed
#include "engine/key_table.h"
#include "engine/skin_layout.h"
#include "platform/screen.h"
#include "tools/skin_tool/calculator_session.h"

#include <cstdio>
#include <string>

using namespace skintool;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: numbrix_press_points SKIN.skn KEY...\n");
        return 2;
    }
    CalculatorSession session;
    std::u16string message;
    if (!session.Start(LocateSkin(argv[1], ""), &message)) return 1;
    for (int i = 2; i < argc; ++i) {
        KeyWord key;
        FacePoint point;
        bool pressed = ParseKeyWord(argv[i], session.Mode(), &key) && keyStates[key.key] != Disabled &&
                       FindPressPoint(key.key, keyStates, SkinLayout, &point);
        if (pressed) std::printf("%d %d\n", point.x, point.y + TitleBarHeight);
        else std::printf("-\n");
        if (pressed) session.PressKey(KeyWord{key.key, false});
    }
    return 0;
}
