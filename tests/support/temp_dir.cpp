#include "tests/support/temp_dir.h"

#include "platform/host_paths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

// A directory that cannot be made or a file that cannot be written leaves nothing worth running:
// the run stops with the reason.
[[noreturn]] static void Fail(const char* what, const std::string& path)
{
    std::fprintf(stderr, "TempDir: cannot %s %s\n", what, path.c_str());
    std::abort();
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "numbrix-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) Fail("make a directory like", pattern);
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::HostPath(const std::string& name) const
{
    return name.empty() ? path_ : path_ + "/" + name;
}

std::u16string TempDir::DevicePath(const std::string& name) const
{
    return DevicePathFromHost(HostPath(name));
}

void TempDir::Write(const std::string& name, const std::string& bytes) const
{
    const std::string path = HostPath(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) Fail("write", path);
}

void TempDir::MakeDirectory(const std::string& name) const
{
    std::filesystem::create_directories(HostPath(name));
}
