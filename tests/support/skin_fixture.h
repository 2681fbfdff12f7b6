// A small skin made by the tests, with every cell a 6 x 6 square of its own colour whose top-left
// pixel is the transparent colour, laid out so that each drawn cell can be probed; and a main
// window of the calculator's client size to load it into.
#pragma once
#include "engine/app_globals.h"
#include "engine/skin_layout.h"
#include "platform/wince.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>

constexpr uint32_t TestBackground = 0x102030;
constexpr uint32_t TestTransparent = 0x646464;
constexpr int TestPartsWidth = 128;
constexpr int TestPartsHeight = 56;

inline uint32_t CellColor(int cell)
{
    return 0x800000u + uint32_t(cell << 8) + 0x11u;
}
inline int CellX(int cell) { return (cell % 16) * 8; }
inline int CellY(int cell) { return (cell / 16) * 8; }

inline Area TestArea(int area)
{
    if (area < 29) return Area{(area % 8) * 30, 60 + (area / 8) * 30, 30, 30};
    if (area == 29) return Area{0, 0, 6, 6};
    if (area < 42) return Area{200 - (area - 30) * 8, 10, 8, 8};
    return Area{10, 40, 6, 6};
}

// The skin file's text, section by section, keyed "SECTION/KEY".
struct TestSkinText {
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections;

    TestSkinText()
    {
        sections.push_back({"FILE", {{"BACKIMAGE", "back.bmp"}, {"PARTSIMAGE", "parts.bmp"}}});
        std::vector<std::pair<std::string, std::string>> cells, areas, sounds;
        char key[16], value[64];
        for (int n = 1; n <= 112; n++) {
            std::snprintf(key, sizeof key, "CHAR%03d", n);
            std::snprintf(value, sizeof value, "%d,%d,6,6", CellX(n - 1), CellY(n - 1));
            cells.push_back({key, value});
        }
        for (int n = 1; n <= 43; n++) {
            Area a = TestArea(n - 1);
            std::snprintf(key, sizeof key, "AREA%02d", n);
            std::snprintf(value, sizeof value, "%d,%d,%d,%d", a.x, a.y, a.width, a.height);
            areas.push_back({key, value});
        }
        for (int n = 1; n <= 9; n++) {
            std::snprintf(key, sizeof key, "SOUND%02d", n);
            std::snprintf(value, sizeof value, "s%d.wav", n);
            sounds.push_back({key, value});
        }
        sections.push_back({"CHARACTER", cells});
        sections.push_back({"AREA", areas});
        sections.push_back({"SOUND", sounds});
    }
    void Set(const std::string& section, const std::string& key, const std::string& value)
    {
        for (auto& s : sections)
            if (s.first == section)
                for (auto& kv : s.second)
                    if (kv.first == key) kv.second = value;
    }
    void Remove(const std::string& section, const std::string& key)
    {
        for (auto& s : sections)
            if (s.first == section)
                for (size_t i = 0; i < s.second.size(); i++)
                    if (s.second[i].first == key) s.second.erase(s.second.begin() + long(i));
    }
    void RemoveSection(const std::string& section)
    {
        for (size_t i = 0; i < sections.size(); i++)
            if (sections[i].first == section) sections.erase(sections.begin() + long(i));
    }
    std::string Text() const
    {
        std::string text;
        for (auto& s : sections) {
            text += "[" + s.first + "]\r\n";
            for (auto& kv : s.second) text += kv.first + "=" + kv.second + "\r\n";
        }
        return text;
    }
};

inline std::vector<uint32_t> TestPartsPixels()
{
    std::vector<uint32_t> pixels(size_t(TestPartsWidth) * TestPartsHeight, TestTransparent);
    for (int cell = 0; cell < 112; cell++)
        for (int y = 0; y < 6; y++)
            for (int x = 0; x < 6; x++)
                pixels[size_t(CellY(cell) + y) * TestPartsWidth + CellX(cell) + x] =
                    (x == 0 && y == 0) ? TestTransparent : CellColor(cell);
    return pixels;
}

// The application directory in a temporary directory, with skin/<name>.skn and skin/<name>/.
class TestInstallation {
public:
    TestInstallation()
    {
        std::u16string device = dir.DevicePath() + u"\\";
        std::memcpy(appDirectory, device.c_str(), (device.size() + 1) * sizeof(WCHAR));
    }
    ~TestInstallation() { appDirectory[0] = 0; }

    // Writes a skin into a folder of the installation (by default the program's skin directory),
    // its images in NAME/ beside it; returns the device path of its .skn file.
    std::u16string WriteSkin(const std::string& name, const TestSkinText& text = TestSkinText(),
                             uint32_t background = TestBackground, const std::string& folder = "skin")
    {
        const std::string skin = folder + "/" + name;
        dir.Write(skin + "/back.bmp", Bmp24(FaceWidth, FaceHeight, std::vector<uint32_t>(FaceWidth * FaceHeight, background)));
        dir.Write(skin + "/parts.bmp", Bmp24(TestPartsWidth, TestPartsHeight, TestPartsPixels()));
        dir.Write(skin + ".skn", text.Text());
        return dir.DevicePath(skin + ".skn");
    }
    std::string HostPath(const std::string& relative) const { return dir.HostPath(relative); }

    TempDir dir;
};

// A main window of the face's size.
inline HWND CreateTestMainWindow()
{
    // Other tests may have reset the device, classes included; registering again is harmless.
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        return m == WM_CREATE ? 0 : DefWindowProcW(w, m, wp, lp);
    };
    windowClass.lpszClassName = u"NumbrixTestMain";
    RegisterClassW(&windowClass);
    mainWindow = CreateWindowExW(0, u"NumbrixTestMain", u"test", 0, 0, 26, FaceWidth, FaceHeight, nullptr, nullptr, nullptr,
                                 nullptr);
    return mainWindow;
}

inline uint32_t WindowPixel(int x, int y)
{
    HDC dc = GetDC(mainWindow);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(mainWindow, dc);
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}
