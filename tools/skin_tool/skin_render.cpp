#include "tools/skin_tool/skin_render.h"

#include "platform/font.h"
#include "platform/headless.h"
#include "tools/skin_tool/calculator_session.h"

#include <cstdio>
#include <sstream>

namespace skintool {

namespace {

// Presses the words in order, as a person with a stylus would; notes a press that the calculator
// would ignore. The mode at each press decides what "c" stands for.
void PressWords(CalculatorSession& session, const std::vector<std::string>& words)
{
    for (const std::string& word : words) {
        KeyWord key;
        if (!ParseKeyWord(word, session.Mode(), &key)) continue;
        switch (session.PressKey(key)) {
        case CalculatorSession::Press::Done: break;
        case CalculatorSession::Press::Disabled:
            std::fprintf(stderr, "numbrix-skin: note: \"%s\": the %s key is disabled in %s mode; the press does nothing\n",
                         word.c_str(), KeyDescription(key.key).c_str(), ModeName(session.Mode()).c_str());
            break;
        case CalculatorSession::Press::Unreachable:
            std::fprintf(stderr,
                         "numbrix-skin: note: \"%s\": no point of the face presses the %s key on this skin "
                         "(numbrix-skin check tells why); skipped\n",
                         word.c_str(), KeyDescription(key.key).c_str());
            break;
        }
    }
}

void ReportNotLoaded(const SkinLocation& location, const std::u16string& message)
{
    std::fprintf(stderr, "numbrix-skin: the calculator does not load %s; it shows \"%s\" (numbrix-skin check lists "
                         "the problems)\n",
                 location.hostPath.c_str(), Utf8Of(message).c_str());
}

void ReportNotWritten(const std::string& outPath)
{
    std::fprintf(stderr, "numbrix-skin: cannot write %s\n", outPath.c_str());
}

constexpr int SheetGap = 8;
constexpr SheetStyle AllStatesStyle = {8, 18, 0x505050};
constexpr uint32_t CaptionColour = 0xFFFFFF;

void Place(PixelBuffer& sheet, const PixelBuffer& face, int left, int top)
{
    for (int y = 0; y < face.height; ++y)
        for (int x = 0; x < face.width; ++x)
            sheet.pixels[size_t(top + y) * size_t(sheet.width) + size_t(left + x)] =
                face.pixels[size_t(y) * size_t(face.width) + size_t(x)];
}

}  // namespace

bool SplitKeySequence(const std::string& sequence, std::vector<std::string>* words, std::string* unknown)
{
    std::istringstream stream(sequence);
    std::string word;
    while (stream >> word) {
        if (!IsKeyWord(word)) {
            *unknown = word;
            return false;
        }
        words->push_back(word);
    }
    return true;
}

PixelBuffer Enlarged(const PixelBuffer& picture, int scale)
{
    if (scale == 1) return picture;
    PixelBuffer large;
    large.Resize(picture.width * scale, picture.height * scale);
    for (int y = 0; y < large.height; ++y)
        for (int x = 0; x < large.width; ++x)
            large.pixels[size_t(y) * size_t(large.width) + size_t(x)] =
                picture.pixels[size_t(y / scale) * size_t(picture.width) + size_t(x / scale)];
    return large;
}

int RenderFace(const SkinLocation& location, const std::vector<std::string>& words, const std::string& outPath,
               int scale)
{
    CalculatorSession session;
    std::u16string message;
    if (!session.Start(location, &message)) {
        ReportNotLoaded(location, message);
        return 1;
    }
    PressWords(session, words);
    if (WritePng(Enlarged(session.Face(), scale), outPath)) return 0;
    ReportNotWritten(outPath);
    return 1;
}

std::vector<SheetFace> SheetFaces()
{
    std::vector<SheetFace> faces = {
        {"decimal, add", "1 2 3 4 5 6 7 8 +"},
        {"decimal, subtract", "9 0 . 5 sign -"},
        {"hexadecimal, multiply", "hex a b c d e f 1 2 *"},
        {"binary, divide", "bin 1 0 1 /"},
        {"error", "9 9 9 9 9 9 9 9 * 9 ="},
    };
    const char* decimalKeys[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "point", "sign",
                                 "add", "sub", "mul", "div", "eq", "ac", "ce", "bs"};
    for (const char* key : decimalKeys) faces.push_back({std::string("held: ") + key, std::string("down:") + key});
    for (const char* key : {"a", "b", "c", "d", "e", "f"})
        faces.push_back({std::string("held: ") + key, std::string("hex down:") + key});
    return faces;
}

SheetResult WriteSheet(const SkinLocation& location, const std::vector<SheetFace>& faces, const SheetStyle& style,
                       const std::string& outPath, std::u16string* loaderMessage, int scale)
{
    int rows = (int(faces.size()) + style.columns - 1) / style.columns;
    int rowHeight = FaceHeight + style.captionHeight + SheetGap;
    PixelBuffer sheet;
    sheet.Resize(SheetGap + style.columns * (FaceWidth + SheetGap), SheetGap + rows * rowHeight, style.ground);
    for (size_t i = 0; i < faces.size(); ++i) {
        CalculatorSession session;
        if (!session.Start(location, loaderMessage)) return SheetResult::SkinNotLoaded;
        std::vector<std::string> words;
        std::string unknown;
        SplitKeySequence(faces[i].keys, &words, &unknown);
        PressWords(session, words);
        int left = SheetGap + int(i % size_t(style.columns)) * (FaceWidth + SheetGap);
        int top = SheetGap + int(i / size_t(style.columns)) * rowHeight;
        Place(sheet, session.Face(), left, top);
        if (style.captionHeight > 0)
            RenderText(sheet, left + 2, top + FaceHeight + 2, Utf16Of(faces[i].caption), 12, CaptionColour);
    }
    return WritePng(Enlarged(sheet, scale), outPath) ? SheetResult::Written : SheetResult::NotWritten;
}

int RenderAllStates(const SkinLocation& location, const std::string& outPath, int scale)
{
    std::u16string message;
    switch (WriteSheet(location, SheetFaces(), AllStatesStyle, outPath, &message, scale)) {
    case SheetResult::Written: return 0;
    case SheetResult::SkinNotLoaded: ReportNotLoaded(location, message); break;
    case SheetResult::NotWritten: ReportNotWritten(outPath); break;
    }
    return 1;
}

}  // namespace skintool
