// Position look-up over the tables of a Word document (pieces, property runs, sections). The
// file's tables are sorted in practice, but a damaged one may overlap or run backwards; the
// index resolves every overlap once, as a linear scan in table order would, so that each
// look-up is a binary search (and usually a hit on the last segment found).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

struct TInterval {
    int64_t Start = 0;  // first position covered
    int64_t End = 0;    // first position after it; an interval with End <= Start covers nothing
};

class TIntervalIndex {
  public:
    enum class TWinner { First, Last };

    TIntervalIndex() = default;
    // Where intervals overlap, the first (or last) one in table order wins.
    TIntervalIndex(const std::vector<TInterval>& intervals, TWinner winner);

    // Index of the winning interval that covers pos, or -1.
    int32_t Find(int64_t pos) const;
    // The same; runEnd receives the first position after pos where the winner may change.
    int32_t Find(int64_t pos, int64_t& runEnd) const;

  private:
    struct TSegment {
        int64_t Start;
        int64_t End;
        int32_t Id;
    };
    const TSegment* FindSegment(int64_t pos) const;
    std::vector<TSegment> segments_;
    mutable size_t lastHit_ = 0;
};

}  // namespace qm
