// The catalogues in use (catalogue.cpp), for the platform's resources and message boxes.
#pragma once
#include "platform/types.h"

#include <string>

// The text in the catalogues' language: its entry; for a text that the program formatted, the
// entry whose printf pattern (%s, %d) it matches, formatted with the same values; else the text.
std::u16string LocalisedText(const std::u16string& text);
// The entry of a resource text as a text that lives as long as the catalogues stay in use (the
// text itself when there is none). The text of an ordinal (MAKEINTRESOURCEW) is given back as it is.
LPCWSTR LocalisedResourceText(LPCWSTR text);
// False while the program's own texts are shown.
bool CataloguesInUse();
// Changes whenever other catalogues are taken into use.
unsigned CatalogueGeneration();
