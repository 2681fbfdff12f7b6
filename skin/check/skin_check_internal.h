// What the parts of the skin check share: the facts gathered about a skin, and the checks that
// each part runs on them.
#pragma once
#include "engine/skin_cells.h"
#include "engine/skin_layout.h"
#include "engine/sound_effects.h"
#include "skin/skin_loader.h"
#include "skin/check/skin_check.h"
#include "skin/check/skin_source.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skintool {

// The transparent colour as a pixel (0x00RRGGBB) of a decoded image.
constexpr uint32_t TransparentPixel = 0x646464;
static_assert(SKIN_TRANSPARENT_COLOR == TransparentPixel, "the transparent colour is grey 100 in both colour forms");

// A CHAR or AREA entry: whether the reader finds it, and its numbers when it gives all four.
struct EntryFacts {
    bool present = false;
    bool complete = false;   // the numbers that the calculator uses were read
    int line = 0;
    Area rect = {0, 0, 0, 0};
};

// A decoded image: 0x00RRGGBB pixels, rows top-down.
struct Picture {
    bool loaded = false;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

struct SkinFacts {
    const SkinLocation* location = nullptr;
    SkinSource source;
    SectionView file, character, area, sound;
    EntryFacts cells[CellCount];
    EntryFacts areas[AreaCount];
    Picture background, parts;
    std::vector<Finding> findings;

    void Error(int line, const std::string& key, const std::string& text);
    void Warning(int line, const std::string& key, const std::string& text);
};

// Key names as the skin file writes them.
std::string CellKey(int cell);     // "CHAR001" for cell 0
std::string AreaKey(int area);     // "AREA01" for area 0
std::string SoundKey(int sound);   // "SOUND01" for sound 0
// What a cell or an area is for: "up face of digit 7", "display position 0 (rightmost)".
std::string CellRole(int cell);
std::string AreaRole(int area);
std::string SoundRole(int sound);   // "the skin is loaded", "digits, point and sign"...
// A cell that the calculator never draws: the disabled face of a key that every mode enables.
bool CellNeverDrawn(int cell);

std::string Quoted(const std::u16string& text);
std::string RectText(const Area& rect);   // "x,y WxH"

// skin_check_images.cpp: the files that the skin names (paths, presence, decoding, the parts
// image's transparent colour). Fills facts.background and facts.parts.
void CheckImages(SkinFacts& facts, const std::u16string& backImage, int backLine, const std::u16string& partsImage,
                 int partsLine);
void CheckSound(SkinFacts& facts, int sound, const std::u16string& value, int line);
void CheckCellContents(SkinFacts& facts);

// skin_check_layout.cpp: cells on the parts image, areas on the face, keys over keys, and the
// display: its panel, the characters at its positions, the error sign, the operator indicators.
void CheckCells(SkinFacts& facts);
void CheckAreas(SkinFacts& facts);
void CheckCornerAreas(SkinFacts& facts);
void CheckKeyOverlaps(SkinFacts& facts);
void CheckPanel(SkinFacts& facts);
void CheckDisplayPositions(SkinFacts& facts);
void CheckErrorSign(SkinFacts& facts);
void CheckOperatorIndicators(SkinFacts& facts);

// Rectangles with 64-bit edges, so that any 32-bit skin numbers can be combined.
struct Box {
    int64_t left, top, right, bottom;
    bool Empty() const { return right <= left || bottom <= top; }
};
Box BoxOf(const Area& area);
Box Intersect(const Box& a, const Box& b);
bool Inside(const Box& inner, const Box& outer);
std::string BoxText(const Box& box);   // "x,y WxH"
const Box FaceBox = {0, 0, FaceWidth, FaceHeight};
// "240 x 268", for messages.
std::string FaceSizeText();

}  // namespace skintool
