#include "word/cp1252.h"

#include "raster/font.h"

namespace qm {

uint8_t Cp1252FromUtf16(uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<uint8_t>(unit);
    // The characters Windows-1252 places at 0x80 to 0x9F all lie above U+00FF.
    if (unit >= 0x100) {
        for (int code = 0x80; code <= 0x9F; ++code) {
            if (Cp1252ToUnicode(static_cast<uint8_t>(code)) == unit) return static_cast<uint8_t>(code);
        }
    }
    return '?';
}

}  // namespace qm
