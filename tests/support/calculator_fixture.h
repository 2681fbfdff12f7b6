// Helpers for driving the calculator by key names, as the main window would after creation.
#pragma once
#include "display/display_text.h"
#include "display/face_window.h"
#include "engine/calc_state.h"
#include "engine/key_names.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

// The state that window creation leaves.
inline void StartCalculator()
{
    StartFace([] { return int32_t(0); });   // no skin to load
}

// Applies space-separated key names in order; returns the sound of the last one.
inline SoundId Keys(const std::string& sequence)
{
    std::istringstream words(sequence);
    std::string word;
    SoundId sound = SoundDigit;
    while (words >> word) {
        int key = KeyIndexByName(word.c_str());
        EXPECT_GE(key, 0) << "unknown key name " << word;
        if (key >= 0) sound = ApplyKey(key);
    }
    return sound;
}

inline std::string DisplayText()
{
    WCHAR text[DisplayTextMax + 1];
    int length = BuildDisplayText(&calcState, text);
    return std::string(text, text + length);
}
