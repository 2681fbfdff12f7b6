// The skin text reader: the text that a key holds in a section of a skin file. Stateless: every
// lookup opens the file, scans it from its first line and closes it again.
#pragma once
#include "platform/types.h"

enum { SkinFieldSize = MAX_PATH };   // every text field of a lookup, terminator included

// Leaves in output (SkinFieldSize units) the value of key in section, or a copy of defaultText
// (cut to 259 units) when the file, the section or the key is missing.
void ReadSkinValue(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText, LPWSTR output, LPCWSTR path);
// Replaces the blanks (space, tab, line feed) at the end of text by terminators.
void TrimTrailingBlanks(LPWSTR text);
// Empties keyOut and valueOut; when line holds a "=", ends line there and copies the part before
// it to keyOut and the rest, line feed included, to valueOut. All fields hold SkinFieldSize units.
void SplitKeyValue(LPWSTR line, LPWSTR keyOut, LPWSTR valueOut);
