// Sector chains of a compound file ([MS-CFB] 2.3, 2.5): a view of a buffer as numbered sectors,
// and the walk of a chain of sector numbers through a FAT or a mini FAT.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace qm {

// A buffer seen as numbered sectors of one size. Sector n starts at firstOffset + n * sectorSize:
// the file's sectors start after the header sector, the mini stream's at its start.
class TCfbSectors {
  public:
    TCfbSectors(std::span<const uint8_t> data, uint32_t sectorSize, uint64_t firstOffset);

    uint32_t SectorSize() const { return sectorSize_; }
    // Sectors that start inside the buffer, the last one possibly cut short.
    uint32_t Count() const { return count_; }
    // The bytes of sector n: a whole sector, fewer for a last sector cut short by the end of the
    // buffer, none when sector n does not start inside the buffer.
    std::span<const uint8_t> Sector(uint32_t n) const;

  private:
    std::span<const uint8_t> data_;
    uint32_t sectorSize_;
    uint64_t firstOffset_;
    uint32_t count_ = 0;
};

// Follows the chain that starts at `start` through `table` (table[n] is the sector after n) and
// returns the sector numbers in order, at most maxLinks of them. The chain ends at ENDOFCHAIN.
// Quirk: it also ends, keeping the sectors before, at any number that is not an index of the
// table (FREESECT, a reserved value, a sector past the end of a truncated file): real files
// have chains cut short this way. A sector met twice among the links taken is a cycle: Damaged,
// naming `what`; a loop beyond the first maxLinks links is never reached and does no harm.
// Time and memory grow with the links taken, never with the table.
Result<std::vector<uint32_t>> FollowChain(std::span<const uint32_t> table, uint32_t start,
                                          uint64_t maxLinks, std::string_view what);

// The bytes of a chain of sectors, at most `size` of them. A sector cut short by the end of the
// buffer ends the data there.
std::vector<uint8_t> GatherSectors(const TCfbSectors& sectors, std::span<const uint32_t> chain,
                                   uint64_t size);

// Reads the chain from `start` and gathers its bytes: at most `size` bytes, and never more
// sectors than `size` needs. Errors as FollowChain.
Result<std::vector<uint8_t>> ReadChain(const TCfbSectors& sectors, std::span<const uint32_t> table,
                                       uint32_t start, uint64_t size, std::string_view what);

// Little-endian 32-bit entries of a table (FAT, mini FAT); trailing bytes are ignored.
std::vector<uint32_t> ReadTableEntries(std::span<const uint8_t> bytes);

}  // namespace qm
