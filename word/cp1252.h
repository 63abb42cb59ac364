// Windows-1252, the character set of the model's character codes.
#pragma once

#include <cstdint>

namespace qm {

// The Windows-1252 code of a UTF-16 unit, or '?' when Windows-1252 has no such character.
// Units below 0x80 and from 0xA0 to 0xFF keep their value; typographic quotes, dashes, the
// euro sign and the other letters of 0x80 to 0x9F are mapped to their codes there.
uint8_t Cp1252FromUtf16(uint16_t unit);

}  // namespace qm
