// The font table (SttbfFfn): the face names, index = font number.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm {

// One font of the table: its face name and its family class (kFamilyRoman and so on, from
// raster/font.h), which lets a face the machine lacks be replaced by one of its kind.
struct TFontTableEntry {
    std::string Name;
    uint8_t FamilyClass = 0;

    bool operator==(const TFontTableEntry&) const = default;
};

// Reads the fonts at fcSttbfffn of the table stream, names converted to Windows-1252. A name
// ends at its terminating 0 or at the end of its entry; an entry too short for its FFID keeps
// the unknown class; the table ends where the stream does.
std::vector<TFontTableEntry> ReadFontTable(std::span<const uint8_t> tableStream,
                                           uint32_t fcSttbfffn);

// The font table of a Word 6 or Word 95 document at fc (lcb bytes) of the main stream: the
// table's size in 16 bits, then entries whose face name follows 6 bytes in, in 8-bit
// characters. charsets receives each font's character set (chs).
std::vector<TFontTableEntry> ReadWord6FontTable(std::span<const uint8_t> mainStream, uint32_t fc,
                                                uint32_t lcb, std::vector<uint8_t>& charsets);

}  // namespace qm
