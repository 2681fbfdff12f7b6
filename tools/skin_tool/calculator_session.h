// The calculator in the headless host, for the tools: a main window of the calculator's size that
// is created, loads its skin, takes stylus presses and paints exactly as the program's main window
// does (StartFace, HandleFaceMessage), and the face it shows.
#pragma once
#include "platform/pixels.h"
#include "skin/check/key_words.h"
#include "skin/check/skin_location.h"

#include <string>

namespace skintool {

class CalculatorSession {
public:
    enum class Press { Done, Disabled, Unreachable };

    CalculatorSession() = default;
    ~CalculatorSession() { Stop(); }
    CalculatorSession(const CalculatorSession&) = delete;
    CalculatorSession& operator=(const CalculatorSession&) = delete;

    // Starts the calculator with the skin. False when the skin does not load, with the message
    // that the calculator shows in `message`.
    bool Start(const SkinLocation& location, std::u16string* message);
    // Destroys the window and forgets everything of the device.
    void Stop();

    RadixMode Mode() const;
    // Presses a key with the stylus where a press reaches it, and lifts the stylus again unless
    // the key is to be held. A key held before is released first.
    Press PressKey(const KeyWord& word);
    // Lifts the stylus from a held key.
    void Lift();
    // The face as the window shows it now: the client area, 240 x 268.
    PixelBuffer Face();

private:
    bool running_ = false;
    bool holding_ = false;
    FacePoint held_ = {0, 0};
};

// Loads the skin as the calculator does and releases it again. False with the calculator's
// message when it does not load.
bool TrialLoad(const SkinLocation& location, std::u16string* message);

}  // namespace skintool
