// A directory of its own for a test, removed with everything in it when the test ends.
#pragma once
#include "platform/host_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

class TempDir {
public:
    TempDir()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/numbrix-test-XXXXXX";
        if (!mkdtemp(pattern.data())) ADD_FAILURE() << "cannot make a temporary directory";
        path_ = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string HostPath(const std::string& name = "") const { return name.empty() ? path_ : path_ + "/" + name; }
    // The same path as the program sees it, with backslashes.
    std::u16string DevicePath(const std::string& name = "") const { return DevicePathFromHost(HostPath(name)); }

    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(HostPath(name), std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out) ADD_FAILURE() << "cannot write " << HostPath(name);
    }
    void MakeDirectory(const std::string& name) const { std::filesystem::create_directories(HostPath(name)); }

private:
    std::string path_;
};
