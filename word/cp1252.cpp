#include "word/cp1252.h"

#include "base/cp1252.h"

namespace qm {

uint8_t Cp1252FromUtf16(uint16_t unit) {
    uint8_t code;
    Cp1252FromUnicode(unit, code);
    return code;
}

}  // namespace qm
