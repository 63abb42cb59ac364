#include "word/section_table.h"

#include <vector>

#include "base/byte_reader.h"

namespace qm {

TSectionTable TSectionTable::Read(std::span<const uint8_t> tableStream, uint32_t fc, uint32_t lcb) {
    TSectionTable table;
    // Sed: 12 bytes, the property list's position at byte 2.
    table.sections_ = ReadPlc<TSectionDescriptor>(tableStream, fc, lcb, 12,
                                                  [](ByteReader& r, TSectionDescriptor& sed) {
                                                      r.Skip(2);
                                                      r.U32(sed.FcSepx);
                                                  });
    std::vector<TInterval> spans;
    const auto& cps = table.sections_.Positions;
    for (int32_t i = 0; i < table.sections_.Count(); ++i) {
        spans.push_back({cps[i], static_cast<int64_t>(cps[i + 1]) + 1});
    }
    table.index_ = TIntervalIndex(spans, TIntervalIndex::TWinner::Last);
    return table;
}

bool TSectionTable::StartsAt(int64_t cp) const {
    const int32_t i = index_.Find(cp);
    return i >= 0 && cp == sections_.Positions[i];
}

}  // namespace qm
