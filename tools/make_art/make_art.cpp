// Draws the program's icon (32 x 32 and 16 x 16, 16 colours), the About picture (100 x 100,
// 256 colours) and the mark of a broken skin (16 x 16) and writes them as C++ arrays for the
// program's resources; with --icons, also the desktop's icons of the same calculator, each drawn
// for its size, as PNG images in the layout of the icon theme: DIR/SIZExSIZE/apps/NAME.png.
//   numbrix-make-art OUTPUT.inc [--icons DIR NAME]
// With --icon, one icon of any size alone (the web page's, 192 and 512 pixels):
//   numbrix-make-art --icon SIZE FILE.png
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

namespace {

struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;
    Picture(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    void Fill(double x0, double y0, double x1, double y1, double radius, uint32_t color)
    {
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                if (InsideRounded(x + 0.5, y + 0.5, x0, y0, x1, y1, radius)) pixels[size_t(y) * width + x] = color;
    }
    static bool InsideRounded(double px, double py, double x0, double y0, double x1, double y1, double r)
    {
        if (px < x0 || px >= x1 || py < y0 || py >= y1) return false;
        double cx = px < x0 + r ? x0 + r : px > x1 - r ? x1 - r : px;
        double cy = py < y0 + r ? y0 + r : py > y1 - r ? y1 - r : py;
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
    }
};

// The 16 colours of the classic palette; icon colours are chosen from it.
const uint32_t Palette16[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// A calculator: body, display with a digit bar, 4 x 4 keys with an accent key; scaled to size.
Picture Calculator(int size, uint32_t background, uint32_t body, uint32_t display, uint32_t digits,
                   uint32_t key, uint32_t accent)
{
    Picture p(size, size, background);
    double s = size / 32.0;
    p.Fill(4 * s, 1 * s, 28 * s, 31 * s, 3 * s, body);
    p.Fill(7 * s, 4 * s, 25 * s, 11 * s, 1 * s, display);
    p.Fill(15 * s, 6 * s, 23 * s, 9 * s, 0, digits);
    for (int row = 0; row < 4; row++)
        for (int col = 0; col < 4; col++) {
            double x = 7 * s + col * 4.75 * s, y = 13.5 * s + row * 4.25 * s;
            bool isAccent = col == 3 && row >= 2;
            p.Fill(x, y, x + 3.5 * s, y + 3.25 * s, 0.6 * s, isAccent ? accent : key);
        }
    return p;
}

// The About picture: a calculator in front of a soft vertical gradient, quantised to a 6 x 6 x 6
// colour cube so it keeps to 256 colours.
Picture AboutPicture()
{
    Picture p = Calculator(100, 0, 0x2B3440, 0x9ED9A0, 0x1E3A22, 0xE8ECF0, 0xF28C28);
    Picture gradient(100, 100, 0);
    for (int y = 0; y < 100; y++)
        for (int x = 0; x < 100; x++) {
            double t = y / 99.0;
            int r = int(40 + 60 * t), g = int(90 + 70 * t), b = int(170 + 60 * t);
            gradient.pixels[size_t(y) * 100 + x] = uint32_t(r << 16 | g << 8 | b);
        }
    for (size_t i = 0; i < p.pixels.size(); i++) {
        uint32_t c = p.pixels[i] == 0 ? gradient.pixels[i] : p.pixels[i];
        auto level = [](uint32_t v) { return uint32_t(std::lround(v / 51.0) * 51); };
        p.pixels[i] = level(c >> 16 & 255) << 16 | level(c >> 8 & 255) << 8 | level(c & 255);
    }
    return p;
}

// The mark of a skin that did not load: a red square with a white exclamation mark.
Picture BrokenMark()
{
    Picture p(16, 16, Palette16[9]);
    p.Fill(7, 2, 9, 10, 0, Palette16[15]);
    p.Fill(7, 12, 9, 14, 0, Palette16[15]);
    return p;
}

// ---- The desktop's icons ----

// The calculator of Calculator() on a transparent ground, in the About picture's colours. Every
// edge lies on the pixel grid of the icon's own size, and the keys are laid out in whole pixels
// with at least one pixel between them, so each size is sharp rather than a scaled copy; only the
// rounded corners are smoothed, by their coverage of each pixel.
class DesktopIcon {
public:
    explicit DesktopIcon(int size) : size_(size), rgba_(size_t(size) * size * 4, 0) {}

    void Draw()
    {
        double s = size_ / 32.0;
        auto at = [s](double design) { return int(std::lround(design * s)); };
        Rounded(at(4), at(1), at(28), at(31), 3 * s, 0x2B3440);
        Rounded(at(7), at(4), at(25), at(11), 1 * s, 0x9ED9A0);
        Rounded(at(15), at(6), at(23), at(9), 0, 0x1E3A22);
        std::vector<int> columns = Cells(at(7), at(24.75), std::max(1, at(1.25)));
        std::vector<int> rows = Cells(at(13.5), at(29.5), std::max(1, at(1)));
        int width = columns[1], height = rows[1];
        for (int row = 0; row < 4; row++)
            for (int col = 0; col < 4; col++) {
                bool accent = col == 3 && row >= 2;
                int x = columns[2 + col], y = rows[2 + row];
                Rounded(x, y, x + width, y + height, std::min(0.6 * s, width / 2.0), accent ? 0xF28C28 : 0xE8ECF0);
            }
    }
    bool WritePng(const std::string& path) const
    {
        return stbi_write_png(path.c_str(), size_, size_, 4, rgba_.data(), size_ * 4) != 0;
    }

private:
    // Four cells with `gap` pixels between them across [from, to): {gap, cell size, start 1..4},
    // the pixels left over shared out on both sides.
    static std::vector<int> Cells(int from, int to, int gap)
    {
        int cell = std::max(1, (to - from - 3 * gap) / 4);
        int start = from + (to - from - (4 * cell + 3 * gap)) / 2;
        return {gap, cell, start, start + cell + gap, start + 2 * (cell + gap), start + 3 * (cell + gap)};
    }
    // A rounded rectangle over what is drawn, each pixel covered by the share of its 4 x 4 samples
    // inside the shape.
    void Rounded(int x0, int y0, int x1, int y1, double radius, uint32_t color)
    {
        for (int y = std::max(0, y0); y < std::min(size_, y1); y++)
            for (int x = std::max(0, x0); x < std::min(size_, x1); x++) {
                int inside = 0;
                for (int sy = 0; sy < 4; sy++)
                    for (int sx = 0; sx < 4; sx++)
                        inside += Picture::InsideRounded(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4, x0, y0, x1, y1, radius);
                Over(x, y, color, inside / 16.0);
            }
    }
    void Over(int x, int y, uint32_t color, double alpha)
    {
        uint8_t* p = &rgba_[(size_t(y) * size_ + x) * 4];
        double below = p[3] / 255.0, out = alpha + below * (1 - alpha);
        if (out <= 0) return;
        for (int c = 0; c < 3; c++) {
            double top = (color >> (16 - 8 * c) & 255) * alpha, under = p[c] * below * (1 - alpha);
            p[c] = uint8_t(std::lround((top + under) / out));
        }
        p[3] = uint8_t(std::lround(out * 255));
    }

    int size_;
    std::vector<uint8_t> rgba_;
};

const int DesktopIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

bool WriteDesktopIcons(const std::string& directory, const std::string& name)
{
    for (int size : DesktopIconSizes) {
        std::string folder = directory + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        DesktopIcon icon(size);
        icon.Draw();
        if (!icon.WritePng(folder + "/" + name + ".png")) {
            std::fprintf(stderr, "numbrix-make-art: cannot write %s/%s.png\n", folder.c_str(), name.c_str());
            return false;
        }
    }
    return true;
}

void Write(FILE* out, const char* name, const Picture& p)
{
    std::fprintf(out, "static const uint32_t %s[%d] = {", name, p.width * p.height);
    for (size_t i = 0; i < p.pixels.size(); i++)
        std::fprintf(out, "%s0x%06X,", i % 10 ? "" : "\n    ", p.pixels[i]);
    std::fprintf(out, "\n};\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        int size = std::atoi(argv[2]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "numbrix-make-art: the icon's size is 16 to 1024 pixels\n");
            return 2;
        }
        DesktopIcon icon(size);
        icon.Draw();
        return icon.WritePng(argv[3]) ? 0 : 1;
    }
    bool icons = argc == 5 && std::string(argv[2]) == "--icons";
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: numbrix-make-art OUTPUT.inc [--icons DIR NAME] | --icon SIZE FILE.png\n");
        return 2;
    }
    if (icons && !WriteDesktopIcons(argv[3], argv[4])) return 1;
    FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "// Generated by numbrix-make-art; do not edit.\n");
    // Icon colours from the 16-colour palette: teal ground, grey body, green display, orange-red accent.
    Write(out, "IconPixels32", Calculator(32, Palette16[6], Palette16[8], Palette16[10], Palette16[2], Palette16[15], Palette16[9]));
    Write(out, "IconPixels16", Calculator(16, Palette16[6], Palette16[8], Palette16[10], Palette16[2], Palette16[15], Palette16[9]));
    Write(out, "AboutPixels", AboutPicture());
    Write(out, "BrokenMarkPixels16", BrokenMark());
    return std::fclose(out) == 0 ? 0 : 1;
}
