// The registry file reader over arbitrary bytes, through the program's own settings code. Checked:
// reading leaves a terminated skin path and no key open, and whatever the file held before, the
// settings saved over it read back exactly (texts with quotes, backslashes and line breaks
// included).
#include "fuzz_support.h"

#include "engine/app_globals.h"
#include "platform/inspect.h"
#include "platform/wince.h"
#include "shell/app_main.h"

#include <cstdlib>
#include <cstring>

namespace {

const char16_t DefaultSkin[] = u"\\app\\skin\\default.skn";

void SetSettings(const std::u16string& skinFile, int32_t soundEffects)
{
    FUZZ_CHECK(skinFile.size() < MAX_PATH);
    std::memcpy(appSettings.skinFile, skinFile.c_str(), (skinFile.size() + 1) * sizeof(WCHAR));
    appSettings.soundEffects = soundEffects;
}

bool SkinFileTerminated()
{
    for (WCHAR unit : appSettings.skinFile)
        if (unit == 0) return true;
    return false;
}

// A skin path made of the input: its text without NULs, at most 259 units, no pair cut in half
// (the file holds UTF-8, in which half a pair has no form).
std::u16string SkinPathOf(const uint8_t* data, size_t size)
{
    std::u16string text;
    for (char16_t unit : TextOf(data, size))
        if (unit != 0) text += unit;
    text.resize(std::min(text.size(), size_t(MAX_PATH - 1)));
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
    return text;
}

int32_t NumberOf(const uint8_t* data, size_t size)
{
    uint32_t number = 0;
    for (size_t i = 0; i < 4 && i < size; i++) number |= uint32_t(data[i]) << (8 * i);
    return int32_t(number);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("NUMBRIX_REGISTRY", ScratchPath("registry.reg").c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string hostPath = ScratchPath("registry.reg");
    WriteScratchFile(hostPath, data, size);

    SetSettings(DefaultSkin, 1);
    LoadSettings();
    FUZZ_CHECK(SkinFileTerminated());
    FUZZ_CHECK(OpenRegistryKeyCount() == 0);

    const std::u16string skinFile = SkinPathOf(data, size);
    const int32_t soundEffects = NumberOf(data, size);
    SetSettings(skinFile, soundEffects);
    SaveSettings();
    FUZZ_CHECK(OpenRegistryKeyCount() == 0);
    SetSettings(DefaultSkin, soundEffects ^ 1);
    LoadSettings();
    FUZZ_CHECK(std::u16string(appSettings.skinFile) == skinFile);
    FUZZ_CHECK(appSettings.soundEffects == soundEffects);
    FUZZ_CHECK(OpenRegistryKeyCount() == 0);
    return 0;
}
