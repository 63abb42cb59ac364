#include "docimport/cfb_chain.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "docimport/byte_reader.h"

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

Result<std::vector<uint32_t>> FollowChain(std::span<const uint32_t> table, uint32_t start,
                                          uint64_t maxLinks, std::string_view what) {
    std::vector<uint32_t> chain;
    // Each sector appears at most once, so the table's size bounds the chain.
    chain.reserve(std::min<uint64_t>(maxLinks, table.size()));
    std::vector<bool> seen(table.size(), false);
    uint32_t sector = start;
    while (chain.size() < maxLinks && sector < table.size()) {
        if (seen[sector]) {
            return MakeError(TErrorKind::Damaged,
                             "Compound file: the " + std::string(what) + " chain loops");
        }
        seen[sector] = true;
        chain.push_back(sector);
        sector = table[sector];
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
    std::vector<uint8_t> out(std::min(total, size));
    size_t pos = 0;
    for (uint32_t sector : chain) {
        if (pos == out.size()) break;
        const std::span<const uint8_t> bytes = sectors.Sector(sector);
        const size_t n = std::min(bytes.size(), out.size() - pos);
        std::memcpy(out.data() + pos, bytes.data(), n);
        pos += n;
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
