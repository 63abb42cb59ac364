// Property modifiers (sprms): a 16-bit code and an operand whose size the code's top three bits
// (spra) give. ApplySprms interprets a list of them onto the properties in force.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "word/word_properties.h"

namespace qm {

// Applies the property list to state's CHP, PAP, SEP and row definition. A character style
// named in the list (code 0x4A30) is looked up in styles. Codes the program does not use are
// skipped by their size; the list ends early where an operand would run past its end. depth
// counts the character styles applied from inside a list.
void ApplySprms(TPropertyState& state, std::span<const TStyleEntry> styles,
                std::span<const uint8_t> list, int depth = 0);

// The list with the indents of later Word versions (sprmPDxaLeft, sprmPDxaRight and
// sprmPDxaLeft1, 0x845E, 0x845D, 0x8460) written as their Word 97 codes, so that ApplySprms
// reads them. Used where list levels' indents meet the paragraph's own.
std::vector<uint8_t> WithWord97Indents(std::span<const uint8_t> list);

// The operand size that spra (bits 13-15 of the code) gives; -1 for a variable size.
int SprmOperandSize(uint16_t code);

}  // namespace qm
