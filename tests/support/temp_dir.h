// A directory of its own for a test, a benchmark or a fuzz harness, removed with everything in it
// when it goes out of scope.
#pragma once
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory, or a path inside it, as the host names it.
    std::string HostPath(const std::string& name = "") const;
    // The same path as the program sees it, with backslashes.
    std::u16string DevicePath(const std::string& name = "") const;

    // Writes a file inside the directory, making the directories on its way.
    void Write(const std::string& name, const std::string& bytes) const;
    void MakeDirectory(const std::string& name) const;

private:
    std::string path_;
};
