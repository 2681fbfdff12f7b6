// Where things lie: cells on the parts image, key areas on the face, keys over keys
// (which key a press acts on, and keys that cannot be pressed), and the display.
#include "engine/key_table.h"
#include "skin/check/key_words.h"
#include "skin/check/skin_check_internal.h"

#include <algorithm>

namespace skintool {

namespace {

constexpr RadixMode Modes[] = {Hex, Dec, Bin};

bool CornerOnFace(const Area& r)
{
    return r.x >= 0 && r.y >= 0 && r.x < FaceBox.right && r.y < FaceBox.bottom;
}

bool HasSize(const EntryFacts& entry)
{
    return entry.complete && entry.rect.width > 0 && entry.rect.height > 0;
}

std::string Line(int line)
{
    return line > 0 ? ", line " + std::to_string(line) : "";
}

std::string ModeList(const std::vector<RadixMode>& modes)
{
    std::string text;
    for (size_t i = 0; i < modes.size(); ++i) {
        if (i > 0) text += i + 1 == modes.size() ? " and " : ", ";
        text += ModeName(modes[i]);
    }
    return text + (modes.size() == 1 ? " mode" : " modes");
}

// The areas as the calculator would hold them, with nothing where the skin gives no area.
void FaceAreas(const SkinFacts& facts, Area areas[AreaCount])
{
    for (int a = 0; a < AreaCount; ++a) areas[a] = facts.areas[a].complete ? facts.areas[a].rect : Area{0, 0, 0, 0};
}

// The part of a cell that is not of the transparent colour, relative to the cell's top-left
// corner; the whole cell when the parts image is not known. Empty when nothing shows.
Box InkOfCell(const SkinFacts& facts, int cell)
{
    const EntryFacts& entry = facts.cells[cell];
    if (!HasSize(entry)) return Box{0, 0, 0, 0};
    const Area& r = entry.rect;
    const Picture& parts = facts.parts;
    if (!parts.loaded) return Box{0, 0, r.width, r.height};
    Box visible = Intersect(BoxOf(r), Box{0, 0, parts.width, parts.height});
    Box ink = {INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    for (int64_t y = visible.top; y < visible.bottom; ++y) {
        for (int64_t x = visible.left; x < visible.right; ++x) {
            if (parts.at(int(x), int(y)) == TransparentPixel) continue;
            ink = Box{std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1), std::max(ink.bottom, y + 1)};
        }
    }
    if (ink.Empty()) return Box{0, 0, 0, 0};
    return Box{ink.left - r.x, ink.top - r.y, ink.right - r.x, ink.bottom - r.y};
}

Box Union(const Box& a, const Box& b)
{
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

Box Shifted(const Box& box, const Area& at)
{
    return Box{box.left + at.x, box.top + at.y, box.right + at.x, box.bottom + at.y};
}

// What every display character may cover at a position, relative to the position: all glyphs'
// visible parts together.
Box GlyphInk(const SkinFacts& facts)
{
    Box ink = {0, 0, 0, 0};
    for (int cell = CellFirstDigit; cell < CellFirstIndicator; ++cell)
        if (cell != CellErrorSign) ink = Union(ink, InkOfCell(facts, cell));
    return ink;
}

// The display panel as it is drawn at its area's corner; empty when the area or the cell gives
// no size.
Box PanelBox(const SkinFacts& facts)
{
    const EntryFacts& area = facts.areas[AreaPanel];
    const EntryFacts& cell = facts.cells[CellPanel];
    if (!area.complete || !HasSize(cell)) return Box{0, 0, 0, 0};
    return Shifted(Box{0, 0, cell.rect.width, cell.rect.height}, area.rect);
}

std::vector<int> CoveringKeys(const Area areas[AreaCount], int key, const std::vector<RadixMode>& modes)
{
    std::vector<int> keys;
    Box box = Intersect(BoxOf(areas[key]), FaceBox);
    for (int lower = 0; lower < key; ++lower) {
        bool enabled = false;
        for (RadixMode mode : modes) enabled = enabled || IsKeyEnabled(lower, mode);
        if (enabled && !Intersect(box, BoxOf(areas[lower])).Empty()) keys.push_back(lower);
    }
    return keys;
}

void CheckReachable(SkinFacts& facts, const Area areas[AreaCount], int key)
{
    std::vector<RadixMode> enabledModes, unreachable;
    for (RadixMode mode : Modes) {
        if (!IsKeyEnabled(key, mode)) continue;
        enabledModes.push_back(mode);
        KeyState states[KeyCount];
        ModeKeyStates(mode, states);
        FacePoint point;
        if (!FindPressPoint(key, states, areas, &point)) unreachable.push_back(mode);
    }
    if (unreachable.empty()) return;
    std::string coverers;
    for (int lower : CoveringKeys(areas, key, unreachable))
        coverers += (coverers.empty() ? "" : ", ") + AreaKey(lower) + " (" + KeyDescription(lower) + ")";
    std::string when = unreachable.size() == enabledModes.size() ? "can never be pressed"
                                                                 : "cannot be pressed in " + ModeList(unreachable);
    facts.Error(facts.areas[key].line, AreaKey(key),
                "the " + KeyDescription(key) + " key " + when + ": keys of lower area numbers cover all of it (" +
                    coverers + ")");
}

void CheckOverlap(SkinFacts& facts, const Area areas[AreaCount], int lower, int upper)
{
    Box shared = Intersect(Intersect(BoxOf(areas[lower]), BoxOf(areas[upper])), FaceBox);
    if (shared.Empty()) return;
    std::vector<RadixMode> both, upperWins;
    for (RadixMode mode : Modes) {
        bool lowerOn = IsKeyEnabled(lower, mode), upperOn = IsKeyEnabled(upper, mode);
        if (lowerOn && upperOn) both.push_back(mode);
        if (!lowerOn && upperOn) upperWins.push_back(mode);
    }
    std::string lowerName = "the " + KeyDescription(lower) + " key", upperName = "the " + KeyDescription(upper) + " key";
    std::string start = upperName + " overlaps " + AreaKey(lower) + " (" + lowerName + Line(facts.areas[lower].line) +
                        ") at " + BoxText(shared);
    if (both.empty()) {
        facts.Warning(facts.areas[upper].line, AreaKey(upper),
                      start + "; no mode uses both keys, but " + upperName + " is drawn over " + lowerName + " there");
        return;
    }
    std::string text = start + ": a press there acts on " + lowerName + ", the lower area number, although " +
                       upperName + " is drawn over it";
    if (!upperWins.empty())
        text += " (in " + ModeList(upperWins) + ", where " + lowerName + " is disabled, on " + upperName + ")";
    facts.Error(facts.areas[upper].line, AreaKey(upper), text);
}

}  // namespace

void CheckCells(SkinFacts& facts)
{
    const Picture& parts = facts.parts;
    for (int cell = 0; cell < CellCount; ++cell) {
        const EntryFacts& entry = facts.cells[cell];
        if (!entry.complete) continue;
        bool neverDrawn = CellNeverDrawn(cell);
        auto report = [&](const std::string& text) {
            std::string full = "the " + CellRole(cell) + " " + text;
            if (neverDrawn) facts.Warning(entry.line, CellKey(cell), full + " (the calculator never draws this cell)");
            else facts.Error(entry.line, CellKey(cell), full);
        };
        const Area& r = entry.rect;
        if (r.width == 0) {
            report("has width 0, which draws the whole parts image");
        } else if (r.width < 0 || r.height <= 0) {
            report("has no size (" + std::to_string(r.width) + "x" + std::to_string(r.height) + "), so nothing is drawn");
        } else if (parts.loaded && !Inside(BoxOf(r), Box{0, 0, parts.width, parts.height})) {
            report("at " + RectText(r) + " lies outside the parts image, which is " + std::to_string(parts.width) + "x" +
                   std::to_string(parts.height));
        }
    }
}

void CheckAreas(SkinFacts& facts)
{
    for (int key = 0; key < KeyCount; ++key) {
        const EntryFacts& entry = facts.areas[key];
        if (!entry.complete) continue;
        const Area& r = entry.rect;
        std::string name = "the " + KeyDescription(key) + " key";
        Box box = BoxOf(r);
        if (r.width <= 0 || r.height <= 0)
            facts.Error(entry.line, AreaKey(key),
                        name + " has no size (" + std::to_string(r.width) + "x" + std::to_string(r.height) +
                            "), so it can never be pressed");
        else if (Intersect(box, FaceBox).Empty())
            facts.Error(entry.line, AreaKey(key),
                        name + " at " + RectText(r) + " lies outside the " + FaceSizeText() + " face: it can be neither seen nor pressed");
        else if (!Inside(box, FaceBox))
            facts.Error(entry.line, AreaKey(key),
                        name + " at " + RectText(r) + " reaches beyond the " + FaceSizeText() + " face; that part can be neither "
                               "seen nor pressed");
    }
}

// The panel, the display positions and the indicator use only their top-left corner.
void CheckCornerAreas(SkinFacts& facts)
{
    for (int a = AreaPanel; a < AreaCount; ++a) {
        const EntryFacts& entry = facts.areas[a];
        if (!entry.complete) continue;
        const Area& r = entry.rect;
        if (!CornerOnFace(r))
            facts.Error(entry.line, AreaKey(a), "the corner " + std::to_string(r.x) + "," + std::to_string(r.y) + " of the " +
                                                    AreaRole(a) + " lies outside the " + FaceSizeText() + " face; what is drawn there is cut off");
        else if (r.width > 0 && r.height > 0 && !Inside(BoxOf(r), FaceBox))
            facts.Warning(entry.line, AreaKey(a),
                          "the " + AreaRole(a) + " at " + RectText(r) + " reaches beyond the " + FaceSizeText() + " face (the "
                          "calculator uses only its top-left corner here)");
    }
}

void CheckKeyOverlaps(SkinFacts& facts)
{
    Area areas[AreaCount];
    FaceAreas(facts, areas);
    for (int upper = 0; upper < KeyCount; ++upper) {
        if (!HasSize(facts.areas[upper])) continue;
        for (int lower = 0; lower < upper; ++lower)
            if (HasSize(facts.areas[lower])) CheckOverlap(facts, areas, lower, upper);
    }
    for (int key = 0; key < KeyCount; ++key)
        if (HasSize(facts.areas[key]) && !Intersect(BoxOf(areas[key]), FaceBox).Empty()) CheckReachable(facts, areas, key);
}

void CheckPanel(SkinFacts& facts)
{
    const EntryFacts& panelArea = facts.areas[AreaPanel];
    Box panel = PanelBox(facts);
    if (!panel.Empty() && CornerOnFace(panelArea.rect) && !Inside(panel, FaceBox))
        facts.Error(panelArea.line, AreaKey(AreaPanel),
                    "the display panel drawn at " + BoxText(panel) + " reaches beyond the " + FaceSizeText() + " face");
}

void CheckDisplayPositions(SkinFacts& facts)
{
    Box panel = PanelBox(facts);
    Box ink = GlyphInk(facts);
    bool orderReported = false;
    for (int p = 0; p < DisplayPositions && !ink.Empty(); ++p) {
        const EntryFacts& entry = facts.areas[AreaFirstPosition + p];
        if (!entry.complete) continue;
        std::string key = AreaKey(AreaFirstPosition + p);
        Box at = Shifted(ink, entry.rect);
        bool onFace = CornerOnFace(entry.rect);   // a corner off the face is told with the area itself
        if (onFace && !Inside(at, FaceBox))
            facts.Error(entry.line, key, "characters at display position " + std::to_string(p) + " cover " + BoxText(at) +
                                             ", beyond the " + FaceSizeText() + " face");
        else if (onFace && !panel.Empty() && !Inside(at, panel))
            facts.Error(entry.line, key, "characters at display position " + std::to_string(p) + " cover " + BoxText(at) +
                                             ", outside the display panel at " + BoxText(panel));
        for (int q = 0; q < p; ++q) {
            const EntryFacts& other = facts.areas[AreaFirstPosition + q];
            if (!other.complete) continue;
            Box shared = Intersect(at, Shifted(ink, other.rect));
            if (shared.Empty()) continue;
            facts.Error(entry.line, key, "characters at display position " + std::to_string(p) + " overlap those at position " +
                                             std::to_string(q) + " (" + AreaKey(AreaFirstPosition + q) + Line(other.line) +
                                             ") at " + BoxText(shared));
            break;
        }
        if (p == 0 || orderReported) continue;
        const EntryFacts& right = facts.areas[AreaFirstPosition + p - 1];
        if (right.complete && entry.rect.x >= right.rect.x) {
            orderReported = true;
            facts.Warning(entry.line, key, "display position " + std::to_string(p) + " is not left of position " +
                                               std::to_string(p - 1) + ", so the text does not read from left to right");
        }
    }
}

void CheckErrorSign(SkinFacts& facts)
{
    const EntryFacts& first = facts.areas[AreaFirstPosition];
    Box errorInk = InkOfCell(facts, CellErrorSign);
    if (!first.complete || errorInk.Empty() || !CornerOnFace(first.rect)) return;
    Box panel = PanelBox(facts);
    Box at = Shifted(errorInk, first.rect);
    if (!Inside(at, FaceBox))
        facts.Error(first.line, AreaKey(AreaFirstPosition),
                    "the error sign drawn at " + BoxText(at) + " reaches beyond the " + FaceSizeText() + " face");
    else if (!panel.Empty() && !Inside(at, panel))
        facts.Warning(first.line, AreaKey(AreaFirstPosition),
                      "the error sign drawn at " + BoxText(at) + " lies outside the display panel at " + BoxText(panel));
}

void CheckOperatorIndicators(SkinFacts& facts)
{
    const EntryFacts& indicator = facts.areas[AreaOperator];
    if (!indicator.complete || !CornerOnFace(indicator.rect)) return;
    Box indicators = {0, 0, 0, 0};
    std::string beyond;
    for (int cell = CellFirstIndicator; cell < CellCount; ++cell) {
        if (!HasSize(facts.cells[cell])) continue;
        Box at = Shifted(Box{0, 0, facts.cells[cell].rect.width, facts.cells[cell].rect.height}, indicator.rect);
        if (Inside(at, FaceBox)) continue;
        indicators = Union(indicators, at);
        beyond += (beyond.empty() ? "" : ", ") + CellKey(cell);
    }
    if (!beyond.empty())
        facts.Error(indicator.line, AreaKey(AreaOperator),
                    "the operator indicators drawn here (" + beyond + ") cover " + BoxText(indicators) +
                        ", beyond the " + FaceSizeText() + " face");
}

}  // namespace skintool
