// Fontconfig's choice of the font for the shell's text: the best Japanese sans-serif face,
// preferring a proportional one (menus and dialogs read better without the fixed pitch of the
// first match). Fontconfig reads its whole configuration to answer.
#pragma once
#include <string>
#include <vector>

// The font file, or empty when fontconfig finds none (or is missing). `dependsOn` receives what
// the answer depends on: the configuration files fontconfig read and the directories that hold
// them, the font directories (also those that are missing), and the user's configuration files
// that it would read if they were there.
std::string AskFontconfig(std::vector<std::string>& dependsOn);
