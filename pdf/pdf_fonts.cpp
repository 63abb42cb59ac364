#include "pdf/pdf_fonts.h"

#include <cmath>
#include <cstdlib>

#include "raster/font.h"

namespace qm {

namespace {

// PDF delimiters and the name escape character itself (PDF Reference 1.3, 3.1.1 and 3.2.4).
bool NeedsNameEscape(uint8_t c) {
    switch (c) {
        case '#':
        case '%':
        case '(':
        case ')':
        case '/':
        case '<':
        case '>':
        case '[':
        case ']':
        case '{':
        case '}':
            return true;
        default:
            return c < '!' || c > '~';
    }
}

}  // namespace

std::string BaseFontName(std::string_view name, uint8_t style) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string result;
    for (const char ch : name) {
        const auto c = static_cast<uint8_t>(ch);
        if (c == 0) continue;
        if (NeedsNameEscape(c)) {
            result.push_back('#');
            result.push_back(kHex[c >> 4]);
            result.push_back(kHex[c & 15]);
        } else {
            result.push_back(ch);
        }
    }
    const bool bold = (style & kStyleBold) != 0;
    const bool italic = (style & kStyleItalic) != 0;
    if (bold && italic) {
        result += ",BoldItalic";
    } else if (italic) {
        result += ",Italic";
    } else if (bold) {
        result += ",Bold";
    }
    return result;
}

int64_t ScaleToGlyphSpace(int32_t units) {
    // The factor is mantissa * 2^-shift exactly; the product with units is formed in 128 bits
    // and the shift truncates its magnitude, i.e. toward zero.
    static const double kFactor = 1000.0 / 12.0;
    int exponent = 0;
    const double fraction = std::frexp(kFactor, &exponent);
    const auto mantissa = static_cast<__int128>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;
    const __int128 product =
        static_cast<__int128>(std::abs(static_cast<int64_t>(units))) * mantissa;
    const auto magnitude = static_cast<int64_t>(product >> shift);
    return units < 0 ? -magnitude : magnitude;
}

}  // namespace qm
