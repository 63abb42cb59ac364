#include "word/piece_properties.h"

namespace qm {

void TPieceProperties::Add(uint64_t start, uint64_t end, std::vector<uint8_t> list) {
    spans_.push_back({static_cast<int64_t>(start), static_cast<int64_t>(end)});
    lists_.push_back(std::move(list));
}

void TPieceProperties::Finish() {
    index_ = TIntervalIndex(spans_, TIntervalIndex::TWinner::First);
}

}  // namespace qm
