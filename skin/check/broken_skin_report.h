// The skin check inside the calculator: when a watched skin does not load, the calculator prints
// what numbrix-skin check finds in it, the loader's message being the check's last word.
#pragma once
#include "platform/types.h"

// Prints on standard error what the skin check finds in the skin, with the loader's message as
// the calculator's verdict.
void ReportBrokenSkin(LPCWSTR skinPath, LPCWSTR loaderMessage);
