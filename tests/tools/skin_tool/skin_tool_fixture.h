// Running the built numbrix-skin as a process, on copies of the generated skins that a test may
// break, and reading back the PNG images it writes.
#pragma once
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

struct ToolRun {
    int status = -1;
    std::string out, err;
};

// A copy of a generated skin in a layout of its own: DIR/skin/<name>.skn and DIR/skin/<name>/.
class SkinCopy {
public:
    explicit SkinCopy(const std::string& name = "case", const std::string& from = "default") : name_(name)
    {
        std::filesystem::create_directories(dir.HostPath("skin"));
        std::filesystem::copy(std::string(NUMBRIX_SKIN_BUILD_DIR) + "/" + from, ImageDir(),
                              std::filesystem::copy_options::recursive);
        text = ReadFile(std::string(NUMBRIX_SKIN_BUILD_DIR) + "/" + from + ".skn");
    }

    std::string SkinFile() const { return dir.HostPath("skin/" + name_ + ".skn"); }
    std::string ImageDir() const { return dir.HostPath("skin/" + name_); }
    std::string Member(const std::string& file) const { return ImageDir() + "/" + file; }
    std::string Root() const { return dir.HostPath(); }

    // The skin file's text, changed by the test before Write.
    std::string text;
    void Write() const { WriteFile(SkinFile(), text); }
    void Replace(const std::string& from, const std::string& to)
    {
        size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }
    // Removes the whole line that begins with `start`.
    void RemoveLine(const std::string& start)
    {
        size_t at = text.find("\n" + start);
        ASSERT_NE(at, std::string::npos) << start;
        text.erase(at + 1, text.find('\n', at + 1) - at);
    }
    // 1-based number of the first line that begins with `start`; 0 when there is none.
    int LineOf(const std::string& start) const
    {
        std::istringstream lines(text);
        std::string line;
        for (int n = 1; std::getline(lines, line); ++n)
            if (line.rfind(start, 0) == 0) return n;
        return 0;
    }

    TempDir dir;

private:
    std::string name_;
};

inline std::string ShellQuoted(const std::string& arg)
{
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a program with these arguments; its output goes through files in `scratch`.
inline ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args, const TempDir& scratch)
{
    std::string command = ShellQuoted(program);
    for (const std::string& arg : args) command += " " + ShellQuoted(arg);
    std::string out = scratch.HostPath("tool.out"), err = scratch.HostPath("tool.err");
    command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err);
    int raw = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    return run;
}

inline ToolRun RunTool(const std::vector<std::string>& args, const TempDir& scratch)
{
    return RunProgram(NUMBRIX_SKIN_TOOL, args, scratch);
}

// The output lines that begin with `prefix`.
inline std::vector<std::string> LinesStartingWith(const std::string& output, const std::string& prefix)
{
    std::vector<std::string> found;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

// A PNG image as 0x00RRGGBB pixels; empty when it cannot be read.
struct PngImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
PngImage ReadPng(const std::string& path);
