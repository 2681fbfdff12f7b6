#include "tools/make_skins/skin_art.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>

namespace skins {
namespace {

// A layer of premultiplied RGBA pixels, drawn with source-over.
struct Canvas {
    int width, height;
    std::vector<float> px;

    Canvas(int w, int h) : width(w), height(h), px(size_t(w) * h * 4, 0.0f) {}

    const float* pixel(int x, int y) const { return &px[(size_t(y) * width + x) * 4]; }

    void Blend(int x, int y, Rgb c, float alpha)
    {
        if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0) return;
        alpha = std::min(alpha, 1.0f);
        float* p = &px[(size_t(y) * width + x) * 4];
        float keep = 1.0f - alpha;
        p[0] = c.r / 255.0f * alpha + p[0] * keep;
        p[1] = c.g / 255.0f * alpha + p[1] * keep;
        p[2] = c.b / 255.0f * alpha + p[2] * keep;
        p[3] = alpha + p[3] * keep;
    }
};

struct Ink {
    Rgb colour;
    float alpha;
};

Rgb Mix(Rgb a, Rgb b, float t)
{
    auto mix = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

Rgb Scale(Rgb c, float f)
{
    auto scale = [f](uint8_t x) { return uint8_t(std::clamp(std::lround(x * f), 0L, 255L)); };
    return {scale(c.r), scale(c.g), scale(c.b)};
}

float Luminance(Rgb c)
{
    return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
}

constexpr Rgb White = {255, 255, 255};
constexpr Rgb Black = {0, 0, 0};

// Shapes answer whether a point lies inside; coverage comes from 4 x 4 samples per pixel.
struct RoundRect {
    float x, y, w, h, r;
    bool operator()(float px, float py) const
    {
        if (px < x || px > x + w || py < y || py > y + h) return false;
        float cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
    }
};

struct Disc {
    float cx, cy, r;
    bool operator()(float px, float py) const { return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r; }
};

struct Capsule {
    float ax, ay, bx, by, r;
    bool operator()(float px, float py) const
    {
        float dx = bx - ax, dy = by - ay;
        float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        float ex = px - (ax + t * dx), ey = py - (ay + t * dy);
        return ex * ex + ey * ey <= r * r;
    }
};

struct Point {
    float x, y;
};

// Convex, either winding.
struct Polygon {
    std::array<Point, 6> p;
    int n;
    bool operator()(float px, float py) const
    {
        bool positive = false, negative = false;
        for (int i = 0; i < n; i++) {
            const Point& a = p[i];
            const Point& b = p[(i + 1) % n];
            float cross = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
            positive |= cross > 0;
            negative |= cross < 0;
        }
        return !(positive && negative);
    }
};

constexpr int Samples = 4;

template <class Inside, class Paint>
void Fill(Canvas& canvas, float left, float top, float right, float bottom, const Inside& inside, const Paint& paint)
{
    int x0 = std::max(0, int(std::floor(left))), x1 = std::min(canvas.width, int(std::ceil(right)) + 1);
    int y0 = std::max(0, int(std::floor(top))), y1 = std::min(canvas.height, int(std::ceil(bottom)) + 1);
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++) {
            int hits = 0;
            for (int j = 0; j < Samples; j++)
                for (int i = 0; i < Samples; i++)
                    hits += inside(x + (i + 0.5f) / Samples, y + (j + 0.5f) / Samples);
            if (hits == 0) continue;
            Ink ink = paint(x + 0.5f, y + 0.5f);
            canvas.Blend(x, y, ink.colour, ink.alpha * hits / (Samples * Samples));
        }
}

void FillRoundRect(Canvas& canvas, const RoundRect& rr, Ink ink)
{
    Fill(canvas, rr.x, rr.y, rr.x + rr.w, rr.y + rr.h, rr, [ink](float, float) { return ink; });
}

void FillGradient(Canvas& canvas, const RoundRect& rr, Rgb top, Rgb bottom)
{
    Fill(canvas, rr.x, rr.y, rr.x + rr.w, rr.y + rr.h, rr, [&](float, float y) {
        return Ink{Mix(top, bottom, std::clamp((y - rr.y) / rr.h, 0.0f, 1.0f)), 1.0f};
    });
}

template <class Shape>
void FillShape(Canvas& canvas, const Shape& shape, float left, float top, float right, float bottom, Ink ink)
{
    Fill(canvas, left, top, right, bottom, shape, [ink](float, float) { return ink; });
}

void FillCapsule(Canvas& canvas, const Capsule& c, Ink ink)
{
    FillShape(canvas, c, std::min(c.ax, c.bx) - c.r, std::min(c.ay, c.by) - c.r, std::max(c.ax, c.bx) + c.r,
              std::max(c.ay, c.by) + c.r, ink);
}

void FillDisc(Canvas& canvas, const Disc& d, Ink ink)
{
    FillShape(canvas, d, d.cx - d.r, d.cy - d.r, d.cx + d.r, d.cy + d.r, ink);
}

void FillPolygon(Canvas& canvas, const Polygon& poly, Ink ink)
{
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (int i = 0; i < poly.n; i++) {
        left = std::min(left, poly.p[i].x), right = std::max(right, poly.p[i].x);
        top = std::min(top, poly.p[i].y), bottom = std::max(bottom, poly.p[i].y);
    }
    FillShape(canvas, poly, left, top, right, bottom, ink);
}

// A soft halo: the shapes drawn into a mask, blurred, laid down in colour under the shapes.
template <class DrawShapes>
void DrawGlowing(Canvas& canvas, Rgb colour, bool glow, const DrawShapes& draw)
{
    if (glow) {
        Canvas mask(canvas.width, canvas.height);
        draw(mask, Ink{White, 1.0f});
        std::vector<float> alpha(size_t(mask.width) * mask.height);
        for (size_t i = 0; i < alpha.size(); i++) alpha[i] = mask.px[i * 4 + 3];
        for (int pass = 0; pass < 3; pass++) {
            std::vector<float> blurred(alpha.size(), 0.0f);
            for (int y = 0; y < mask.height; y++)
                for (int x = 0; x < mask.width; x++) {
                    float sum = 0;
                    for (int dy = -1; dy <= 1; dy++)
                        for (int dx = -1; dx <= 1; dx++) {
                            int sx = x + dx, sy = y + dy;
                            if (sx >= 0 && sy >= 0 && sx < mask.width && sy < mask.height)
                                sum += alpha[size_t(sy) * mask.width + sx];
                        }
                    blurred[size_t(y) * mask.width + x] = sum / 9.0f;
                }
            alpha.swap(blurred);
        }
        for (int y = 0; y < canvas.height; y++)
            for (int x = 0; x < canvas.width; x++) canvas.Blend(x, y, colour, 0.55f * alpha[size_t(y) * canvas.width + x]);
    }
    draw(canvas, Ink{colour, 1.0f});
}

// ---- Labels -------------------------------------------------------------------------------

struct FontCloser {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
using FontHandle = std::unique_ptr<TTF_Font, FontCloser>;

struct Fonts {
    FontHandle single, pair, word, symbol, brand;
};

bool OpenFont(const char* path, int size, FontHandle& font)
{
    font.reset(TTF_OpenFont(path, size));
    if (!font) std::fprintf(stderr, "numbrix-make-skins: cannot open %s at %d px: %s\n", path, size, TTF_GetError());
    return bool(font);
}

enum class Align { Centre, Right };

// Sets text so that the box of its inked pixels is centred on (x, y), or ends at x and is
// centred on y; whole-pixel placement keeps the hinted outlines crisp.
void DrawText(Canvas& canvas, TTF_Font* font, const char* text, Rgb colour, float opacity, float x, float y,
              Align align = Align::Centre)
{
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text, SDL_Color{255, 255, 255, 255});
    if (!rendered) {
        std::fprintf(stderr, "numbrix-make-skins: cannot set \"%s\": %s\n", text, TTF_GetError());
        std::exit(1);
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!argb) {
        std::fprintf(stderr, "numbrix-make-skins: %s\n", SDL_GetError());
        std::exit(1);
    }
    auto alphaAt = [argb](int px, int py) {
        auto row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + py * argb->pitch);
        return (row[px] >> 24) / 255.0f;
    };
    int left = argb->w, top = argb->h, right = -1, bottom = -1;
    for (int py = 0; py < argb->h; py++)
        for (int px = 0; px < argb->w; px++)
            if (alphaAt(px, py) > 0) {
                left = std::min(left, px), right = std::max(right, px);
                top = std::min(top, py), bottom = std::max(bottom, py);
            }
    if (right >= 0) {
        int ox = align == Align::Centre ? int(std::lround(x - (left + right + 1) / 2.0f)) : int(std::lround(x)) - (right + 1);
        int oy = int(std::lround(y - (top + bottom + 1) / 2.0f));
        for (int py = top; py <= bottom; py++)
            for (int px = left; px <= right; px++) canvas.Blend(ox + px, oy + py, colour, alphaAt(px, py) * opacity);
    }
    SDL_FreeSurface(argb);
}

int CodePoints(const char* utf8)
{
    int count = 0;
    for (; *utf8; utf8++) count += (uint8_t(*utf8) & 0xC0) != 0x80;
    return count;
}

TTF_Font* LabelFont(const Fonts& fonts, int key)
{
    KeyKind kind = KindOfKey(key);
    if (kind == KindOperator || kind == KindEquals || kind == KindFunction || key == KeyBackspace)
        return fonts.symbol.get();
    switch (CodePoints(KeyLabels[key])) {
    case 1: return fonts.single.get();
    case 2: return fonts.pair.get();
    default: return fonts.word.get();
    }
}

// ---- Keys ---------------------------------------------------------------------------------

// Up: raised, with a shadow below, a highlight along the top and a sheen on the upper half.
// Down: sunk by the depth of the shadow, darker, lit from below, shaded along the top.
// Disabled: raised but faded into the body, its label faint.
void DrawKeyFace(Canvas& canvas, const SkinDesign& design, int key, KeyState state, const Fonts& fonts, Rgb body)
{
    const Palette& palette = design.palette;
    KeyColours colours = palette.keys[KindOfKey(key)];
    float w = float(canvas.width), h = float(canvas.height);
    float radius = std::min<float>(design.keyRadius, std::min(w, h) / 2);
    constexpr float Depth = 2.0f;
    float labelOpacity = 1.0f;

    if (state == Disabled) {
        colours.top = Mix(colours.top, body, 0.55f);
        colours.bottom = Mix(colours.bottom, body, 0.55f);
        colours.rim = Mix(colours.rim, body, 0.4f);
        labelOpacity = 0.32f;
    }
    if (state == Down) {
        Rgb top = colours.top;
        colours.top = Scale(colours.bottom, 0.86f);
        colours.bottom = Scale(top, 0.9f);
    }

    float sink = state == Down ? Depth : 0.0f;
    if (state != Down)
        FillRoundRect(canvas, {0, Depth, w, h - Depth, radius}, Ink{Black, state == Disabled ? 0.2f : 0.45f});
    RoundRect outline = {0, sink, w, h - Depth, radius};
    FillRoundRect(canvas, outline, Ink{colours.rim, 1.0f});
    RoundRect face = {1, sink + 1, w - 2, h - Depth - 2, std::max(radius - 1, 0.5f)};
    FillGradient(canvas, face, colours.top, colours.bottom);

    if (state == Down) {
        Fill(canvas, face.x, face.y, face.x + face.w, face.y + 3, face, [&](float, float y) {
            return Ink{Black, 0.22f * (1.0f - (y - face.y) / 3.0f)};
        });
    } else {
        float sheen = state == Disabled ? palette.gloss * 0.4f : palette.gloss;
        Fill(canvas, face.x, face.y, face.x + face.w, face.y + face.h / 2, face, [&](float, float y) {
            float t = (y - face.y) / (face.h / 2);
            return Ink{White, y < face.y + 1 ? 0.35f : sheen * (1.0f - t)};
        });
    }

    float cx = w / 2, cy = sink + 1 + (h - Depth - 2) / 2;
    if (KindOfKey(key) == KindMode) {
        float ledX = 7.0f, ledY = cy;
        bool lit = state == Down;
        if (lit) FillDisc(canvas, {ledX, ledY, 4.2f}, Ink{palette.ledOn, 0.3f});
        FillDisc(canvas, {ledX, ledY, 2.3f}, Ink{lit ? palette.ledOn : palette.ledOff, 1.0f});
        if (lit) FillDisc(canvas, {ledX - 0.5f, ledY - 0.6f, 0.9f}, Ink{White, 0.7f});
        cx += 3.5f;
    }

    TTF_Font* font = LabelFont(fonts, key);
    // An embossed edge below the label, in the contrary of the label's brightness.
    bool lightLabel = Luminance(colours.label) > 128;
    DrawText(canvas, font, KeyLabels[key], lightLabel ? Black : White, (lightLabel ? 0.3f : 0.6f) * labelOpacity, cx, cy + 1);
    DrawText(canvas, font, KeyLabels[key], colours.label, labelOpacity, cx, cy);
}

// ---- Display ------------------------------------------------------------------------------

// Segments a-g: top, upper right, lower right, bottom, lower left, upper left, middle.
enum : uint8_t { SegA = 1, SegB = 2, SegC = 4, SegD = 8, SegE = 16, SegF = 32, SegG = 64 };

uint8_t SegmentsOf(char c)
{
    switch (c) {
    case '0': return SegA | SegB | SegC | SegD | SegE | SegF;
    case '1': return SegB | SegC;
    case '2': return SegA | SegB | SegD | SegE | SegG;
    case '3': return SegA | SegB | SegC | SegD | SegG;
    case '4': return SegB | SegC | SegF | SegG;
    case '5': return SegA | SegC | SegD | SegF | SegG;
    case '6': return SegA | SegC | SegD | SegE | SegF | SegG;
    case '7': return SegA | SegB | SegC;
    case '8': return 0x7F;
    case '9': return SegA | SegB | SegC | SegD | SegF | SegG;
    case 'a': return SegA | SegB | SegC | SegE | SegF | SegG;
    case 'b': return SegC | SegD | SegE | SegF | SegG;
    case 'c': return SegA | SegD | SegE | SegF;
    case 'd': return SegB | SegC | SegD | SegE | SegG;
    case 'e': return SegA | SegD | SegE | SegF | SegG;
    case 'f': return SegA | SegE | SegF | SegG;
    case '-': return SegG;
    default: return 0;
    }
}

// The box the segments fill inside a glyph cell at (x, y); the slant leans it to the right.
struct SegmentBox {
    float left, right, top, bottom, stroke, slant;
};

SegmentBox GlyphBox(const Display& d, float x, float y)
{
    constexpr float Margin = 1.5f;
    float top = y + Margin, bottom = y + d.glyphHeight - Margin;
    return {x + Margin, x + d.glyphWidth - Margin - d.slant * (bottom - top), top, bottom, d.stroke, d.slant};
}

// Hexagonal segments with pointed ends, a small gap between neighbours.
std::array<Polygon, 7> SegmentShapes(const SegmentBox& b)
{
    float half = b.stroke / 2, gap = 0.7f;
    float middle = (b.top + b.bottom) / 2;
    auto lean = [&b](Point p) { return Point{p.x + b.slant * (b.bottom - p.y), p.y}; };
    auto horizontal = [&](float y) {
        float x0 = b.left + half + gap, x1 = b.right - half - gap;
        return Polygon{{lean({x0, y}), lean({x0 + half, y - half}), lean({x1 - half, y - half}), lean({x1, y}),
                        lean({x1 - half, y + half}), lean({x0 + half, y + half})}, 6};
    };
    auto vertical = [&](float x, float y0, float y1) {
        y0 += gap, y1 -= gap;
        return Polygon{{lean({x, y0}), lean({x + half, y0 + half}), lean({x + half, y1 - half}), lean({x, y1}),
                        lean({x - half, y1 - half}), lean({x - half, y0 + half})}, 6};
    };
    float top = b.top + half, bottom = b.bottom - half, left = b.left + half, right = b.right - half;
    return {horizontal(top), vertical(right, top, middle), vertical(right, middle, bottom), horizontal(bottom),
            vertical(left, middle, bottom), vertical(left, top, middle), horizontal(middle)};
}

void DrawSegments(Canvas& canvas, const SegmentBox& box, uint8_t segments, Ink ink)
{
    std::array<Polygon, 7> shapes = SegmentShapes(box);
    for (int s = 0; s < 7; s++)
        if (segments & (1 << s)) FillPolygon(canvas, shapes[s], ink);
}

void DrawPanel(Canvas& canvas, const SkinDesign& design, const Fonts& fonts)
{
    const Display& d = design.display;
    const Palette& palette = design.palette;
    float w = float(canvas.width), h = float(canvas.height);
    RoundRect face = {0, 0, w, h, 5};
    FillGradient(canvas, face, palette.panelTop, palette.panelBottom);
    // Shade along the top and left edge, as if the glass lay below the body.
    Fill(canvas, 0, 0, w, h, face, [&](float x, float y) {
        float shade = std::max(0.0f, 1.0f - y / 4.0f) * 0.28f + std::max(0.0f, 1.0f - x / 3.0f) * 0.12f;
        return Ink{Black, shade};
    });
    for (int i = 0; i < DisplayPositions; i++) {
        Rect position = PositionArea(design, i);
        DrawSegments(canvas, GlyphBox(d, float(position.x - d.panel.x), float(position.y - d.panel.y)), 0x7F,
                     Ink{palette.ink, palette.ghost});
    }
    if (d.brandSize > 0) {
        Rect first = PositionArea(design, 0);
        float right = float(first.x - d.panel.x + d.glyphWidth) - 1.5f;
        float middle = float(d.indicatorY - d.panel.y) + d.indicatorSize / 2.0f;
        DrawText(canvas, fonts.brand.get(), "NUMBRIX", palette.ink, 0.55f, right, middle, Align::Right);
    }
}

void DrawGlyph(Canvas& canvas, const SkinDesign& design, char c, Rgb colour)
{
    const Display& d = design.display;
    SegmentBox box = GlyphBox(d, 0, 0);
    DrawGlowing(canvas, colour, design.palette.glow, [&](Canvas& target, Ink ink) {
        if (c == '.') {
            float r = d.stroke * 0.7f;
            FillDisc(target, {1.5f + r, box.bottom - r, r}, ink);
        } else if (c == ',') {
            float r = d.stroke * 0.7f;
            float cx = 1.5f + r, cy = box.bottom - 2 * r;
            FillDisc(target, {cx, cy, r}, ink);
            FillPolygon(target, Polygon{{Point{cx + r, cy}, Point{cx - 0.3f * r, cy}, Point{cx - r, box.bottom + 1.2f}}, 3}, ink);
        } else {
            DrawSegments(target, box, SegmentsOf(c), ink);
        }
    });
}

void DrawIndicator(Canvas& canvas, const SkinDesign& design, int op)
{
    float s = float(canvas.width), c = s / 2, r = std::max(1.0f, s * 0.09f), m = 2.0f;
    DrawGlowing(canvas, design.palette.ink, design.palette.glow, [&](Canvas& target, Ink ink) {
        switch (op) {
        case OpAdd:
            FillCapsule(target, {m, c, s - m, c, r}, ink);
            FillCapsule(target, {c, m, c, s - m, r}, ink);
            break;
        case OpSubtract:
            FillCapsule(target, {m, c, s - m, c, r}, ink);
            break;
        case OpMultiply:
            FillCapsule(target, {m + 0.8f, m + 0.8f, s - m - 0.8f, s - m - 0.8f, r}, ink);
            FillCapsule(target, {s - m - 0.8f, m + 0.8f, m + 0.8f, s - m - 0.8f, r}, ink);
            break;
        case OpDivide:
            FillCapsule(target, {m, c, s - m, c, r}, ink);
            FillDisc(target, {c, m + 0.6f, r * 1.25f}, ink);
            FillDisc(target, {c, s - m - 0.6f, r * 1.25f}, ink);
            break;
        }
    });
}

// ---- Background ---------------------------------------------------------------------------

// A small fixed grain so that the body does not look like flat plastic.
float Grain(int x, int y)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xFF) / 255.0f - 0.5f;
}

Image DrawBackground(const SkinDesign& design)
{
    const Palette& palette = design.palette;
    const Rect& panel = design.display.panel;
    Canvas canvas(FaceWidth, FaceHeight);
    RoundRect all = {0, 0, float(FaceWidth), float(FaceHeight), 0};
    FillGradient(canvas, all, palette.bodyTop, palette.bodyBottom);
    FillRoundRect(canvas, {0, 0, float(FaceWidth), 1, 0}, Ink{White, 0.12f});
    // The display sits in a recess: a light lip below it, then the dark bezel.
    RoundRect lip = {panel.x - 3.0f, panel.y - 2.0f, panel.w + 6.0f, panel.h + 5.0f, 8};
    FillRoundRect(canvas, lip, Ink{White, 0.10f});
    RoundRect bezel = {panel.x - 3.0f, panel.y - 3.0f, panel.w + 6.0f, panel.h + 6.0f, 8};
    FillRoundRect(canvas, bezel, Ink{palette.bezel, 1.0f});

    Image image(FaceWidth, FaceHeight, Black);
    for (int y = 0; y < FaceHeight; y++)
        for (int x = 0; x < FaceWidth; x++) {
            const float* p = canvas.pixel(x, y);
            float grain = Grain(x, y) * 2.5f / 255.0f;
            image.at(x, y) = {uint8_t(std::clamp(std::lround((p[0] + grain) * 255), 0L, 255L)),
                              uint8_t(std::clamp(std::lround((p[1] + grain) * 255), 0L, 255L)),
                              uint8_t(std::clamp(std::lround((p[2] + grain) * 255), 0L, 255L))};
        }
    return image;
}

// ---- Parts --------------------------------------------------------------------------------

void PlaceCell(Image& parts, const Rect& cell, const Canvas& layer, const Image& underlay)
{
    for (int y = 0; y < cell.h; y++)
        for (int x = 0; x < cell.w; x++) {
            const float* p = layer.pixel(x, y);
            parts.at(cell.x + x, cell.y + y) = PartsPixel(p, p[3], underlay.at(x, y));
        }
}

constexpr char DisplayCharacters[] = "0123456789abcdef.-,";

}  // namespace

bool DrawSkin(const SkinDesign& design, const char* fontPath, SkinImages& images)
{
    Fonts fonts;
    int single = design.labelSize, word = design.wordLabelSize;
    if (!OpenFont(fontPath, single, fonts.single) || !OpenFont(fontPath, (single + word) / 2 + 1, fonts.pair) ||
        !OpenFont(fontPath, word, fonts.word) || !OpenFont(fontPath, single + 5, fonts.symbol) ||
        !OpenFont(fontPath, std::max(design.display.brandSize, 6), fonts.brand))
        return false;

    CellPlan plan = PlanCells(design);
    Rect areas[AreaCount];
    PlanAreas(design, areas);
    for (int c = 0; c < CellCount; c++) {
        const Rect& r = plan.cells[c];
        if (r.x < 0 || r.y < 0 || r.w <= 0 || r.h <= 0 || r.x + r.w > plan.width || r.y + r.h > plan.height) {
            std::fprintf(stderr, "numbrix-make-skins: cell %d of skin %s lies outside its parts image\n", c, design.name);
            return false;
        }
    }
    images.background = DrawBackground(design);
    Image& parts = images.parts = Image(plan.width, plan.height, TransparentColour);
    const Rect* cells = plan.cells;

    for (int k = 0; k < KeyCount; k++) {
        const Rect& area = areas[k];
        Image underlay = Crop(images.background, area, design.palette.bodyBottom);
        Rgb body = images.background.at(std::min(area.x + area.w / 2, FaceWidth - 1), std::min(area.y + area.h / 2, FaceHeight - 1));
        for (KeyState state : {Up, Down, Disabled}) {
            Canvas layer(area.w, area.h);
            DrawKeyFace(layer, design, k, state, fonts, body);
            PlaceCell(parts, cells[KeyTable[k].cell[state]], layer, underlay);
        }
    }

    const Rect& panel = design.display.panel;
    Canvas panelLayer(panel.w, panel.h);
    DrawPanel(panelLayer, design, fonts);
    PlaceCell(parts, cells[CellPanel], panelLayer, Crop(images.background, panel, design.palette.bezel));

    // Glyphs and indicators are smoothed against the panel as the painter will show it.
    Image face = images.background;
    DrawCell(parts, cells[CellPanel], face, panel.x, panel.y, true);
    Rect first = PositionArea(design, 0);
    auto glyph = [&](int cell, char c, Rgb colour) {
        const Rect& size = cells[cell];
        Canvas layer(size.w, size.h);
        DrawGlyph(layer, design, c, colour);
        PlaceCell(parts, size, layer, Crop(face, {first.x, first.y, size.w, size.h}, design.palette.panelBottom));
    };
    for (const char* c = DisplayCharacters; *c; c++) glyph(GlyphCell(char16_t(*c)), *c, design.palette.ink);
    glyph(CellErrorSign, 'e', design.palette.errorInk);

    Rect indicator = IndicatorArea(design);
    Image indicatorUnderlay = Crop(face, indicator, design.palette.panelTop);
    for (int op = OpAdd; op <= OpDivide; op++) {
        Canvas layer(indicator.w, indicator.h);
        DrawIndicator(layer, design, op);
        PlaceCell(parts, cells[IndicatorCell(OpCode(op))], layer, indicatorUnderlay);
    }
    return true;
}

}  // namespace skins
