// Device paths (UTF-16, backslashes) and host paths (UTF-8, slashes): every file service of the
// platform turns the one into the other, and tools and tests name host files to the device.
#pragma once
#include "platform/types.h"

#include <string>

std::string HostPathFromDevice(LPCWSTR devicePath);   // empty for null
std::u16string DevicePathFromHost(const std::string& hostPath);
