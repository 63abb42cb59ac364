// The compound file header ([MS-CFB] 2.2): sector sizes, where the FAT, the directory and the
// mini FAT start, and the first 109 FAT sector numbers.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "cfb/cfb_format.h"
#include "base/result.h"

namespace qm {

struct TCfbHeader {
    uint16_t MajorVersion = 3;
    uint32_t SectorSize = 512;
    uint32_t NumFatSectors = 0;
    uint32_t FirstDirSector = cfb::kEndOfChain;
    uint32_t FirstMiniFatSector = cfb::kEndOfChain;
    uint32_t NumMiniFatSectors = 0;
    uint32_t FirstDifatSector = cfb::kEndOfChain;
    uint32_t NumDifatSectors = 0;
    std::array<uint32_t, cfb::kHeaderDifatEntries> Difat{};
};

// Reads the header at the start of a file. Errors: NotWordDocument when the file is shorter
// than a header or does not start with the compound file signature; Damaged when the version,
// byte order, sector sizes or mini stream cutoff are not the ones [MS-CFB] allows.
Result<TCfbHeader> ReadCfbHeader(std::span<const uint8_t> file);

}  // namespace qm
