#include "shell/skin_options.h"

#include "engine/app_globals.h"
#include "platform/wince.h"
#include "shell/skin_watch.h"

#include <cstdio>

static const char Usage[] = "usage: numbrix [--skin FILE.skn [--watch]]\n";

static WCHAR storedSkinFile[MAX_PATH];   // the skin of the settings, while --skin stands in for it
static WCHAR runSkinFile[MAX_PATH];

static bool IsBlank(WCHAR c)
{
    return c == u' ' || c == u'\t';
}

// The next argument of a command line into argument (MAX_PATH units), as the host writes them:
// separated by blanks, "..." keeps blanks, \" is a quote. Returns where the rest begins, or null
// when no argument is left; an argument too long to hold is cut, and then named no file anyway.
static LPCWSTR NextArgument(LPCWSTR line, LPWSTR argument)
{
    while (line && IsBlank(*line)) line++;
    if (!line || !*line) return nullptr;
    int length = 0;
    bool quoted = false;
    for (; *line && (quoted || !IsBlank(*line)); line++) {
        WCHAR c = *line;
        if (c == u'\\' && line[1] == u'"') c = *++line;
        else if (c == u'"') {
            quoted = !quoted;
            continue;
        }
        if (length < MAX_PATH - 1) argument[length++] = c;
    }
    argument[length] = 0;
    return line;
}

// The text for a terminal; characters beyond ASCII show as "?".
static void PrintArgument(LPCWSTR text)
{
    for (; *text; text++) fputc(*text < 0x80 ? char(*text) : '?', stderr);
}

static int UsageError(const char* problem, LPCWSTR argument)
{
    fprintf(stderr, "numbrix: %s", problem);
    if (argument) PrintArgument(argument);
    fprintf(stderr, "\n%s", Usage);
    return 2;
}

// The program's directory for a skin file: the directory above the one that holds it, ending
// with a backslash (the root for a file at the root).
static void ProgramDirectoryOfSkin(LPCWSTR skinPath, LPWSTR directory)
{
    wcscpy(directory, skinPath);
    LPWSTR slash = wcsrchr(directory, u'\\');
    if (slash) *slash = 0;
    slash = wcsrchr(directory, u'\\');
    if (slash) slash[1] = 0;
    else wcscpy(directory, u"\\");
}

static int UseRunSkin(LPCWSTR file)
{
    WCHAR path[MAX_PATH];
    if (!_wfullpath(path, file, MAX_PATH)) return UsageError("the skin file's path is too long: ", file);
    wcscpy(storedSkinFile, appSettings.skinFile);
    wcscpy(runSkinFile, path);
    wcscpy(appSettings.skinFile, path);
    ProgramDirectoryOfSkin(path, appDirectory);
    return 0;
}

int ApplyCommandLine(LPCWSTR commandLine)
{
    WCHAR argument[MAX_PATH], file[MAX_PATH];
    bool skinGiven = false;
    skinWatchOn = FALSE;
    runSkinFile[0] = 0;
    while ((commandLine = NextArgument(commandLine, argument)) != nullptr) {
        if (wcscmp(argument, u"--watch") == 0) {
            skinWatchOn = TRUE;
        } else if (wcscmp(argument, u"--skin") == 0) {
            commandLine = NextArgument(commandLine, file);
            if (!commandLine) return UsageError("--skin needs a skin file", nullptr);
            skinGiven = true;
        } else {
            return UsageError("unknown argument ", argument);
        }
    }
    return skinGiven ? UseRunSkin(file) : 0;
}

void LeaveRunSkinOutOfSettings()
{
    if (runSkinFile[0] && wcscmp(appSettings.skinFile, runSkinFile) == 0) wcscpy(appSettings.skinFile, storedSkinFile);
}
