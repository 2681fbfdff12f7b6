#include "tools/skin_tool/skin_guide.h"

#include "engine/key_names.h"
#include "platform/font.h"
#include "platform/headless.h"
#include "tools/skin_tool/calculator_session.h"
#include "skin/check/skin_check_internal.h"
#include "tools/skin_tool/skin_render.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace skintool {

namespace {

constexpr int Margin = 8, CaptionHeight = 10, Gap = 24;   // skin pixels
constexpr uint32_t Ground = 0x202020;
constexpr uint32_t CaptionColour = 0xE0E0E0;

// What a rectangle is, and the same in brief for a rectangle too narrow for that ("3" for
// "display 3").
struct Label {
    std::string full, brief;
};

// An outline to draw and the labels of everything that shares its rectangle.
struct Mark {
    uint32_t colour = 0;
    bool fault = false;
    std::vector<Label> labels;
};
using MarkedRects = std::map<std::tuple<int, int, int, int>, Mark>;

void AddMark(MarkedRects& marks, const Area& r, uint32_t colour, bool fault, const Label& label)
{
    Mark& mark = marks[{r.x, r.y, r.width, r.height}];
    if (mark.labels.empty()) mark.colour = colour;
    mark.fault = mark.fault || fault;
    mark.labels.push_back(label);
}

Label CellLabel(int cell)
{
    static const char* const looks[] = {" up", " down", " disabled"};
    static const char* const briefLooks[] = {"", " dn", " dis"};
    static const char* const indicators[] = {"plus", "minus", "times", "divide"};
    static const char* const signs[] = {"+", "-", "x", "/"};
    if (cell < CellPanel) {
        std::string key = KeyName(KeyOfFace(cell % FaceCount));
        return {key + looks[cell / FaceCount], key + briefLooks[cell / FaceCount]};
    }
    if (cell == CellPanel) return {"panel", "panel"};
    if (cell == CellErrorSign) return {"error sign", "err"};
    if (cell >= CellFirstIndicator)
        return {indicators[cell - CellFirstIndicator] + std::string(" indicator"), signs[cell - CellFirstIndicator]};
    char glyph = cell < CellErrorSign    ? char('0' + cell - CellFirstDigit)
                 : cell < CellFirstLetter ? ".-,"[cell - CellPoint]
                                          : char('a' + cell - CellFirstLetter);
    return {std::string("display ") + glyph, std::string(1, glyph)};
}

uint32_t CellColour(int cell)
{
    if (cell < CellFirstDown) return GuideUpColour;
    if (cell < CellFirstDisabled) return GuideDownColour;
    if (cell < CellPanel) return GuideDisabledColour;
    return cell < CellFirstIndicator ? GuideDisplayColour : GuideIndicatorColour;
}

Label AreaLabel(int area)
{
    if (area < KeyCount) return {KeyName(area), KeyName(area)};
    if (area == AreaPanel) return {"panel", "panel"};
    if (area == AreaOperator) return {"indicator", "op"};
    std::string position = std::to_string(area - AreaFirstPosition);
    return {"position " + position, position};
}

// The largest of some cells, for the areas that use only their corner: what is drawn there.
Area LargestCell(const SkinFacts& facts, std::initializer_list<std::pair<int, int>> ranges)
{
    Area size = {0, 0, 0, 0};
    for (auto [first, last] : ranges)
        for (int cell = first; cell <= last; ++cell) {
            if (!facts.cells[cell].complete) continue;
            size.width = std::max(size.width, facts.cells[cell].rect.width);
            size.height = std::max(size.height, facts.cells[cell].rect.height);
        }
    return size;
}

// An area's rectangle on the face: a key's own; for the others, what the calculator draws at
// their corner.
Area AreaBox(const SkinFacts& facts, int area)
{
    const Area& r = facts.areas[area].rect;
    if (area < KeyCount) return r;
    Area size = area == AreaPanel      ? LargestCell(facts, {{CellPanel, CellPanel}})
                : area == AreaOperator ? LargestCell(facts, {{CellFirstIndicator, CellCount - 1}})
                : area == AreaFirstPosition
                    ? LargestCell(facts, {{CellFirstDigit, CellErrorSign}, {CellPoint, CellFirstIndicator - 1}})
                    : LargestCell(facts, {{CellFirstDigit, CellErrorSign - 1}, {CellPoint, CellFirstIndicator - 1}});
    return Area{r.x, r.y, size.width, size.height};
}

std::set<std::string> FaultedKeys(const CheckReport& report)
{
    std::set<std::string> keys;
    for (const Finding& finding : report.findings)
        if (!finding.key.empty()) keys.insert(finding.key);
    return keys;
}

class GuideCanvas {
public:
    GuideCanvas(const GuideLayout& layout) : layout_(layout) { picture_.Resize(layout.width, layout.height, Ground); }

    void Place(const PixelBuffer& image, int left, int top)
    {
        PixelBuffer large = Enlarged(image, layout_.scale);
        for (int y = 0; y < large.height; ++y)
            for (int x = 0; x < large.width; ++x) Plot(left + x, top + y, large.pixels[size_t(y) * size_t(large.width) + size_t(x)]);
    }

    void Caption(int left, int top, const std::string& text)
    {
        RenderText(picture_, left, top, Utf16Of(text), 6 * layout_.scale, CaptionColour);
    }

    // Outlines in their colour first, faults in red over them, then the labels.
    void Draw(const MarkedRects& marks, int left, int top)
    {
        for (bool faults : {false, true})
            for (const auto& [rect, mark] : marks)
                if (mark.fault == faults) Outline(Scaled(rect, left, top), faults ? GuideFaultColour : mark.colour);
        for (const auto& [rect, mark] : marks)
            Label(Scaled(rect, left, top), mark.labels, mark.fault ? GuideFaultColour : mark.colour);
    }

    const PixelBuffer& Picture() const { return picture_; }

private:
    GuideLayout layout_;
    PixelBuffer picture_;

    void Plot(int64_t x, int64_t y, uint32_t colour)
    {
        if (x >= 0 && y >= 0 && x < picture_.width && y < picture_.height)
            picture_.pixels[size_t(y) * size_t(picture_.width) + size_t(x)] = colour;
    }

    Box Scaled(const std::tuple<int, int, int, int>& rect, int left, int top) const
    {
        auto [x, y, w, h] = rect;
        int64_t s = layout_.scale;
        return Box{left + x * s, top + y * s, left + (int64_t(x) + w) * s, top + (int64_t(y) + h) * s};
    }

    // The rectangle's own border pixels, cut to the picture.
    void Outline(const Box& box, uint32_t colour)
    {
        if (box.Empty()) return;
        Box shown = Intersect(box, Box{-1, -1, picture_.width + 1, picture_.height + 1});
        for (int64_t x = shown.left; x < shown.right; ++x) {
            Plot(x, box.top, colour);
            Plot(x, box.bottom - 1, colour);
        }
        for (int64_t y = shown.top; y < shown.bottom; ++y) {
            Plot(box.left, y, colour);
            Plot(box.right - 1, y, colour);
        }
    }

    // One label a line from the rectangle's top-left corner, inside it, over a dark shadow.
    void Label(const Box& box, const std::vector<struct Label>& labels, uint32_t colour)
    {
        Box inside = Intersect(Box{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1},
                               Box{0, 0, picture_.width, picture_.height});
        if (inside.Empty()) return;
        RECT clip{LONG(inside.left), LONG(inside.top), LONG(inside.right), LONG(inside.bottom)};
        int size = 5 * layout_.scale, lineHeight = TextLineHeight(size);
        int y = int(inside.top);
        for (const struct Label& label : labels) {
            std::u16string text = Utf16Of(label.full);
            if (TextWidth(text, size) + 2 > inside.right - inside.left) text = Utf16Of(label.brief);
            RenderText(picture_, int(inside.left) + 2, y + 1, text, size, 0x000000, &clip);
            RenderText(picture_, int(inside.left) + 1, y, text, size, colour, &clip);
            y += lineHeight;
            if (y >= inside.bottom) break;
        }
    }
};

// The parts image's size when it decodes, else the extent of the cells.
void PartsSize(const SkinFacts& facts, int* width, int* height)
{
    *width = facts.parts.loaded ? facts.parts.width : 1;
    *height = facts.parts.loaded ? facts.parts.height : 1;
    if (facts.parts.loaded) return;
    for (const EntryFacts& cell : facts.cells) {
        if (!cell.complete) continue;
        *width = int(std::clamp<int64_t>(int64_t(cell.rect.x) + cell.rect.width, *width, 2048));
        *height = int(std::clamp<int64_t>(int64_t(cell.rect.y) + cell.rect.height, *height, 2048));
    }
}

PixelBuffer PictureOf(const Picture& image)
{
    PixelBuffer buffer;
    if (!image.loaded) return buffer;
    buffer.width = image.width;
    buffer.height = image.height;
    buffer.pixels = image.pixels;
    return buffer;
}

}  // namespace

GuideLayout LayoutGuide(int partsWidth, int partsHeight, int scale)
{
    GuideLayout layout;
    layout.scale = scale;
    layout.partsLeft = Margin * scale;
    layout.partsTop = layout.faceTop = (Margin + CaptionHeight) * scale;
    layout.faceLeft = (Margin + partsWidth + Gap) * scale;
    layout.width = layout.faceLeft + (FaceWidth + Margin) * scale;
    layout.height = layout.partsTop + (std::max(partsHeight, FaceHeight) + Margin) * scale;
    return layout;
}

int WriteGuide(const SkinLocation& location, const std::string& outPath, int scale)
{
    // The face at start, when the calculator loads the skin; its background image otherwise.
    PixelBuffer face;
    SkinFacts facts;
    CheckReport report = CheckSkin(
        location,
        [&](std::u16string* message) {
            CalculatorSession session;
            if (!session.Start(location, message)) return false;
            face = session.Face();
            return true;
        },
        &facts);
    if (face.pixels.empty()) face = PictureOf(facts.background);
    std::set<std::string> faulted = FaultedKeys(report);

    MarkedRects cells, areas;
    for (int cell = 0; cell < CellCount; ++cell)
        if (facts.cells[cell].complete)
            AddMark(cells, facts.cells[cell].rect, CellColour(cell), faulted.count(CellKey(cell)) > 0, CellLabel(cell));
    for (int area = 0; area < AreaCount; ++area) {
        if (!facts.areas[area].complete) continue;
        uint32_t colour = area < KeyCount ? GuideUpColour : area == AreaOperator ? GuideIndicatorColour : GuideDisplayColour;
        AddMark(areas, AreaBox(facts, area), colour, faulted.count(AreaKey(area)) > 0, AreaLabel(area));
    }

    int partsWidth, partsHeight;
    PartsSize(facts, &partsWidth, &partsHeight);
    GuideLayout layout = LayoutGuide(partsWidth, partsHeight, scale);
    GuideCanvas canvas(layout);
    canvas.Place(PictureOf(facts.parts), layout.partsLeft, layout.partsTop);
    canvas.Place(face, layout.faceLeft, layout.faceTop);
    canvas.Caption(layout.partsLeft, Margin * scale, "parts image: cells");
    canvas.Caption(layout.faceLeft, Margin * scale, "face: areas (red: numbrix-skin check finds fault)");
    canvas.Draw(cells, layout.partsLeft, layout.partsTop);
    canvas.Draw(areas, layout.faceLeft, layout.faceTop);
    if (report.errors + report.warnings > 0)
        std::fprintf(stderr, "numbrix-skin: what is outlined in red has faults; numbrix-skin check %s tells them\n",
                     location.hostPath.c_str());
    if (WritePng(canvas.Picture(), outPath)) return 0;
    std::fprintf(stderr, "numbrix-skin: cannot write %s\n", outPath.c_str());
    return 1;
}

}  // namespace skintool
