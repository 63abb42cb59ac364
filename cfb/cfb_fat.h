// The FAT of a compound file ([MS-CFB] 2.3, 2.5): the numbers of its sectors come from the
// header's 109 DIFAT entries and, beyond those, from the chain of DIFAT sectors.
#pragma once

#include <cstdint>
#include <vector>

#include "cfb/cfb_chain.h"
#include "cfb/cfb_header.h"
#include "base/result.h"

namespace qm {

// The numbers of the FAT's sectors in order. Errors (Damaged): the header claims more FAT
// sectors than the file has sectors, or the DIFAT chain loops.
// Quirk: a list that ends before the claimed count (a free or reserved entry, a DIFAT chain that
// stops) is taken as it is; the count was overstated.
Result<std::vector<uint32_t>> ReadFatSectorList(const TCfbHeader& header,
                                                const TCfbSectors& sectors);

// The FAT: one entry per sector of the file, never more. Entries of FAT sectors missing from a
// truncated file stay FREESECT (Quirk), so chains through them end there.
Result<std::vector<uint32_t>> ReadFat(const TCfbHeader& header, const TCfbSectors& sectors);

}  // namespace qm
