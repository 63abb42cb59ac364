#include "docimport/cp1252.h"

namespace qm {

namespace {

// The characters Windows-1252 places at 0x80 to 0x9F; 0 marks a code it leaves unassigned.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};

}  // namespace

uint8_t Cp1252FromUtf16(uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<uint8_t>(unit);
    if (unit >= 0x100) {
        for (uint8_t i = 0; i < 32; ++i) {
            if (kHighControls[i] == unit) return static_cast<uint8_t>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace qm
