// The program's texts in both languages: under C, POSIX and Japanese locales exactly the program's
// own, under an English locale every one of them from the English catalogue of the build tree,
// the skin loader's formatted messages included; and each text fits its dialog control.
#include "platform/catalogue.h"
#include "platform/font.h"
#include "platform/inspect.h"
#include "platform/kernel/catalogue_internals.h"
#include "platform/kernel/resource_internals.h"
#include "platform/ui/dialog_internals.h"
#include "platform/user/window_internals.h"
#include "platform/wince.h"
#include "shell/resources.h"
#include "skin/skin_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const HINSTANCE Instance = reinterpret_cast<HINSTANCE>(uintptr_t(0x00010000));
using Environment = std::vector<std::pair<const char*, const char*>>;

// Every text of the program's resources that is shown (the window class name is not).
std::vector<LPCWSTR> ResourceTexts()
{
    const ResourceTable& table = ProgramResources;
    std::vector<LPCWSTR> texts;
    for (int i = 0; i < table.stringCount; ++i)
        if (table.strings[i].id != IdsClassName) texts.push_back(table.strings[i].text);
    for (int m = 0; m < table.menuCount; ++m)
        for (int p = 0; p < table.menus[m].popupCount; ++p) {
            const MenuTemplate& popup = table.menus[m].popups[p];
            texts.push_back(popup.popupText);
            for (int i = 0; i < popup.itemCount; ++i)
                if (popup.items[i].text) texts.push_back(popup.items[i].text);
        }
    for (int d = 0; d < table.dialogCount; ++d) {
        const DialogTemplate& dialog = *table.dialogs[d].dialog;
        texts.push_back(dialog.caption);
        for (int i = 0; i < dialog.itemCount; ++i)
            if (!IS_INTRESOURCE(dialog.items[i].text) && dialog.items[i].text[0]) texts.push_back(dialog.items[i].text);
    }
    return texts;
}

std::u16string MissingKey(LPCWSTR group, LPCWSTR key)
{
    WCHAR text[MAX_PATH];
    wsprintfW(text, u"スキンファイルが壊れている、又はありません。[%s][%s]", group, key);
    return text;
}

std::u16string SurfaceFailed(int slot)
{
    WCHAR text[MAX_PATH];
    wsprintfW(text, u"仮想画面(%d)の作成に失敗しました。", slot);
    return text;
}

struct LoaderMessage {
    std::u16string formatted;   // as the skin loader formats it in the locale in use
    std::u16string own, english;
};

std::vector<LoaderMessage> LoaderMessages()
{
    return {
        {MissingKey(u"FILE", u"BACKIMAGE"), u"スキンファイルが壊れている、又はありません。[FILE][BACKIMAGE]",
         u"The skin file is damaged or missing. [FILE][BACKIMAGE]"},
        {MissingKey(u"CHARACTER", u"CHAR042"), u"スキンファイルが壊れている、又はありません。[CHARACTER][CHAR042]",
         u"The skin file is damaged or missing. [CHARACTER][CHAR042]"},
        {SurfaceFailed(3), u"仮想画面(3)の作成に失敗しました。", u"Creating virtual screen (3) failed."},
    };
}

std::string Utf8(const std::u16string& text)
{
    return testing::PrintToString(text);
}

class ProgramTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterResources(Instance, &ProgramResources);
        OverrideModuleFileName(NUMBRIX_BUILD_DIR "/numbrix");
        ClearMessageBoxLog();
    }
    void TearDown() override
    {
        UseLocale({});
        RegisterResources(Instance, nullptr);
        OverrideModuleFileName(nullptr);
    }
    // The catalogues the program takes at start-up in this environment.
    static void UseLocale(const Environment& environment)
    {
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
        for (const auto& [name, value] : environment) setenv(name, value, 1);
        UseCataloguesOfEnvironment();
    }
    static std::u16string String(UINT id)
    {
        WCHAR text[100];
        LoadStringW(Instance, id, text, 100);
        return text;
    }
    static const DialogTemplate* Dialog(UINT id)
    {
        return static_cast<const DialogTemplate*>(LoadResource(Instance, FindResourceW(Instance, MAKEINTRESOURCEW(id), RT_DIALOG)));
    }
    static std::u16string Shown(const std::u16string& text)
    {
        MessageBoxW(nullptr, text.c_str(), u"ERROR", MB_OK);
        return MessageBoxLog().back().shown;
    }
};

TEST_F(ProgramTexts, UnderCPosixAndJapaneseLocalesAreThePrograms)
{
    const Environment locales[] = {{}, {{"LANG", "C"}, {"LANGUAGE", "en"}}, {{"LC_ALL", "POSIX"}, {"LANG", "en_US.UTF-8"}},
                                   {{"LANG", "ja_JP.UTF-8"}}, {{"LC_MESSAGES", "C"}, {"LANG", "en_GB.UTF-8"}}};
    for (const Environment& locale : locales) {
        SCOPED_TRACE(locale.empty() ? "nothing set" : std::string(locale[0].first) + "=" + locale[0].second);
        UseLocale(locale);
        EXPECT_EQ(String(IdsTitle), u"Numbrix");
        EXPECT_EQ(String(IdsTools), u"Tools");
        EXPECT_EQ(Dialog(IddAbout), ProgramResources.dialogs[0].dialog) << "the program's own template";
        EXPECT_EQ(Dialog(IddSkin), ProgramResources.dialogs[1].dialog);
        EXPECT_EQ(FindMenu(Instance, IdrMenu), &ProgramResources.menus[0]);
        for (const LoaderMessage& message : LoaderMessages()) EXPECT_EQ(Shown(message.formatted), message.own);
    }
}

TEST_F(ProgramTexts, UnderAnEnglishLocaleComeFromTheEnglishCatalogue)
{
    UseLocale({{"LANG", "en_US.UTF-8"}});
    ASSERT_TRUE(CataloguesInUse()) << "no English catalogue in " NUMBRIX_BUILD_DIR "/locale";
    for (LPCWSTR text : ResourceTexts()) EXPECT_NE(LocalisedResourceText(text), text) << Utf8(text) << " has no entry";
    EXPECT_EQ(Dialog(IddSkin)->caption, std::u16string(u"Choose Skin"));
    EXPECT_EQ(Dialog(IddSkin)->items[2].text, std::u16string(u"Cancel"));
    EXPECT_EQ(FindMenu(Instance, IdrMenu)->popups[0].items[2].text, std::u16string(u"Sound Effects"));
    EXPECT_EQ(String(IdsClassName), u"NUMBRIX") << "the window class is no text to translate";
    for (const LoaderMessage& message : LoaderMessages()) EXPECT_EQ(Shown(message.formatted), message.english);

    ClearMessageBoxLog();
    LoadSkin(u"\\nowhere\\missing.skn");
    ASSERT_EQ(MessageBoxLog().size(), 1u);
    EXPECT_EQ(MessageBoxLog()[0].shown, LoaderMessages()[0].english);
}

// Every text of a static text or a push button fits on one line of its control, at the template's
// size in the dialog's font; a button keeps its frame free.
void ExpectTextsFit(HWND dialog, int textSize)
{
    for (HWND control : ChildWindows(dialog)) {
        std::u16string text = WindowTitle(control), kind = WindowClassName(control);
        DWORD type = WindowStyle(control) & 0x1F;
        if (text.empty() || (kind == u"STATIC" && (type == SS_ICON || type == SS_BITMAP))) continue;
        RECT client;
        GetClientRect(control, &client);
        int room = int(client.right) - (kind == u"BUTTON" ? 6 : 0);
        EXPECT_LE(TextWidth(text, textSize), room) << Utf8(text);
    }
}

TEST_F(ProgramTexts, FitTheirDialogsInBothLanguages)
{
    ASSERT_TRUE(FontAvailable()) << "the shell's font is needed to measure (tools/setup installs it)";
    for (const Environment& locale : {Environment{}, Environment{{"LANG", "en_US.UTF-8"}}}) {
        UseLocale(locale);
        for (UINT id : {IddAbout, IddSkin}) {
            SCOPED_TRACE(std::to_string(id) + (locale.empty() ? " in Japanese" : " in English"));
            static int textSize;
            textSize = DialogTextSize(*Dialog(id));
            INT_PTR result = DialogBoxIndirectParamW(
                Instance, Dialog(id), nullptr,
                [](HWND dialog, UINT message, WPARAM, LPARAM) -> BOOL {
                    if (message != WM_INITDIALOG) return FALSE;
                    ExpectTextsFit(dialog, textSize);
                    EndDialog(dialog, 1);
                    return TRUE;
                },
                0);
            EXPECT_EQ(result, 1);
        }
    }
}

}  // namespace
