// numbrix-make-skins: writes the calculator's skins into a skin directory, each as
// <name>.skn with <name>/ holding its background, its parts image and its nine sounds.
//
//   numbrix-make-skins SKIN_DIR [--preview PREVIEW_DIR]
//
// With --preview it also writes PREVIEW_DIR/<name>.png: four faces side by side, each drawn by
// the calculator itself after a few key presses, as numbrix-skin render draws them (a number with
// the add indicator; a key held down; hexadecimal mode; the error state).
#include "tools/make_skins/skin_art.h"
#include "tools/make_skins/skin_sounds.h"
#include "skin/check/skin_location.h"
#include "tools/skin_tool/skin_render.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

using namespace skins;

namespace {

constexpr const char* FixedFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// DejaVu Sans Bold through fontconfig, else at the path Debian's fonts-dejavu-core installs it.
// A substitute that fontconfig offers for a missing DejaVu is refused: the skins are designed
// with DejaVu's metrics.
std::string FindLabelFont()
{
    std::string path;
    if (FcConfig* config = FcInitLoadConfigAndFonts()) {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans:style=Bold"));
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            FcChar8 *file = nullptr, *family = nullptr;
            int weight = 0;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
                FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch &&
                std::strcmp(reinterpret_cast<const char*>(family), "DejaVu Sans") == 0 && weight >= FC_WEIGHT_BOLD)
                path = reinterpret_cast<const char*>(file);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        FcConfigDestroy(config);
    }
    if (path.empty() && access(FixedFontPath, R_OK) == 0) path = FixedFontPath;
    return path;
}

bool WriteBytes(const std::filesystem::path& path, const void* data, size_t size)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), std::streamsize(size));
    if (!file.flush()) {
        std::fprintf(stderr, "numbrix-make-skins: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// A 24-bit Windows bitmap.
bool WriteBitmap(const std::filesystem::path& path, const Image& image)
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 24, SDL_PIXELFORMAT_BGR24);
    if (!surface) {
        std::fprintf(stderr, "numbrix-make-skins: %s\n", SDL_GetError());
        return false;
    }
    for (int y = 0; y < image.height; y++) {
        auto row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < image.width; x++) {
            const Rgb& p = image.at(x, y);
            row[3 * x] = p.b, row[3 * x + 1] = p.g, row[3 * x + 2] = p.r;
        }
    }
    bool saved = SDL_SaveBMP(surface, path.c_str()) == 0;
    if (!saved) std::fprintf(stderr, "numbrix-make-skins: cannot write %s: %s\n", path.c_str(), SDL_GetError());
    SDL_FreeSurface(surface);
    return saved;
}

bool WriteSkin(const SkinDesign& design, const SkinImages& images, const std::filesystem::path& skinDir)
{
    std::filesystem::path dir = skinDir / design.name;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "numbrix-make-skins: cannot create %s: %s\n", dir.c_str(), error.message().c_str());
        return false;
    }
    if (!WriteBitmap(dir / BackImageName, images.background) || !WriteBitmap(dir / PartsImageName, images.parts))
        return false;
    for (int sound = 0; sound < SoundEvents; sound++) {
        std::vector<uint8_t> wave = WaveFileBytes(SynthesizeSound(sound, design.voice));
        if (!WriteBytes(dir / SoundFileNames[sound], wave.data(), wave.size())) return false;
    }
    std::string text = SkinFileText(design);
    return WriteBytes(skinDir / (std::string(design.name) + ".skn"), text.data(), text.size());
}

const std::vector<skintool::SheetFace> PreviewFaces = {
    {"", "1 2 3 4 . 5 +"},
    {"", "2 * 9 sign 8 7 6 . 4 3 down:5"},
    {"", "hex 7 f e 2 c 9 a b /"},
    {"", "9 9 9 9 9 9 9 9 * 9 -"},
};
constexpr skintool::SheetStyle PreviewStyle = {4, 0, 0x808080};

bool WritePreview(const SkinDesign& design, const std::filesystem::path& skinDir, const std::filesystem::path& previewDir)
{
    std::string name = design.name;
    skintool::SkinLocation location = skintool::LocateSkin((skinDir / (name + ".skn")).string(), "");
    std::filesystem::path out = previewDir / (name + ".png");
    std::u16string message;
    switch (skintool::WriteSheet(location, PreviewFaces, PreviewStyle, out.string(), &message)) {
    case skintool::SheetResult::Written: return true;
    case skintool::SheetResult::SkinNotLoaded:
        std::fprintf(stderr, "numbrix-make-skins: the calculator does not load the skin %s: %s\n", design.name,
                     skintool::Utf8Of(message).c_str());
        return false;
    case skintool::SheetResult::NotWritten:
        std::fprintf(stderr, "numbrix-make-skins: cannot write %s\n", out.c_str());
        return false;
    }
    return false;
}

bool WritePreviews(const std::filesystem::path& skinDir, const std::filesystem::path& previewDir)
{
    std::error_code error;
    std::filesystem::create_directories(previewDir, error);
    for (const SkinDesign& design : SkinDesigns)
        if (!WritePreview(design, skinDir, previewDir)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* skinDir = nullptr;
    const char* previewDir = nullptr;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc)
            previewDir = argv[++i];
        else if (!skinDir && argv[i][0] != '-')
            skinDir = argv[i];
        else
            skinDir = nullptr, i = argc;
    }
    if (!skinDir) {
        std::fprintf(stderr, "usage: numbrix-make-skins SKIN_DIR [--preview PREVIEW_DIR]\n");
        return 2;
    }
    std::string font = FindLabelFont();
    if (font.empty()) {
        std::fprintf(stderr, "numbrix-make-skins: the font DejaVu Sans Bold is missing; install the Debian "
                             "package fonts-dejavu-core (sh tools/setup does)\n");
        return 1;
    }
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "numbrix-make-skins: %s\n", TTF_GetError());
        return 1;
    }
    int result = 0;
    for (const SkinDesign& design : SkinDesigns) {
        SkinImages images;
        if (!DrawSkin(design, font.c_str(), images) || !WriteSkin(design, images, skinDir)) {
            result = 1;
            break;
        }
    }
    TTF_Quit();
    if (result == 0 && previewDir && !WritePreviews(skinDir, previewDir)) result = 1;
    return result;
}
