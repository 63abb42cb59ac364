// Property modifiers (sprms, [MS-DOC] 2.6): a 16-bit code and an operand whose size the code's
// top three bits (spra) give. ApplySprms interprets a list of them onto the character,
// paragraph and section properties in force.
#pragma once

#include <cstdint>
#include <span>

namespace qm {

struct WordImportContext;

// Applies the property list to ctx's CHP, PAP and SEP. Codes the program does not use are
// skipped by their size; the list ends early where an operand would run past its end.
// depth counts the character styles applied from inside a list (code 0x4A30).
void ApplySprms(WordImportContext& ctx, std::span<const uint8_t> list, int depth = 0);

// The operand size that spra (bits 13-15 of the code) gives; -1 for a variable size.
int SprmOperandSize(uint16_t code);

}  // namespace qm
