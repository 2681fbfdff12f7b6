// numbrix-make-skins: writes the calculator's skins into a skin directory, each as
// <name>.skn with <name>/ holding its background, its parts image and its nine sounds.
//
//   numbrix-make-skins SKIN_DIR [--preview PREVIEW_DIR]
//
// With --preview it also writes PREVIEW_DIR/<name>.png: the face composed as the calculator
// paints it, in four states side by side (all keys up with "1,234.5" and the add indicator;
// decimal mode with a key held down; hexadecimal mode; the error state).
#include "tools/skin_art.h"
#include "tools/skin_sounds.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <stb_image_write.h>
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

FaceState StateInMode(RadixMode mode, const char16_t* text, int pendingOp)
{
    FaceState state = {};
    ModeKeyStates(mode, state.keys);
    state.text = text;
    state.pendingOp = pendingOp;
    return state;
}

bool WritePreview(const SkinImages& images, const std::filesystem::path& path)
{
    FaceState states[4] = {};
    for (auto& key : states[0].keys) key = Up;
    states[0].text = u"1,234.5";
    states[0].pendingOp = OpAdd;
    states[1] = StateInMode(Dec, u"-9,876,543.21", OpMultiply);
    states[1].keys[9] = Down;   // digit 5, held
    states[2] = StateInMode(Hex, u"7fe2c9ab", OpDivide);
    states[3] = StateInMode(Dec, u"", OpSubtract);
    states[3].error = true;

    constexpr int Gap = 8;
    Image sheet(4 * FaceWidth + 5 * Gap, FaceHeight + 2 * Gap, Rgb{128, 128, 128});
    for (int i = 0; i < 4; i++) {
        Image face = ComposeFace(images.background, images.parts, images.plan, images.areas, states[i]);
        DrawCell(face, {0, 0, face.width, face.height}, sheet, Gap + i * (FaceWidth + Gap), Gap, false);
    }
    if (!stbi_write_png(path.c_str(), sheet.width, sheet.height, 3, sheet.pixels.data(), sheet.width * 3)) {
        std::fprintf(stderr, "numbrix-make-skins: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    static_assert(sizeof(Rgb) == 3, "images are handed to the PNG writer as packed RGB");
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
        if (previewDir) {
            std::filesystem::create_directories(previewDir);
            if (!WritePreview(images, std::filesystem::path(previewDir) / (std::string(design.name) + ".png"))) {
                result = 1;
                break;
            }
        }
    }
    TTF_Quit();
    return result;
}
