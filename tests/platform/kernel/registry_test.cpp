#include "platform/faults.h"
#include "platform/inspect.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const WCHAR kKey[] = u"SOFTWARE\\Ostrel\\Numbrix";
const char kKeyLine[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrel\\Numbrix]";

// Sets or removes an environment variable for one test and puts it back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Each test has its own directory and registry file.
class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.HostPath("registry.reg");
        env.emplace("NUMBRIX_REGISTRY", file);
        openBefore = OpenRegistryKeyCount();
    }
    void TearDown() override
    {
        ClearFaults();
        EXPECT_EQ(OpenRegistryKeyCount(), openBefore) << "a key handle was left open";
        env.reset();
    }

    HKEY Open(const WCHAR* subKey = kKey, DWORD* disposition = nullptr)
    {
        HKEY key = nullptr;
        DWORD how = 0;
        EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &how),
                  ERROR_SUCCESS);
        if (disposition) *disposition = how;
        return key;
    }
    // Stores `text` as the program does: UTF-16 with terminator, byte count (length + 1) * 2.
    LONG Set(const WCHAR* name, const std::u16string& text)
    {
        HKEY key = Open();
        LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                     DWORD((text.size() + 1) * 2));
        RegCloseKey(key);
        return result;
    }
    // Reads a value through a fresh handle into a buffer of `capacity` bytes; nullopt on failure.
    std::optional<std::u16string> Get(const WCHAR* name, size_t capacity = 520)
    {
        HKEY key = Open();
        std::vector<WCHAR> buffer(capacity / 2 + 1, u'\0');
        DWORD size = DWORD(capacity);
        DWORD type = 0;
        LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS) return std::nullopt;
        EXPECT_EQ(type, DWORD(REG_SZ));
        std::u16string text(buffer.data());
        EXPECT_EQ(size, (text.size() + 1) * 2) << "byte count reported";
        return text;
    }

    TempDir dir;
    std::string file;
    std::optional<ScopedEnv> env;
    int openBefore = 0;
};

TEST_F(Registry, FortyCharacterValueRoundTrips)
{
    const std::u16string path = u"\\Program Files\\Numbrix\\skin\\classic1.skn";   // 40 characters
    ASSERT_EQ(path.size(), 40u);
    HKEY key = Open();
    EXPECT_EQ(RegSetValueExW(key, u"SkinFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()), 82),
              ERROR_SUCCESS);
    BYTE buffer[520];
    std::memset(buffer, 0xAB, sizeof buffer);
    DWORD size = sizeof buffer;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"SkinFile", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, 82u);
    EXPECT_EQ(std::u16string(reinterpret_cast<const WCHAR*>(buffer)), path);
    EXPECT_EQ(buffer[82], 0xAB) << "nothing written past the value";

    size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"SkinFile", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 82u) << "null data asks for the size";
    EXPECT_EQ(RegQueryValueExW(key, u"SEflg", nullptr, nullptr, buffer, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(Get(u"SkinFile"), path) << "through a new handle";
}

TEST_F(Registry, TooSmallBufferGivesMoreDataAndStaysUntouched)
{
    ASSERT_EQ(Set(u"SkinFile", std::u16string(300, u'x')), ERROR_SUCCESS);
    for (DWORD offered : {DWORD(0), DWORD(1), DWORD(10), DWORD(520), DWORD(601)}) {
        std::vector<BYTE> buffer(700, 0xAB);
        DWORD size = offered;
        HKEY key = Open();
        EXPECT_EQ(RegQueryValueExW(key, u"SkinFile", nullptr, nullptr, buffer.data(), &size), ERROR_MORE_DATA);
        RegCloseKey(key);
        EXPECT_EQ(size, 602u) << "offered " << offered;
        EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xAB), 700) << "offered " << offered;
    }
}

TEST_F(Registry, NewKeyIsSavedAtOnceAndOpensAsExistingLater)
{
    DWORD first = 0, second = 0;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(fs::exists(file)) << "opening a missing key creates nothing";
    RegCloseKey(Open(kKey, &first));
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(first, DWORD(REG_CREATED_NEW_KEY));
    EXPECT_NE(ReadFile(file).find(kKeyLine), std::string::npos);
    RegCloseKey(Open(kKey, &second));
    EXPECT_EQ(second, DWORD(REG_OPENED_EXISTING_KEY));
}

TEST_F(Registry, NamesMatchWithoutCase)
{
    struct {
        const char* file;
        const WCHAR* opened;
        DWORD disposition;
    } cases[] = {
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrel\\Numbrix]\n", u"software\\OSTREL\\numbrix", REG_OPENED_EXISTING_KEY},
        {"[hkey_local_machine\\software\\ostrel\\numbrix]\n", kKey, REG_OPENED_EXISTING_KEY},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\\xC3\x84pfel]\n", u"software\\\u00E4PFEL", REG_OPENED_EXISTING_KEY},
        // A key named only through a key below it exists too.
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrel\\Numbrix\\Skins]\n", kKey, REG_OPENED_EXISTING_KEY},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrel\\Numbrix2]\n", kKey, REG_CREATED_NEW_KEY},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrel]\n", kKey, REG_CREATED_NEW_KEY},
        {"[HKEY_CURRENT_USER\\SOFTWARE\\Ostrel\\Numbrix]\n", kKey, REG_CREATED_NEW_KEY},
    };
    for (const auto& c : cases) {
        WriteFile(file, std::string("REGEDIT4\n\n") + c.file);
        DWORD disposition = 0;
        RegCloseKey(Open(c.opened, &disposition));
        EXPECT_EQ(disposition, c.disposition) << c.file;
    }
    ASSERT_EQ(Set(u"SkinFile", u"a.skn"), ERROR_SUCCESS);
    ASSERT_EQ(Set(u"SKINFILE", u"b.skn"), ERROR_SUCCESS);
    EXPECT_EQ(Get(u"skinfile"), u"b.skn");
    const std::string text = ReadFile(file);
    EXPECT_EQ(std::count(text.begin(), text.end(), '='), 1) << text;
}

TEST_F(Registry, WritesRegedit4Text)
{
    ASSERT_EQ(Set(u"SkinFile", u"\\skin\\say \"hi\".skn"), ERROR_SUCCESS);
    ASSERT_EQ(Set(u"SEflg", u"-3"), ERROR_SUCCESS);
    EXPECT_EQ(ReadFile(file), std::string("REGEDIT4\n\n") + kKeyLine +
                                   "\n\"SkinFile\"=\"\\\\skin\\\\say \\\"hi\\\".skn\"\n\"SEflg\"=\"-3\"\n\n");
}

TEST_F(Registry, TextRoundTripsThroughEscapes)
{
    const std::u16string texts[] = {
        u"",
        u"\\Program Files\\Numbrix\\skin\\default.skn",
        u"trailing backslash\\",
        u"\\\"",
        u"say \"hi\" and \"\"",
        u"\\\\server\\share\\\u96FB\u5353\\\u30B9\u30AD\u30F3.skn",
        u"line\nbreak\r\nand \\n that is not one",
        u"= [not a key] @=\"x\"",
        u"\U0001F9EE abacus",
    };
    for (const auto& text : texts) {
        ASSERT_EQ(Set(u"SkinFile", text), ERROR_SUCCESS);
        EXPECT_EQ(Get(u"SkinFile", 1024), text) << ReadFile(file);
    }
    EXPECT_NE(ReadFile(file).find("\xF0\x9F\xA7\xAE abacus"), std::string::npos) << "stored as UTF-8";
}

TEST_F(Registry, ByteCountDecidesWhatIsStored)
{
    const WCHAR data[] = u"12345\0tail";
    struct {
        DWORD bytes;
        std::u16string stored;
    } cases[] = {
        {0, u""}, {1, u""}, {4, u"12"}, {5, u"12"}, {10, u"12345"}, {12, u"12345"}, {sizeof data, u"12345"},
    };
    for (const auto& c : cases) {
        HKEY key = Open();
        EXPECT_EQ(RegSetValueExW(key, u"SEflg", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), c.bytes),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        EXPECT_EQ(Get(u"SEflg"), c.stored) << c.bytes << " bytes";
    }
}

TEST_F(Registry, EachFailedSaveStepLeavesThePreviousFile)
{
    auto entries = [this] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.HostPath())) names.push_back(entry.path().filename());
        return names;
    };
    // A new key holds nothing yet and is not flushed to the disk.
    for (const char* step : {"RegistryWrite", "RegistryRename", "RegCreateKeyExW"}) {
        FailNextCalls(step, 1);
        HKEY key = nullptr;
        EXPECT_NE(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS) << step;
        EXPECT_EQ(key, nullptr) << step;
        EXPECT_TRUE(entries().empty()) << step << ": a new key is saved whole or not at all";
    }
    FailNextCalls("RegistryFlush", 1);
    HKEY created = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
              ERROR_SUCCESS) << "a new key waited for the disk";
    RegCloseKey(created);
    ClearFaults();
    ASSERT_EQ(Set(u"SkinFile", u"old.skn"), ERROR_SUCCESS);
    const std::string before = ReadFile(file);
    for (const char* step : {"RegistryWrite", "RegistryFlush", "RegistryRename", "RegSetValueExW"}) {
        FailNextCalls(step, 1);
        EXPECT_NE(Set(u"SkinFile", u"new.skn"), ERROR_SUCCESS) << step;
        EXPECT_EQ(ReadFile(file), before) << step;
        EXPECT_EQ(Get(u"SkinFile"), u"old.skn") << step;
        EXPECT_EQ(entries(), std::vector<std::string>{"registry.reg"}) << step << ": temporary file left";
    }
    EXPECT_EQ(Set(u"SkinFile", u"new.skn"), ERROR_SUCCESS);
    EXPECT_EQ(Get(u"SkinFile"), u"new.skn");
}

// Each place is named once on standard error, however many writes fail there.
TEST_F(Registry, UnwritableLocationFailsTheWritesAndSaysSoOnce)
{
    HKEY opened = Open();
    WriteFile(dir.HostPath("plain-file"), "x");
    fs::create_directory(dir.HostPath("a-directory"));
    for (std::string place : {dir.HostPath("plain-file/numbrix/registry.reg"), std::string("/proc/self/numbrix.reg"),
                              std::string("/proc/self/numbrix/registry.reg"), dir.HostPath("a-directory")}) {
        ScopedEnv redirect("NUMBRIX_REGISTRY", place);
        ::testing::internal::CaptureStderr();
        HKEY key = nullptr;
        EXPECT_NE(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS) << place;
        EXPECT_EQ(key, nullptr) << place;
        const WCHAR text[] = u"1";
        EXPECT_NE(RegSetValueExW(opened, u"SEflg", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 4), ERROR_SUCCESS)
            << place;
        std::string told = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(told.rfind("numbrix: cannot save the settings in " + place + ": ", 0), 0u) << told;
        EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    }
    EXPECT_EQ(RegCloseKey(opened), ERROR_SUCCESS);
    EXPECT_EQ(ReadFile(dir.HostPath("plain-file")), "x");
    EXPECT_TRUE(fs::is_empty(dir.HostPath("a-directory")));
}

TEST_F(Registry, DamagedFilesAreReadAsFarAsSound)
{
    const std::string key = std::string(kKeyLine) + "\n";
    const std::string longValue(100000, 'v');
    struct {
        const char* what;
        std::string content;
        std::optional<std::u16string> skinFile;
        std::optional<std::u16string> flag;
    } cases[] = {
        {"CR LF lines", "REGEDIT4\r\n\r\n" + key + "\"SkinFile\"=\"a\"\r\n\"SEflg\"=\"0\"\r\n", u"a", u"0"},
        {"no header", key + "\"SkinFile\"=\"a\"\n", u"a", std::nullopt},
        {"byte-order mark", "\xEF\xBB\xBFREGEDIT4\n\n" + key + "\"SEflg\"=\"1\"", std::nullopt, u"1"},
        {"truncated last line", key + "\"SkinFile\"=\"a\"\n\"SEflg\"=\"1", u"a", std::nullopt},
        {"truncated name", key + "\"SkinFile\"=\"a\"\n\"SEf", u"a", std::nullopt},
        {"binary garbage around", std::string("\x00\xFF\xFE\x01garbage\n", 12) + key + "\"SkinFile\"=\"a\"\n" +
                                       std::string("\x89PNG\x00\x00\n\xC3(\n", 10) + "\"SEflg\"=\"7\"\n",
         u"a", u"7"},
        {"NUL in a line", key + std::string("\"SkinFile\"=\"a\x00" "b\"\n", 17) + "\"SEflg\"=\"2\"\n", std::nullopt,
         u"2"},
        {"invalid UTF-8 value", key + "\"SkinFile\"=\"\xFF\xFE\"\n\"SEflg\"=\"2\"\n", std::nullopt, u"2"},
        {"damaged key line", key + "\"SEflg\"=\"1\"\n[HKEY_LOCAL_MACHINE\\\xFF]\n\"SkinFile\"=\"stray\"\n",
         std::nullopt, u"1"},
        {"other types and junk", key + "\"SkinFile\"=dword:00000001\n\"SEflg\"=\"1\" junk\n  ,00,01\n", std::nullopt,
         std::nullopt},
        {"value before any key", "\"SkinFile\"=\"a\"\n" + key, std::nullopt, std::nullopt},
        {"last one wins", key + "\"SEflg\"=\"1\"\n\"seflg\"=\"0\"\n", std::nullopt, u"0"},
        {"unknown escape", key + "\"SkinFile\"=\"C:\\x\\\\y\"\n", u"C:\\x\\y", std::nullopt},
        {"100,000 characters", key + "\"SkinFile\"=\"" + longValue + "\"\n\"SEflg\"=\"1\"\n",
         std::u16string(longValue.begin(), longValue.end()), u"1"},
        {"100,000 characters cut off", key + "\"SEflg\"=\"1\"\n\"SkinFile\"=\"" + longValue, std::nullopt, u"1"},
    };
    for (const auto& c : cases) {
        WriteFile(file, c.content);
        DWORD disposition = 0;
        RegCloseKey(Open(kKey, &disposition));
        EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY)) << c.what;
        EXPECT_EQ(Get(u"SkinFile", 300000), c.skinFile) << c.what;
        EXPECT_EQ(Get(u"SEflg"), c.flag) << c.what;
        // The next save writes a sound file that keeps what was read.
        ASSERT_EQ(Set(u"Other", u"x"), ERROR_SUCCESS) << c.what;
        EXPECT_EQ(Get(u"SkinFile", 300000), c.skinFile) << c.what << " after saving";
        EXPECT_EQ(Get(u"SEflg"), c.flag) << c.what << " after saving";
    }
}

TEST_F(Registry, RandomBytesNeverBreakIt)
{
    std::mt19937 generator(20240611);
    for (int round = 0; round < 20; round++) {
        std::string bytes(4096, '\0');
        for (char& b : bytes) {
            // Mostly the characters that matter to the format, so lines get far.
            const char alphabet[] = "[]\"\\=@\n\r\x00\xFFHKEY_LOCAL_MACHINE\\SOFTWARE";
            b = generator() % 3 ? alphabet[generator() % (sizeof alphabet - 1)] : char(generator());
        }
        WriteFile(file, bytes);
        ASSERT_EQ(Set(u"SEflg", u"1"), ERROR_SUCCESS) << "round " << round;
        EXPECT_EQ(Get(u"SEflg"), u"1") << "round " << round;
    }
}

TEST_F(Registry, OtherKeysAndValuesSurviveASave)
{
    WriteFile(file, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n\"Keep\"=\"me\"\n\n" + std::string(kKeyLine) +
                         "\n\"SEflg\"=\"0\"\n@=\"default\"\n");
    ASSERT_EQ(Set(u"SkinFile", u"a.skn"), ERROR_SUCCESS);
    EXPECT_EQ(Get(u"SEflg"), u"0");
    EXPECT_EQ(Get(nullptr), u"default");
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Other]\n\"Keep\"=\"me\"\n"), std::string::npos) << text;
}

TEST_F(Registry, BogusHandlesAreErrors)
{
    HKEY closed = Open();
    ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    const WCHAR text[] = u"1";
    BYTE buffer[16];
    for (HKEY bogus : {HKEY(nullptr), closed, reinterpret_cast<HKEY>(uintptr_t(0x1234)),
                       reinterpret_cast<HKEY>(~uintptr_t(0))}) {
        DWORD size = sizeof buffer;
        EXPECT_EQ(RegQueryValueExW(bogus, u"SEflg", nullptr, nullptr, buffer, &size), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegSetValueExW(bogus, u"SEflg", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 4),
                  ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(bogus), ERROR_INVALID_HANDLE);
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(bogus, u"X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_INVALID_HANDLE);
    }
}

TEST_F(Registry, MalformedSubKeysAreRefused)
{
    for (const WCHAR* subKey : {static_cast<const WCHAR*>(nullptr), u"", u"\\SOFTWARE", u"SOFTWARE\\",
                                u"SOFTWARE\\\\Ostrel", u"SOFT\nWARE"}) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_INVALID_PARAMETER);
    }
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(Registry, ReplacesALinkedFileKeepingItsPermissions)
{
    WriteFile(dir.HostPath("real.reg"), "REGEDIT4\n\n");
    fs::permissions(dir.HostPath("real.reg"), fs::perms(0644));
    fs::create_symlink(dir.HostPath("real.reg"), file);
    ASSERT_EQ(Set(u"SEflg", u"1"), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(fs::status(dir.HostPath("real.reg")).permissions(), fs::perms(0644));
    EXPECT_NE(ReadFile(dir.HostPath("real.reg")).find("\"SEflg\"=\"1\""), std::string::npos);
}

TEST_F(Registry, LocationFollowsTheEnvironment)
{
    struct {
        std::optional<std::string> config;
        std::string expected;
    } cases[] = {
        {dir.HostPath("xdg"), dir.HostPath("xdg/numbrix/registry.reg")},
        {std::nullopt, dir.HostPath("home/.config/numbrix/registry.reg")},
        {std::string(""), dir.HostPath("home/.config/numbrix/registry.reg")},
        {std::string("relative/config"), dir.HostPath("home/.config/numbrix/registry.reg")},
    };
    for (const auto& c : cases) {
        ScopedEnv noOverride("NUMBRIX_REGISTRY", std::nullopt);
        ScopedEnv config("XDG_CONFIG_HOME", c.config);
        ScopedEnv home("HOME", dir.HostPath("home"));
        RegCloseKey(Open());
        EXPECT_NE(ReadFile(c.expected).find(kKeyLine), std::string::npos) << c.expected;
        fs::remove(c.expected);
    }
}

}  // namespace
