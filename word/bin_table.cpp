#include "word/bin_table.h"

#include <unordered_set>

#include "base/byte_reader.h"
#include "word/plc.h"

namespace qm {

namespace {

// PnFkpChpx / PnFkpPapx: the page number is the low 22 bits.
constexpr uint32_t kPageNumberMask = 0x3FFFFF;

}  // namespace

TBinTable TBinTable::Read(std::span<const uint8_t> tableStream, uint32_t fc, uint32_t lcb,
                          std::span<const uint8_t> mainStream) {
    const Plc<uint32_t> bins =
        ReadPlc<uint32_t>(tableStream, fc, lcb, 4, [](ByteReader& r, uint32_t& pn) { r.U32(pn); });
    return FromPages(bins.Records, mainStream);
}

TBinTable TBinTable::FromPages(std::span<const uint32_t> pageNumbers,
                               std::span<const uint8_t> mainStream) {
    TBinTable table;
    std::unordered_set<uint32_t> seen;
    std::vector<TInterval> spans;
    for (uint32_t pn : pageNumbers) {
        pn &= kPageNumberMask;
        if (!seen.insert(pn).second) continue;
        const uint64_t offset = static_cast<uint64_t>(pn) * kFkpSize;
        if (offset > mainStream.size() || kFkpSize > mainStream.size() - offset) {
            ++table.missingPages_;
            continue;
        }
        table.AddPage(mainStream.subspan(static_cast<size_t>(offset), kFkpSize), spans);
        ++table.pageCount_;
    }
    table.index_ = TIntervalIndex(spans, TIntervalIndex::TWinner::First);
    return table;
}

void TBinTable::AddPage(std::span<const uint8_t> page, std::vector<TInterval>& spans) {
    ByteReader reader(page);
    const uint8_t crun = page[kFkpSize - 1];
    // Run j is bounded by rgfc[j] and rgfc[j + 1]; both must lie inside the page.
    for (uint32_t j = 0; j < crun && 4 * (j + 2) <= kFkpSize; ++j) {
        uint32_t start = 0;
        uint32_t end = 0;
        reader.Seek(4 * j);
        reader.U32(start);
        reader.U32(end);
        runs_.push_back({page, start, end, static_cast<uint8_t>(j), crun});
        spans.push_back({start, end});
    }
}

}  // namespace qm
