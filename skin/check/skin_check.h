// numbrix-skin check: every problem of a skin at once, one finding each, with the skin key and
// the line where there is one. Errors are what breaks the skin (it does not load, or the face
// shows or acts wrongly); warnings are what is legal but probably not meant. The calculator's
// own loader runs last and has the final word: a skin with no error always loads.
#pragma once
#include "skin/check/skin_location.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace skintool {

enum class Severity { Warning, Error };

struct Finding {
    Severity severity;
    int line;          // 0 when no line of the skin file applies
    std::string key;   // the skin key ("AREA17", "BACKIMAGE"), empty when none applies
    std::string text;
};

struct CheckReport {
    std::vector<Finding> findings;   // in line order, those without a line first; the loader's last
    int errors = 0;
    int warnings = 0;
};

// The calculator's own loader on the skin, the check's last word: true when the skin loads,
// otherwise false with the message that the calculator shows. The tool loads the skin in the
// headless host (TrialLoad); the calculator reports the load it just tried.
using LoaderVerdict = std::function<bool(std::u16string* message)>;

struct SkinFacts;
// factsOut, when given, receives what the check gathered (for the guide).
CheckReport CheckSkin(const SkinLocation& location, const LoaderVerdict& verdict, SkinFacts* factsOut = nullptr);

// "NAME:LINE: error: KEY: text", one line each, then a summary line.
void PrintReport(const CheckReport& report, const std::string& name, const SkinLocation& location, FILE* out);

}  // namespace skintool
