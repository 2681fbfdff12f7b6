// Writes the code page 932 table that the platform decodes text files with (platform/kernel/
// cp932_table.inc), as the C library's iconv converts each byte and each pair of bytes. The
// table is kept in the source, so that every host, the web's C library among them, decodes the
// same text to the same characters: `numbrix-make-cp932 > platform/kernel/cp932_table.inc`.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdint>

namespace {

enum class Result { Character, Invalid, Incomplete };

// One conversion of `size` bytes; a character when all of them make exactly one UTF-16 unit.
Result Convert(iconv_t converter, const unsigned char* bytes, size_t size, uint16_t* unit)
{
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
    size_t inLeft = size;
    char out[8];
    char* outPointer = out;
    size_t outLeft = sizeof out;
    if (iconv(converter, &in, &inLeft, &outPointer, &outLeft) == size_t(-1))
        return errno == EINVAL ? Result::Incomplete : Result::Invalid;
    if (inLeft != 0 || outPointer - out != 2) return Result::Invalid;
    *unit = uint16_t(uint8_t(out[0]) | uint8_t(out[1]) << 8);
    return Result::Character;
}

}  // namespace

int main()
{
    iconv_t converter = iconv_open("UTF-16LE", "CP932");
    if (converter == iconv_t(-1)) {
        std::perror("numbrix-make-cp932: iconv_open CP932");
        return 1;
    }
    std::printf("// Code page 932 as the C library's iconv converts it, written by tools/make_cp932.\n");
    std::printf("// Cp932Single: the character of a byte alone, Cp932Lead for a byte that begins a pair,\n");
    std::printf("// Cp932None for a byte at which no character begins. Cp932Pairs: a row of 256 second\n");
    std::printf("// bytes for each lead byte in order, Cp932None where the pair is no character.\n");
    std::printf("constexpr uint16_t Cp932None = 0xFFFF, Cp932Lead = 0xFFFE;\n");
    unsigned leads[256];
    int leadCount = 0;
    std::printf("constexpr uint16_t Cp932Single[256] = {");
    for (int byte = 0; byte < 256; ++byte) {
        unsigned char one = uint8_t(byte);
        uint16_t unit = 0;
        Result result = Convert(converter, &one, 1, &unit);
        if (result == Result::Incomplete) leads[leadCount++] = unsigned(byte);
        uint16_t value = result == Result::Character ? unit : result == Result::Incomplete ? 0xFFFE : 0xFFFF;
        std::printf("%s0x%04X", byte % 16 == 0 ? "\n    " : " ", value);
        if (byte != 255) std::printf(",");
    }
    std::printf("\n};\nconstexpr uint16_t Cp932Pairs[%d][256] = {\n", leadCount);
    for (int lead = 0; lead < leadCount; ++lead) {
        std::printf("    {");
        for (int second = 0; second < 256; ++second) {
            unsigned char pair[2] = {uint8_t(leads[lead]), uint8_t(second)};
            uint16_t unit = 0;
            uint16_t value = Convert(converter, pair, 2, &unit) == Result::Character ? unit : 0xFFFF;
            std::printf("%s0x%04X", second == 0 ? "" : second % 16 == 0 ? ",\n     " : ", ", value);
        }
        std::printf("},\n");
    }
    std::printf("};\n");
    iconv_close(converter);
    return 0;
}
