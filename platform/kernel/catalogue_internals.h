// The catalogues in use (catalogue.cpp), for the platform's resources and message boxes.
#pragma once
#include "platform/types.h"

#include <string>

// The text in the catalogues' language: its entry, or the text itself when it has none.
std::u16string LocalisedText(const std::u16string& text);
// The entry of a resource text as a text that lives as long as the catalogues stay in use (the
// text itself when there is none). The text of an ordinal (MAKEINTRESOURCEW) is given back as it is.
LPCWSTR LocalisedResourceText(LPCWSTR text);
// The format in the catalogues' language, when its entry takes the same values in the same order;
// else the format itself.
LPCWSTR LocalisedFormat(LPCWSTR format);
// False while the program's own texts are shown.
bool CataloguesInUse();
// Changes whenever other catalogues are taken into use.
unsigned CatalogueGeneration();
