// Device paths and host paths (see host_paths.h).
#include "platform/host_paths.h"

#include "platform/unicode.h"

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
