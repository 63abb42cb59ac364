// Changing a paragraph's tab stops by property code 0xC60D (PChgTabsPapxOperand): positions to
// delete, then positions with descriptors to add.
#pragma once

#include <cstdint>
#include <span>

#include "word/word_properties.h"

namespace qm {

// Applies the operand to the PAP's tab list (at most 64 stops, kept in ascending order; a
// stop beyond the 64th is not added).
void ChangeTabs(TPap& pap, std::span<const uint8_t> operand);

}  // namespace qm
