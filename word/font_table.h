// The font table (SttbfFfn): the face names, index = font number.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm {

// Reads the face names at fcSttbfffn of the table stream, converted to Windows-1252. A name
// ends at its terminating 0 or at the end of its entry; the table ends where the stream does.
std::vector<std::string> ReadFontTable(std::span<const uint8_t> tableStream, uint32_t fcSttbfffn);

}  // namespace qm
