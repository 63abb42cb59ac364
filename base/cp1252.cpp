#include "base/cp1252.h"

namespace qm {

namespace {

// Windows-1252 0x80..0x9F; the five codes the code page leaves undefined map to themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

}  // namespace

char32_t Cp1252ToUnicode(uint8_t code) {
    if (code >= 0x80 && code <= 0x9F) return kCp1252High[code - 0x80];
    return code;
}

bool Cp1252FromUnicode(char32_t cp, uint8_t& code) {
    code = '?';
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        code = static_cast<uint8_t>(cp);
        return true;
    }
    // Of the C1 controls U+0080..U+009F only the five the code page leaves undefined come back
    // (as themselves); what it places at the other codes of 0x80..0x9F lies above U+00FF.
    if (cp > 0x9F && cp < 0x100) return false;
    for (int high = 0x80; high <= 0x9F; ++high) {
        if (kCp1252High[high - 0x80] == cp) {
            code = static_cast<uint8_t>(high);
            return true;
        }
    }
    return false;
}

std::string Cp1252Encode(std::u32string_view text) {
    std::string bytes(text.size(), '?');
    for (size_t i = 0; i < text.size(); ++i) {
        uint8_t code;
        Cp1252FromUnicode(text[i], code);
        bytes[i] = static_cast<char>(code);
    }
    return bytes;
}

}  // namespace qm
