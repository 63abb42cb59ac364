#include "cfb/cfb_chain.h"

#include <algorithm>
#include <string>

#include "base/byte_reader.h"

namespace qm {

TCfbSectors::TCfbSectors(std::span<const uint8_t> data, uint32_t sectorSize, uint64_t firstOffset)
    : data_(data), sectorSize_(sectorSize), firstOffset_(firstOffset) {
    if (data.size() > firstOffset) {
        const uint64_t bytes = data.size() - firstOffset;
        const uint64_t count = bytes / sectorSize + (bytes % sectorSize != 0 ? 1 : 0);
        // Sector numbers are 32-bit; a buffer this large is refused before it gets here.
        count_ = static_cast<uint32_t>(std::min<uint64_t>(count, UINT32_MAX));
    }
}

std::span<const uint8_t> TCfbSectors::Sector(uint32_t n) const {
    if (n >= count_) return {};
    ByteReader reader(data_);
    std::span<const uint8_t> bytes;
    reader.Seek(firstOffset_ + uint64_t{n} * sectorSize_);
    reader.Bytes(std::min<size_t>(sectorSize_, reader.Remaining()), bytes);
    return bytes;
}

namespace {

bool HasRepeat(std::span<const uint32_t> chain) {
    std::vector<uint32_t> sorted(chain.begin(), chain.end());
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

}  // namespace

Result<std::vector<uint32_t>> FollowChain(std::span<const uint32_t> table, uint32_t start,
                                          uint64_t maxLinks, std::string_view what) {
    // A chain without a cycle meets each sector once; one link more than the table has entries
    // proves a cycle. The repeat check costs the chain's length, not the table's.
    const uint64_t limit = std::min<uint64_t>(maxLinks, uint64_t{table.size()} + 1);
    std::vector<uint32_t> chain;
    chain.reserve(limit);
    uint32_t sector = start;
    while (chain.size() < limit && sector < table.size()) {
        chain.push_back(sector);
        sector = table[sector];
    }
    if (HasRepeat(chain)) {
        return MakeError(TErrorKind::Damaged,
                         "Compound file: the " + std::string(what) + " chain loops");
    }
    return chain;
}

std::vector<uint8_t> GatherSectors(const TCfbSectors& sectors, std::span<const uint32_t> chain,
                                   uint64_t size) {
    uint64_t total = 0;
    for (uint32_t sector : chain) {
        if (total >= size) break;
        const size_t got = sectors.Sector(sector).size();
        total += got;
        if (got < sectors.SectorSize()) break;
    }
    // Bounded by the chain's real bytes, whatever size the directory claims.
    const size_t wanted = std::min(total, size);
    std::vector<uint8_t> out;
    out.reserve(wanted);
    for (uint32_t sector : chain) {
        if (out.size() == wanted) break;
        const std::span<const uint8_t> bytes = sectors.Sector(sector);
        const size_t n = std::min(bytes.size(), wanted - out.size());
        out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(n));
    }
    return out;
}

Result<std::vector<uint8_t>> ReadChain(const TCfbSectors& sectors, std::span<const uint32_t> table,
                                       uint32_t start, uint64_t size, std::string_view what) {
    const uint32_t sectorSize = sectors.SectorSize();
    const uint64_t needed = size / sectorSize + (size % sectorSize != 0 ? 1 : 0);
    Result<std::vector<uint32_t>> chain = FollowChain(table, start, needed, what);
    if (!chain) return chain.Error();
    return GatherSectors(sectors, *chain, size);
}

std::vector<uint32_t> ReadTableEntries(std::span<const uint8_t> bytes) {
    std::vector<uint32_t> entries(bytes.size() / 4);
    ByteReader reader(bytes);
    for (uint32_t& entry : entries)
        reader.U32(entry);
    return entries;
}

}  // namespace qm
