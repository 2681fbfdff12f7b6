// numbrix-skin check on the generated skins and on broken copies of them: each broken copy must
// be reported at its key and line with the right severity, a good skin without any error, and
// whatever check passes must load in the calculator (render loads it as the calculator does).
#include "skin_tool_fixture.h"

#include <functional>

namespace {

// A finding that the report must hold: its severity, its key, the line that begins with
// `lineStart` (none when null) and words of its text.
struct Expected {
    const char* severity;
    const char* key;
    const char* lineStart;
    const char* words;
};

struct CheckCase {
    const char* name;
    std::function<void(SkinCopy&)> breakSkin;
    int status;
    std::vector<Expected> expected;
};

void PrintTo(const CheckCase& c, std::ostream* out)
{
    *out << c.name;
}

// The 24-bit parts image with every pixel of the transparent colour turned a shade lighter.
void RemoveTransparentColour(const std::string& path)
{
    std::string bmp = ReadFile(path);
    ASSERT_EQ(bmp.substr(0, 2), "BM");
    ASSERT_EQ(bmp[28], 24) << "a 24-bit bitmap is expected";
    size_t offset = size_t((unsigned char)bmp[10]) | size_t((unsigned char)bmp[11]) << 8;
    int width = (unsigned char)bmp[18] | (unsigned char)bmp[19] << 8;
    size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    int changed = 0;
    for (size_t row = offset; row + stride <= bmp.size(); row += stride)
        for (size_t p = row; p + 3 <= row + size_t(width) * 3; p += 3)
            if (bmp.compare(p, 3, "\x64\x64\x64") == 0) bmp[p] = 0x65, ++changed;
    ASSERT_GT(changed, 0);
    WriteFile(path, bmp);
}

std::string Utf16LittleEndian(const std::string& ascii)
{
    std::string wide;
    for (char c : ascii) wide += std::string(1, c) + '\0';
    return wide;
}

const std::vector<CheckCase> Cases = {
    {"GeneratedSkin", [](SkinCopy&) {}, 0, {}},
    {"BlanksAroundEqualsAndRemarks",
     [](SkinCopy& s) { s.Replace("CHAR001=2,2,42,28", "CHAR001 = 2,2,42,28   # remark, with = inside"); }, 0, {}},
    {"Utf16WithByteOrderMark", [](SkinCopy& s) { s.text = "\xFF\xFE" + Utf16LittleEndian(s.text); }, 0, {}},
    {"ShiftJisRemark", [](SkinCopy& s) { s.Replace("[FILE]", "; \x83\x58\x83\x4c\x83\x93\r\n[FILE]"); }, 0, {}},

    {"MissingArea", [](SkinCopy& s) { s.RemoveLine("AREA17="); }, 1,
     {{"error", "AREA17", nullptr, "is missing"}, {"error", "", nullptr, "[AREA][AREA17]"}}},
    {"AbsentByDashes", [](SkinCopy& s) { s.Replace("AREA05=5,202,42,28", "AREA05=---"); }, 1,
     {{"error", "AREA05", "AREA05=", "counts as missing"}}},
    {"MissingSection", [](SkinCopy& s) { s.Replace("[CHARACTER]", "[CHARACTERS]"); }, 1,
     {{"error", "", nullptr, "no section [CHARACTER]"}}},
    {"HeaderInOtherCase", [](SkinCopy& s) { s.Replace("[FILE]", "[file]"); }, 1,
     {{"error", "", nullptr, "no section [FILE]"}, {"warning", "", "[file]", "letter case"}}},
    {"ThreeNumbers", [](SkinCopy& s) { s.Replace("CHAR005=178,2,42,28", "CHAR005=178,2,42"); }, 1,
     {{"error", "CHAR005", "CHAR005=", "gives 3 numbers"}}},
    {"BlankBeforeComma", [](SkinCopy& s) { s.Replace("AREA02=5,106,42,28", "AREA02=5 ,106,42,28"); }, 1,
     {{"error", "AREA02", "AREA02=", "a blank between a number and its comma"}}},
    {"TextAfterFourNumbers", [](SkinCopy& s) { s.Replace("AREA02=5,106,42,28", "AREA02=5,106,42,28,7"); }, 0,
     {{"warning", "AREA02", "AREA02=", "\",7\", is ignored"}}},
    {"PositionWithOnlyItsCorner", [](SkinCopy& s) { s.Replace("AREA31=210,34,16,26", "AREA31=210,34"); }, 0,
     {{"warning", "AREA31", "AREA31=", "only the first two are used here"}}},
    {"CellOutsideParts", [](SkinCopy& s) { s.Replace("CHAR010=90,32,42,28", "CHAR010=300,32,42,28"); }, 1,
     {{"error", "CHAR010", "CHAR010=", "outside the parts image"}}},
    {"CellOfWidthZero", [](SkinCopy& s) { s.Replace("CHAR011=134,32,42,28", "CHAR011=134,32,0,28"); }, 1,
     {{"error", "CHAR011", "CHAR011=", "width 0"}}},
    {"NeverDrawnCellOnlyWarns", [](SkinCopy& s) { s.Replace("CHAR085=222,456,42,28", "CHAR085=222,456,0,0"); }, 0,
     {{"warning", "CHAR085", "CHAR085=", "never draws"}}},
    {"KeyBeyondFace", [](SkinCopy& s) { s.Replace("AREA29=193,234,42,28", "AREA29=193,250,42,28"); }, 1,
     {{"error", "AREA29", "AREA29=", "reaches beyond the 240 x 268 face"}}},
    {"KeysOverlap", [](SkinCopy& s) { s.Replace("AREA03=5,138,42,28", "AREA03=5,138,60,28"); }, 1,
     {{"error", "AREA09", "AREA09=", "acts on the digit 7 key"}}},
    {"KeyCoveredWhole", [](SkinCopy& s) { s.Replace("AREA09=51,138,42,28", "AREA09=5,138,42,28"); }, 1,
     {{"error", "AREA09", "AREA09=", "can never be pressed"}}},
    {"LetterOverDisabledKeyWins",
     [](SkinCopy& s) { s.Replace("AREA24=193,74,42,28", "AREA24=5,74,42,28"); }, 1,
     {{"error", "AREA24", "AREA24=", "where the digit D key is disabled, on the clear all key"}}},
    {"DisplayPositionsOverlap", [](SkinCopy& s) { s.Replace("AREA32=192,34", "AREA32=200,34"); }, 1,
     {{"error", "AREA32", "AREA32=", "overlap those at position 0"}}},
    {"DisplayPositionOutsidePanel", [](SkinCopy& s) { s.Replace("AREA33=174,34", "AREA33=174,80"); }, 1,
     {{"error", "AREA33", "AREA33=", "outside the display panel"}}},
    {"IndicatorOffTheFace", [](SkinCopy& s) { s.Replace("AREA43=14,15", "AREA43=400,15"); }, 1,
     {{"error", "AREA43", "AREA43=", "lies outside the 240 x 268 face"}}},
    {"PanelSizeBeyondTheFace", [](SkinCopy& s) { s.Replace("AREA30=6,8,228,58", "AREA30=6,8,500,58"); }, 0,
     {{"warning", "AREA30", "AREA30=", "uses only its top-left corner"}}},
    {"MissingBackground", [](SkinCopy& s) { std::filesystem::remove(s.Member("back.bmp")); }, 1,
     {{"error", "BACKIMAGE", "BACKIMAGE=", "is missing"}, {"error", "", nullptr, "virtual screen (1)"}}},
    {"UndecodableParts", [](SkinCopy& s) { WriteFile(s.Member("parts.bmp"), "BM but not much more"); }, 1,
     {{"error", "PARTSIMAGE", "PARTSIMAGE=", "damaged"}, {"error", "", nullptr, "virtual screen (2)"}}},
    {"PngForParts", [](SkinCopy& s) { WriteFile(s.Member("parts.bmp"), "\x89PNG\r\n\x1a\n...."); }, 1,
     {{"error", "PARTSIMAGE", "PARTSIMAGE=", "a PNG image"}}},
    {"NoTransparentColour", [](SkinCopy& s) { RemoveTransparentColour(s.Member("parts.bmp")); }, 0,
     {{"warning", "PARTSIMAGE", "PARTSIMAGE=", "no pixel of the transparent colour"}}},
    {"MissingSound", [](SkinCopy& s) { std::filesystem::remove(s.Member("mode.wav")); }, 1,
     {{"error", "SOUND03", "SOUND03=", "is missing"}}},
    {"UndecodableSound", [](SkinCopy& s) { WriteFile(s.Member("digit.wav"), "RIFF....WAVEjunk"); }, 1,
     {{"error", "SOUND02", "SOUND02=", "not a wave file"}}},
    {"ImageNameTooLong", [](SkinCopy& s) { s.Replace("BACKIMAGE=back.bmp", "BACKIMAGE=" + std::string(240, 'x') + ".bmp"); },
     1, {{"error", "BACKIMAGE", "BACKIMAGE=", "more than the 259"}}},
    {"BytesOfNoEncoding", [](SkinCopy& s) { s.Replace("[AREA]", "; \x80\x80\r\n[AREA]"); }, 1,
     {{"error", "", "; \x80", "neither UTF-8 nor code page 932"}}},
    {"Utf16WithoutMark", [](SkinCopy& s) { s.text = Utf16LittleEndian(s.text); }, 1,
     {{"error", "", nullptr, "no section [FILE]"}, {"error", "", "", "NUL characters"}}},
    {"KeyWrittenTwice", [](SkinCopy& s) { s.Replace("CHAR004=", "CHAR003=1,1,1,1\r\nCHAR004="); }, 0,
     {{"warning", "CHAR003", "CHAR003=1,1", "only its first line"}}},
    {"KeyInOtherCase", [](SkinCopy& s) { s.Replace("AREA43=", "area43="); }, 1,
     {{"error", "AREA43", nullptr, "writes it \"area43\""}, {"warning", "", "area43=", "reads AREA43"}}},
};

class SkinToolCheck : public ::testing::TestWithParam<CheckCase> {
protected:
    ToolRun Run(const std::vector<std::string>& args) { return RunTool(args, scratch); }
    TempDir scratch;
};

TEST_P(SkinToolCheck, ReportsEveryProblemAtItsLine)
{
    const CheckCase& c = GetParam();
    SkinCopy skin;
    c.breakSkin(skin);
    skin.Write();
    ToolRun run = Run({"check", skin.SkinFile()});
    EXPECT_EQ(run.status, c.status) << run.out << run.err;
    for (const Expected& e : c.expected) {
        int line = e.lineStart ? skin.LineOf(e.lineStart) : 0;
        ASSERT_TRUE(!e.lineStart || line > 0) << "the test's skin has no line " << e.lineStart;
        std::string prefix = skin.SkinFile() + (line ? ":" + std::to_string(line) : "") + ": " + e.severity + ": " +
                             (*e.key ? std::string(e.key) + ": " : "");
        bool found = false;
        for (const std::string& reported : LinesStartingWith(run.out, prefix))
            found = found || reported.find(e.words) != std::string::npos;
        EXPECT_TRUE(found) << "no finding \"" << prefix << "... " << e.words << "\" in:\n" << run.out;
    }
    if (c.status == 0) {
        EXPECT_TRUE(LinesStartingWith(run.out, skin.SkinFile() + ": error").empty()) << run.out;
    }
    if (c.expected.empty()) {
        EXPECT_NE(run.out.find(": 0 errors, 0 warnings"), std::string::npos) << run.out;
    }
}

// What check passes, the calculator loads; what the calculator refuses, check reports.
TEST_P(SkinToolCheck, AgreesWithTheCalculatorOnLoading)
{
    SkinCopy skin;
    GetParam().breakSkin(skin);
    skin.Write();
    ToolRun check = Run({"check", skin.SkinFile()});
    ToolRun render = Run({"render", skin.SkinFile(), "--keys", "1 +", "--out", scratch.HostPath("face.png")});
    bool refused = check.out.find("the calculator does not load") != std::string::npos;
    EXPECT_EQ(render.status, refused ? 1 : 0) << check.out << render.err;
    if (check.status == 0) {
        EXPECT_EQ(render.status, 0) << check.out << render.err;
    }
    if (refused) {
        EXPECT_EQ(check.status, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinToolCheck, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

class GeneratedSkins : public ::testing::TestWithParam<const char*> {};

TEST_P(GeneratedSkins, PassWithoutAnyFinding)
{
    TempDir scratch;
    std::string file = std::string(NUMBRIX_SKIN_BUILD_DIR) + "/" + GetParam() + ".skn";
    ToolRun run = RunTool({"check", file}, scratch);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, file + ": 0 errors, 0 warnings (images and sounds in " + NUMBRIX_SKIN_BUILD_DIR + "/" + GetParam() +
                           "/)\n");
}

INSTANTIATE_TEST_SUITE_P(Build, GeneratedSkins, ::testing::Values("default", "midnight"));

class SkinToolLayout : public ::testing::Test {
protected:
    TempDir scratch;
};

TEST_F(SkinToolLayout, AppDirChoosesWhereImagesAreLookedUp)
{
    SkinCopy skin;
    skin.Write();
    std::filesystem::create_directories(skin.dir.HostPath("app/skin"));
    std::filesystem::rename(skin.ImageDir(), skin.dir.HostPath("app/skin/case"));
    ToolRun withoutAppDir = RunTool({"check", skin.SkinFile()}, scratch);
    EXPECT_EQ(withoutAppDir.status, 1);
    EXPECT_NE(withoutAppDir.out.find("BACKIMAGE: the background image"), std::string::npos) << withoutAppDir.out;
    ToolRun withAppDir = RunTool({"check", skin.SkinFile(), "--app-dir", skin.dir.HostPath("app")}, scratch);
    EXPECT_EQ(withAppDir.status, 0) << withAppDir.out;
    EXPECT_NE(withAppDir.out.find("the calculator lists only the skins in"), std::string::npos) << withAppDir.out;
}

TEST_F(SkinToolLayout, SeveralSkinsFailWhenOneHasErrors)
{
    SkinCopy good("good"), bad("bad");
    good.Write();
    bad.RemoveLine("CHAR100=");
    bad.Write();
    ToolRun run = RunTool({"check", good.SkinFile(), bad.SkinFile()}, scratch);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(good.SkinFile() + ": 0 errors, 0 warnings"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(bad.SkinFile() + ": error: CHAR100: is missing (glyph \".\")"), std::string::npos) << run.out;
}

}  // namespace
