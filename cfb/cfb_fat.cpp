#include "cfb/cfb_fat.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace qm {
namespace {

bool IsRegularSector(uint32_t sector) {
    return sector < cfb::kMaxRegSect;
}

// Appends the FAT sector numbers of one DIFAT sector's entries (all but its last, which links
// to the next DIFAT sector) until `wanted` are listed. Returns false at a free or reserved entry.
bool TakeDifatEntries(std::span<const uint8_t> sector, size_t entryCount, size_t wanted,
                      std::vector<uint32_t>& list) {
    ByteReader reader(sector);
    for (size_t i = 0; i < entryCount && list.size() < wanted; ++i) {
        uint32_t entry = 0;
        if (!reader.U32(entry) || !IsRegularSector(entry)) return false;
        list.push_back(entry);
    }
    return true;
}

// The link at the end of a DIFAT sector; ENDOFCHAIN when the sector is cut short.
uint32_t NextDifatSector(std::span<const uint8_t> sector, uint32_t sectorSize) {
    ByteReader reader(sector);
    uint32_t next = cfb::kEndOfChain;
    if (!reader.Seek(sectorSize - 4) || !reader.U32(next)) return cfb::kEndOfChain;
    return next;
}

}  // namespace

Result<std::vector<uint32_t>> ReadFatSectorList(const TCfbHeader& header,
                                                const TCfbSectors& sectors) {
    const size_t wanted = header.NumFatSectors;
    if (wanted > sectors.Count()) {
        return MakeError(TErrorKind::Damaged,
                         "Compound file: more FAT sectors claimed than the file holds");
    }
    std::vector<uint32_t> list;
    list.reserve(wanted);
    for (size_t i = 0; i < header.Difat.size() && list.size() < wanted; ++i) {
        if (!IsRegularSector(header.Difat[i])) return list;
        list.push_back(header.Difat[i]);
    }
    const size_t entriesPerSector = header.SectorSize / 4 - 1;
    std::vector<bool> seen(sectors.Count(), false);
    uint32_t difatSector = header.FirstDifatSector;
    while (list.size() < wanted && difatSector < sectors.Count()) {
        if (seen[difatSector]) {
            return MakeError(TErrorKind::Damaged, "Compound file: the DIFAT chain loops");
        }
        seen[difatSector] = true;
        const std::span<const uint8_t> bytes = sectors.Sector(difatSector);
        if (!TakeDifatEntries(bytes, entriesPerSector, wanted, list)) break;
        difatSector = NextDifatSector(bytes, header.SectorSize);
    }
    return list;
}

Result<std::vector<uint32_t>> ReadFat(const TCfbHeader& header, const TCfbSectors& sectors) {
    Result<std::vector<uint32_t>> fatSectors = ReadFatSectorList(header, sectors);
    if (!fatSectors) return fatSectors.Error();
    const size_t entriesPerSector = header.SectorSize / 4;
    // Entries for sectors past the end of the file could only lead out of it.
    const size_t entryCount =
        std::min<size_t>(fatSectors->size() * entriesPerSector, sectors.Count());
    std::vector<uint32_t> fat(entryCount, cfb::kFreeSect);
    for (size_t k = 0; k < fatSectors->size(); ++k) {
        ByteReader reader(sectors.Sector((*fatSectors)[k]));
        const size_t end = std::min(entryCount, (k + 1) * entriesPerSector);
        for (size_t i = k * entriesPerSector; i < end && reader.Remaining() >= 4; ++i) {
            reader.U32(fat[i]);
        }
    }
    return fat;
}

}  // namespace qm
