// The property lists that the pieces of a fast-saved Word 6 or Word 95 document add to their
// characters (each piece's Prm), found by the characters' place in the main stream.
#pragma once

#include <cstdint>
#include <vector>

#include "word/interval_index.h"

namespace qm {

class TPieceProperties {
  public:
    // The characters at FCs [start, end) take list (in Word 97 codes) after their runs' own.
    void Add(uint64_t start, uint64_t end, std::vector<uint8_t> list);
    // Builds the look-up; Find answers nothing before.
    void Finish();

    bool Empty() const { return lists_.empty(); }
    // The id of the list for the character at fc, or -1; where pieces share bytes the first
    // one added wins.
    int32_t Find(uint64_t fc) const { return index_.Find(static_cast<int64_t>(fc)); }
    const std::vector<uint8_t>& List(int32_t id) const { return lists_[static_cast<size_t>(id)]; }

  private:
    std::vector<TInterval> spans_;
    std::vector<std::vector<uint8_t>> lists_;
    TIntervalIndex index_;
};

}  // namespace qm
