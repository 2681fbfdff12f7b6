// numbrix-skin new: a new skin that check passes at once, and the names and places it refuses,
// each with a one-line reason and exit status 1, writing nothing.
#include "skin_tool_fixture.h"

namespace {

struct Refusal {
    const char* name;
    std::string skinName;
    const char* dir;   // under the scratch directory
    const char* reason;
};

void PrintTo(const Refusal& r, std::ostream* out)
{
    *out << r.name;
}

class RefusedNewSkin : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedNewSkin, SaysWhyAndWritesNothing)
{
    TempDir scratch;
    std::filesystem::create_directories(scratch.HostPath("skin/taken"));
    const Refusal& refusal = GetParam();
    std::string dir = scratch.HostPath(refusal.dir);
    ToolRun run = RunTool({"new", refusal.skinName, "--dir", dir}, scratch);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LinesStartingWith(run.err, "numbrix-skin: ").size(), 1u) << run.err;
    EXPECT_NE(run.err.find(refusal.reason), std::string::npos) << run.err;
    size_t entries = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(scratch.HostPath("skin"));
         it != std::filesystem::recursive_directory_iterator(); ++it)
        ++entries;
    EXPECT_EQ(entries, 1u) << "something was written";
}

INSTANTIATE_TEST_SUITE_P(
    Names, RefusedNewSkin,
    ::testing::Values(Refusal{"Empty", "", "skin", "a skin needs a name"},
                      Refusal{"Slash", "a/b", "skin", "path separators"},
                      Refusal{"Backslash", "a\\b", "skin", "path separators"},
                      Refusal{"DotDot", "..", "skin", "names a directory"},
                      Refusal{"ControlCharacter", "a\tb", "skin", "control characters"},
                      Refusal{"NotUtf8", "caf\xe9", "skin", "not UTF-8"},
                      Refusal{"PathsOver259", std::string(240, 'n'), "skin", "the calculator holds at most 259"},
                      Refusal{"LongerThanAFileName", std::string(260, 'n'), "skin", "too long for a file name"},
                      Refusal{"Exists", "taken", "skin", "exists; new never overwrites"},
                      Refusal{"NoSuchDirectory", "mine", "missing", "is not a directory"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// In any directory: its images and sounds lie in NAME/ beside the skin file, as --skin finds them.
TEST(NewSkin, LoadsAtOnceWithItsSectionsExplained)
{
    SkinCopy source("source", "midnight");
    source.Write();
    TempDir scratch;
    std::string dir = scratch.HostPath("work");
    std::filesystem::create_directories(dir);
    ToolRun made = RunTool({"new", "mine", "--from", source.SkinFile(), "--dir", dir}, scratch);
    ASSERT_EQ(made.status, 0) << made.err;
    ToolRun check = RunTool({"check", dir + "/mine.skn"}, scratch);
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_NE(check.out.find("0 errors, 0 warnings (images and sounds in " + dir + "/mine/)"), std::string::npos)
        << check.out;
    std::string text = ReadFile(dir + "/mine.skn");
    for (const char* remark : {"; [FILE]:", "; [CHARACTER]:", "; The down faces", "; The disabled faces", "; The display:",
                               "; The operator indicators", "; [AREA]:", "; The keys:", "; [SOUND]:"})
        EXPECT_NE(text.find(remark), std::string::npos) << remark;
    EXPECT_EQ(ReadFile(dir + "/mine/" + "parts.bmp"), ReadFile(source.Member("parts.bmp")));
}

}  // namespace
