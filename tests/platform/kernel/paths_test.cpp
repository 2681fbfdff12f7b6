#include "platform/host_paths.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    std::u16string device;
    std::string host;
};

void PrintTo(const PathCase& c, std::ostream* out)
{
    *out << c.host;
}

class PathConversion : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathConversion, TurnsBackslashesIntoSlashesAndBack)
{
    EXPECT_EQ(HostPathFromDevice(GetParam().device.c_str()), GetParam().host);
    EXPECT_EQ(DevicePathFromHost(GetParam().host), GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathConversion, ::testing::Values(
    PathCase{u"\\home\\u\\numbrix\\skin\\default.skn", "/home/u/numbrix/skin/default.skn"},
    PathCase{u"skin\\default.skn", "skin/default.skn"},
    PathCase{u"skin\\my.blue\\ lead.bmp", "skin/my.blue/ lead.bmp"},
    PathCase{u"\\", "/"},
    PathCase{u"", ""},
    PathCase{u"\\データ\\スキン.skn", "/\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF/\xE3\x82\xB9\xE3\x82\xAD\xE3\x83\xB3.skn"},
    PathCase{u"\\x\\\U0001F600.wav", "/x/\xF0\x9F\x98\x80.wav"}));

TEST(PathConversion, NullDevicePathIsEmpty)
{
    EXPECT_EQ(HostPathFromDevice(nullptr), "");
}

}  // namespace
