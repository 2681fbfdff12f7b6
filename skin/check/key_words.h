// The words with which a key sequence names the calculator's keys, and where a stylus press
// reaches a key on a skin.
//
// Words (letter case does not matter): 0-9, a-f; point or "."; sign or "+/-"; add or "+";
// sub or "-"; mul, "*" or "x"; div or "/"; eq or "="; ac, clear or c for clear all; ce; bs;
// hex, dec, bin. "c" is both the digit C and clear all: it stands for the digit in hexadecimal
// mode, where the digit can be pressed, and for clear all in the other modes, where the digit is
// disabled; "digit-c" is always the digit. "down:WORD" presses a key and holds it.
#pragma once
#include "engine/key_table.h"
#include "engine/skin_layout.h"

#include <string>

namespace skintool {

struct KeyWord {
    int key;                 // key index 0-28
    bool hold;               // down:WORD
};

// False for a word that names no key. The mode decides what "c" stands for.
bool ParseKeyWord(const std::string& word, RadixMode mode, KeyWord* parsed);
// True when the word names a key in some mode (for checking a whole sequence before it runs).
bool IsKeyWord(const std::string& word);

// What a key is, for messages: "digit 7", "decimal point", "clear all", "hexadecimal mode".
std::string KeyDescription(int key);
std::string ModeName(RadixMode mode);

struct FacePoint {
    int x, y;
};

// The point nearest to the centre of the visible part of the key's area where a press acts on that
// key (KeyAtPoint finds it). False when there is none: the area lies outside the face, or lower
// keys that are not disabled cover all of it.
bool FindPressPoint(int key, const KeyState states[KeyCount], const Area areas[AreaCount], FacePoint* point);

}  // namespace skintool
