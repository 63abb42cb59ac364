// The property modifiers of Word 6 and Word 95: a one-byte code whose operand size a table
// gives (some carry their size in a byte, or in 16 bits, before it). They name the same
// properties as Word 97's two-byte codes, so they are rewritten into those, and the Word 97
// interpreter (word/sprm.h) applies them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qm {

// The list rewritten in Word 97 codes: the codes the program uses, their operands brought to
// the later shapes (borders of 16 bits become Brc80, cell descriptors TC80). Codes of no
// interest are left out by their size; the rewriting ends at a code whose size is unknown or
// where an operand would run past the list's end.
std::vector<uint8_t> TranslateWord6Sprms(std::span<const uint8_t> list);

// The operand of the last modifier with the given code in a Word 6 list; false when it has none.
bool FindWord6Sprm(std::span<const uint8_t> list, uint8_t code, std::span<const uint8_t>& operand);

// One piece's property modifier (Prm) when it names a single modifier directly (fComplex
// clear): the code in bits 1-7 and the operand byte in bits 8-15, as a Word 6 list.
std::vector<uint8_t> Word6PrmList(uint16_t prm);

// A Word 6 border (16 bits: width in 3/4 points or 6 dotted, 7 dashed; kind; shadow; colour
// index; spacing) as a Word 97 Brc80 (width in eighths of a point, kind, colour, spacing and
// shadow).
uint32_t Word6BrcToBrc80(uint16_t brc);

}  // namespace qm
