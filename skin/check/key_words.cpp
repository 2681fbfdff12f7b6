#include "skin/check/key_words.h"

#include "engine/calc_state.h"
#include "engine/key_names.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace skintool {

namespace {

struct Alias {
    const char* word;
    const char* name;   // the key's short name (engine/key_names.h)
};

constexpr Alias Aliases[] = {
    {".", "point"}, {"+/-", "sign"}, {"+", "add"}, {"-", "sub"}, {"*", "mul"}, {"x", "mul"},
    {"/", "div"}, {"=", "eq"}, {"clear", "ac"}, {"digit-c", "c"},
};

const char* const Descriptions[KeyCount] = {
    "digit D", "digit A", "digit 7", "digit 4", "digit 1", "digit 0", "digit E", "digit B",
    "digit 8", "digit 5", "digit 2", "decimal point", "digit F", "digit C", "digit 9", "digit 6",
    "digit 3", "sign change", "divide", "multiply", "subtract", "add", "equals", "clear all",
    "clear entry", "backspace", "hexadecimal mode", "decimal mode", "binary mode",
};

std::string Lowered(const std::string& word)
{
    std::string lower = word;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return lower;
}

// The key a word names, with "c" taken as the digit; -1 for none.
int KeyOfName(const std::string& word)
{
    for (const Alias& alias : Aliases)
        if (word == alias.word) return KeyIndexByName(alias.name);
    return KeyIndexByName(word.c_str());
}

}  // namespace

bool ParseKeyWord(const std::string& word, RadixMode mode, KeyWord* parsed)
{
    std::string lower = Lowered(word);
    bool hold = lower.rfind("down:", 0) == 0;
    if (hold) lower.erase(0, 5);
    int key = KeyOfName(lower);
    if (key < 0) return false;
    // A bare "c" is clear all wherever the digit C cannot be pressed.
    if (lower == "c" && mode != Hex) key = KeyClearAll;
    *parsed = KeyWord{key, hold};
    return true;
}

bool IsKeyWord(const std::string& word)
{
    KeyWord ignored;
    return ParseKeyWord(word, Hex, &ignored);
}

std::string KeyDescription(int key)
{
    return key >= 0 && key < KeyCount ? Descriptions[key] : "no key";
}

std::string ModeName(RadixMode mode)
{
    switch (mode) {
    case Hex: return "hexadecimal";
    case Dec: return "decimal";
    case Bin: return "binary";
    }
    return "unknown";
}

bool FindPressPoint(int key, const KeyState states[KeyCount], const Area areas[AreaCount], FacePoint* point)
{
    const Area& area = areas[key];
    int64_t left = std::max<int64_t>(area.x, 0);
    int64_t top = std::max<int64_t>(area.y, 0);
    int64_t right = std::min<int64_t>(int64_t(area.x) + area.width, FaceWidth);
    int64_t bottom = std::min<int64_t>(int64_t(area.y) + area.height, FaceHeight);
    // The centre of the part inside the client area, in doubled coordinates so that an even size
    // needs no rounding.
    int64_t centreX2 = left + right;
    int64_t centreY2 = top + bottom;
    int64_t best = INT64_MAX;
    for (int64_t y = top; y < bottom; y++) {
        for (int64_t x = left; x < right; x++) {
            int64_t dx = 2 * x + 1 - centreX2, dy = 2 * y + 1 - centreY2;
            int64_t distance = dx * dx + dy * dy;
            if (distance >= best || KeyAtPoint(int(x), int(y), states, areas) != key) continue;
            best = distance;
            *point = FacePoint{int(x), int(y)};
        }
    }
    return best != INT64_MAX;
}

}  // namespace skintool
