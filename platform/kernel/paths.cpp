// Device paths and host paths (see host_paths.h).
#include "platform/host_paths.h"

#include "platform/files.h"
#include "platform/unicode.h"

#include <cstring>
#include <filesystem>

std::string HostPathFromDevice(LPCWSTR devicePath)
{
    if (!devicePath) return std::string();
    std::string host = Utf8FromUtf16(devicePath);
    for (char& c : host) {
        if (c == '\\') c = '/';
    }
    return host;
}

std::u16string DevicePathFromHost(const std::string& hostPath)
{
    std::u16string device = Utf16FromUtf8(hostPath);
    for (char16_t& c : device) {
        if (c == u'/') c = u'\\';
    }
    return device;
}

WCHAR* _wfullpath(WCHAR* absolute, const WCHAR* relative, size_t maxLength)
{
    if (!absolute) NotImplemented("_wfullpath allocating its result");
    if (!relative) return nullptr;
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(HostPathFromDevice(relative), error);
    if (error) return nullptr;
    std::u16string device = DevicePathFromHost(full.lexically_normal().string());
    if (device.size() + 1 > maxLength) return nullptr;
    std::memcpy(absolute, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
    return absolute;
}
