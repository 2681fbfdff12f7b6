// The whole program in the headless host: start-up, settings, the main window's commands and the
// dialogs, driven by an idle handler that acts as the user.
#include "tests/support/program_fixture.h"

#include "engine/calc_state.h"
#include "shell/main_window.h"

namespace {

const char16_t SkinDialogTitle[] = u"スキン選択";
const char16_t AboutTitle[] = u"About Numbrix";

class AppTest : public ProgramTest {
protected:
    static void Command(HWND window, WPARAM command) { PostMessageW(window, WM_COMMAND, command, 0); }
    static std::vector<std::u16string> SkinList(HWND dialog)
    {
        std::vector<std::u16string> names;
        LRESULT count = SendDlgItemMessageW(dialog, 1001, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; i++) {
            WCHAR name[MAX_PATH];
            SendDlgItemMessageW(dialog, 1001, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(name));
            names.push_back(name);
        }
        return names;
    }
    // The skin dialog that a missing skin opens: it lists nothing, and Cancel ends the program.
    static void CancelTheEmptySkinDialog()
    {
        HWND dialog = WindowTitled(SkinDialogTitle);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(SkinList(dialog).empty());
        Command(dialog, IDCANCEL);
    }
    // The program told only that the skin is missing, and stored no skin.
    void ExpectTheMissingSkinToldAndNoSkinStored()
    {
        ASSERT_EQ(MessageBoxLog().size(), 1u);
        EXPECT_EQ(MessageBoxLog()[0].text, u"スキンファイルが壊れている、又はありません。[FILE][BACKIMAGE]");
        EXPECT_FALSE(RegistryHolds("SkinFile"));
    }
    static void Choose(HWND dialog, int entry)
    {
        SendDlgItemMessageW(dialog, 1001, LB_SETCURSEL, WPARAM(entry), 0);
        Command(dialog, IDOK);
    }

    static bool SoundChecked()
    {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuBar, SHCMBM_GETSUBMENU, 0, 40001));
        DWORD previous = CheckMenuItem(menu, 40005, MF_UNCHECKED);
        CheckMenuItem(menu, 40005, previous & MF_CHECKED);
        return previous & MF_CHECKED;
    }
};

TEST_F(AppTest, FirstStartUsesTheDefaultsAndWritesBothValuesAtExit)
{
    install.WriteSkin("default");
    EXPECT_EQ(Run({[] { EXPECT_EQ(calcState.radixMode, Dec); }}), 0);
    EXPECT_EQ(std::u16string(appSettings.skinFile), SkinPath("default.skn"));
    EXPECT_TRUE(MessageBoxLog().empty());
    EXPECT_TRUE(RegistryHolds("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrel\\Numbrix]"));
    EXPECT_TRUE(RegistryHolds("\"SEflg\"=\"1\""));
    EXPECT_TRUE(RegistryHolds("default.skn\""));
    ASSERT_FALSE(SoundLog().empty());
    EXPECT_EQ(SoundLog().back().path, SkinPath("default\\s9.wav"));   // the exit sound
}

TEST_F(AppTest, KeyWithoutValuesBehavesLikeAFirstStart)
{
    install.WriteSkin("default");
    HKEY key;
    DWORD disposition;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Ostrel\\Numbrix", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(std::u16string(appSettings.skinFile), SkinPath("default.skn"));
    EXPECT_TRUE(RegistryHolds("\"SEflg\"=\"1\""));
}

TEST_F(AppTest, SettingsRoundTrip)
{
    std::u16string forty(40, u'x');
    std::memcpy(appSettings.skinFile, forty.c_str(), 41 * sizeof(WCHAR));
    appSettings.soundEffects = -7;
    SaveSettings();
    HKEY key;
    DWORD disposition, type, size = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Ostrel\\Numbrix", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(RegQueryValueExW(key, u"SkinFile", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 82u);
    EXPECT_EQ(type, DWORD(REG_SZ));
    RegCloseKey(key);
    appSettings = AppSettings{{}, 1};
    LoadSettings();
    EXPECT_EQ(std::u16string(appSettings.skinFile), forty);
    EXPECT_EQ(appSettings.soundEffects, -7);
}

TEST_F(AppTest, MinimizingEndsTheProgramWithSettingsWritten)
{
    install.WriteSkin("default");
    EXPECT_EQ(Run({[] { InjectMinimizeRequest(); }}), 0);
    EXPECT_TRUE(RegistryHolds("\"SEflg\"=\"1\""));
}

TEST_F(AppTest, CancellingTheSkinDialogAtCreationEndsWithoutWriting)
{
    // No skin at all: the loader says so, the dialog offers an empty list, Cancel ends the program.
    EXPECT_EQ(Run({CancelTheEmptySkinDialog}), 0);
    ExpectTheMissingSkinToldAndNoSkinStored();
    EXPECT_FALSE(RegistryHolds("SEflg"));
}

TEST_F(AppTest, SkinDialogListsInOrderWithoutSelectionAndIgnoresOkWithoutOne)
{
    install.WriteSkin("default");
    install.WriteSkin("b");
    install.WriteSkin("a");
    HWND dialog = nullptr;
    Run({[] { PostMessageW(mainWindow, WM_COMMAND, 40004, 0); },
         [&] {
             dialog = WindowTitled(SkinDialogTitle);
             ASSERT_NE(dialog, nullptr);
             EXPECT_EQ(SkinList(dialog), (std::vector<std::u16string>{u"a.skn", u"b.skn", u"default.skn"}));
             EXPECT_EQ(SendDlgItemMessageW(dialog, 1001, LB_GETCURSEL, 0, 0), LB_ERR);
             Command(dialog, IDOK);
         },
         [&] {
             EXPECT_EQ(WindowTitled(SkinDialogTitle), dialog) << "OK without a selection closed the dialog";
             Choose(dialog, 1);
         },
         [&] { EXPECT_EQ(WindowTitled(SkinDialogTitle), nullptr); }});
    EXPECT_EQ(std::u16string(appSettings.skinFile), SkinPath("b.skn"));
    EXPECT_TRUE(RegistryHolds("b.skn\""));
}

TEST_F(AppTest, FailedChoiceThenCancelRestoresThePreviousSkin)
{
    install.WriteSkin("default");
    TestSkinText broken;
    broken.Remove("AREA", "AREA05");
    install.WriteSkin("broken", broken);
    Run({[] { PostMessageW(mainWindow, WM_COMMAND, 40004, 0); },
         [&] { Choose(WindowTitled(SkinDialogTitle), 0); },   // broken.skn
         [&] {
             ASSERT_EQ(MessageBoxLog().size(), 1u);
             EXPECT_EQ(MessageBoxLog()[0].text, u"スキンファイルが壊れている、又はありません。[AREA][AREA05]");
             HWND dialog = WindowTitled(SkinDialogTitle);
             ASSERT_NE(dialog, nullptr) << "the dialog is offered again";
             Command(dialog, IDCANCEL);
         },
         [&] {
             EXPECT_EQ(WindowTitled(SkinDialogTitle), nullptr);
             EXPECT_EQ(std::u16string(appSettings.skinFile), SkinPath("default.skn"));
             EXPECT_NE(SurfaceBank[SlotParts].dc, nullptr) << "the previous skin is loaded again";
         }});
    EXPECT_TRUE(RegistryHolds("default.skn\""));
}

TEST_F(AppTest, ControlQDoesNothingAndControlAOpensAbout)
{
    install.WriteSkin("default");
    HWND about = nullptr;
    Run({[] { InjectKey('Q', true); },
         [&] {
             EXPECT_TRUE(IsWindow(mainWindow));
             InjectKey('A', true);
         },
         [&] {
             about = WindowTitled(AboutTitle);
             ASSERT_NE(about, nullptr);
             Command(about, IDCANCEL);
         },
         [&] {
             EXPECT_EQ(WindowTitled(AboutTitle), about) << "Cancel closed the About dialog";
             Command(about, IDOK);
         },
         [&] { EXPECT_EQ(WindowTitled(AboutTitle), nullptr); }});
}

TEST_F(AppTest, KeysGoToAnOpenMenuOrDialogNeverToTheCalculator)
{
    install.WriteSkin("default");
    Run({[] { InjectTap(15, 307); },   // the menu bar's Tools button opens the pop-up menu
         [] { InjectKey('5', false, u"5"); },
         [] {
             EXPECT_EQ(calcState.decimalValue, 0) << "the key closed the menu and pressed nothing";
             InjectKey('A', true);
         },
         [] {
             ASSERT_NE(WindowTitled(AboutTitle), nullptr);
             InjectKeyDown('6', u"6");
         },
         [] {
             EXPECT_EQ(calcState.decimalValue, 0);
             EXPECT_EQ(keyStates[15], Up);
             Command(WindowTitled(AboutTitle), IDOK);
             InjectKeyUp('6');
             InjectKey('7', false, u"7");
         },
         [] { EXPECT_EQ(calcState.decimalValue, 7); }});
}

TEST_F(AppTest, CommandLineSkinIsForThisRunWithItsImagesBesideIt)
{
    install.WriteSkin("default");
    install.WriteSkin("other");
    std::u16string neon = install.WriteSkin("neon", TestSkinText(), TestBackground, "elsewhere");
    Run({[&] { EXPECT_EQ(std::u16string(appSettings.skinFile), neon); }}, neon);
    EXPECT_TRUE(MessageBoxLog().empty());
    ASSERT_FALSE(SoundLog().empty());
    EXPECT_EQ(SoundLog().front().path, install.dir.DevicePath("elsewhere/neon/s1.wav"));
    EXPECT_TRUE(RegistryHolds("default.skn\"")) << "the stored skin stays";

    Run({[] { PostMessageW(mainWindow, WM_COMMAND, 40004, 0); },
         [&] { Choose(WindowTitled(SkinDialogTitle), 1); }},   // other.skn
        neon);
    EXPECT_TRUE(RegistryHolds("other.skn\"")) << "a skin chosen in the dialog is kept";
}

TEST_F(AppTest, MissingCommandLineSkinGetsTheMissingSkinMessage)
{
    install.WriteSkin("default");
    EXPECT_EQ(Run({[] { Command(WindowTitled(SkinDialogTitle), IDCANCEL); }}, install.dir.DevicePath("none.skn")), 0);
    ASSERT_EQ(MessageBoxLog().size(), 1u);
    EXPECT_EQ(MessageBoxLog()[0].text, u"スキンファイルが壊れている、又はありません。[FILE][BACKIMAGE]");
}

TEST_F(AppTest, SoundToggleFlipsOnlyTheLowestBit)
{
    install.WriteSkin("default");
    HKEY key;
    DWORD disposition;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Ostrel\\Numbrix", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    &disposition);
    RegSetValueExW(key, u"SEflg", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"2"), 4);
    RegCloseKey(key);
    Run({[] {
             EXPECT_EQ(appSettings.soundEffects, 2);
             EXPECT_FALSE(SoundChecked());
             PostMessageW(mainWindow, WM_COMMAND, 40005, 0);
         },
         [] {
             EXPECT_EQ(appSettings.soundEffects, 3);
             EXPECT_FALSE(SoundChecked());
             PostMessageW(mainWindow, WM_COMMAND, 40005, 0);
         },
         [] {
             EXPECT_EQ(appSettings.soundEffects, 2);
             PostMessageW(mainWindow, WM_COMMAND, 40005, 0);   // 3
             PostMessageW(mainWindow, WM_COMMAND, 40005, 0);   // 2
         }});
    EXPECT_TRUE(SoundLog().empty());
    EXPECT_TRUE(RegistryHolds("\"SEflg\"=\"2\""));
}

TEST_F(AppTest, SoundToggleShowsTheCheckMark)
{
    install.WriteSkin("default");
    Run({[] {
             EXPECT_TRUE(SoundChecked());
             ClearSoundLog();
             PostMessageW(mainWindow, WM_COMMAND, 40005, 0);
         },
         [] {
             EXPECT_EQ(appSettings.soundEffects, 0);
             EXPECT_FALSE(SoundChecked());
         }});
    EXPECT_TRUE(SoundLog().empty()) << "neither the toggle nor the exit plays a sound with effects off";
    EXPECT_TRUE(RegistryHolds("\"SEflg\"=\"0\""));
}

TEST_F(AppTest, WindowSitsAboveTheMenuBarAndKeysWork)
{
    install.WriteSkin("default");
    Run({[] {
             RECT window, bar;
             GetWindowRect(mainWindow, &window);
             GetWindowRect(menuBar, &bar);
             EXPECT_EQ(window.top, 26);
             EXPECT_EQ(window.bottom, bar.top);
             EXPECT_EQ(window.bottom - window.top, FaceHeight);
             const Area& one = SkinLayout[4];
             InjectTap(one.x + 2, one.y + 2 + 26);
         },
         [] {
             EXPECT_EQ(calcState.decimalValue, 1);
             EXPECT_EQ(keyStates[4], Up);
         }});
}

TEST_F(AppTest, InstallationTooDeepForTheDefaultSkinPathSaysTheSkinIsMissing)
{
    // 250 units of directory: the default skin path (16 more) and the skin search pattern (10 more)
    // would not fit in 260.
    std::string deep = install.dir.HostPath() + "/";
    deep += std::string(249 - deep.size(), 'd') + "/numbrix";
    OverrideModuleFileName(deep.c_str());
    EXPECT_EQ(Run({[] {
                  EXPECT_EQ(wcslen(appDirectory), 250u);
                  EXPECT_EQ(appSettings.skinFile[0], 0);
                  CancelTheEmptySkinDialog();
              }}),
              0);
    ExpectTheMissingSkinToldAndNoSkinStored();
}

TEST_F(AppTest, DamagedSettingsFileStartsOnTheDefaults)
{
    install.WriteSkin("default");
    std::string garbage = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrel\\Numbrix]\n\"SkinFile\"=\"";
    garbage += std::string(100000, 'x') + "\n\x01\xff\xfe\0\"SEflg\"=\"abc\"\n\"SEf";
    WriteFile(registry, garbage);
    EXPECT_EQ(Run({[] {
                  EXPECT_EQ(std::u16string(appSettings.skinFile).find(u"default.skn"), wcslen(appDirectory) + 5);
                  EXPECT_EQ(appSettings.soundEffects, 1);
              }}),
              0);
    EXPECT_TRUE(RegistryHolds("\"SEflg\"=\"1\""));
}

}  // namespace
