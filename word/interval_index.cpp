#include "word/interval_index.h"

#include <algorithm>
#include <set>

namespace qm {

namespace {

struct TEdge {
    int64_t Pos;
    bool Opens;
    int32_t Id;
};

}  // namespace

TIntervalIndex::TIntervalIndex(const std::vector<TInterval>& intervals, TWinner winner) {
    std::vector<TEdge> edges;
    edges.reserve(intervals.size() * 2);
    for (size_t i = 0; i < intervals.size(); ++i) {
        if (intervals[i].End <= intervals[i].Start) continue;
        edges.push_back({intervals[i].Start, true, static_cast<int32_t>(i)});
        edges.push_back({intervals[i].End, false, static_cast<int32_t>(i)});
    }
    std::sort(edges.begin(), edges.end(),
              [](const TEdge& a, const TEdge& b) { return a.Pos < b.Pos; });
    // Sweep the edges; between two edge positions the set of covering intervals is constant.
    std::set<int32_t> open;
    size_t e = 0;
    while (e < edges.size()) {
        const int64_t pos = edges[e].Pos;
        for (; e < edges.size() && edges[e].Pos == pos; ++e) {
            if (edges[e].Opens) {
                open.insert(edges[e].Id);
            } else {
                open.erase(edges[e].Id);
            }
        }
        if (open.empty() || e == edges.size()) continue;
        const int32_t id = winner == TWinner::First ? *open.begin() : *open.rbegin();
        const int64_t end = edges[e].Pos;
        if (!segments_.empty() && segments_.back().End == pos && segments_.back().Id == id) {
            segments_.back().End = end;
        } else {
            segments_.push_back({pos, end, id});
        }
    }
}

const TIntervalIndex::TSegment* TIntervalIndex::FindSegment(int64_t pos) const {
    if (segments_.empty()) return nullptr;
    const TSegment& last = segments_[lastHit_];
    if (pos >= last.Start && pos < last.End) return &last;
    if (lastHit_ + 1 < segments_.size()) {
        const TSegment& next = segments_[lastHit_ + 1];
        if (pos >= next.Start && pos < next.End) {
            ++lastHit_;
            return &next;
        }
    }
    auto it = std::upper_bound(segments_.begin(), segments_.end(), pos,
                               [](int64_t p, const TSegment& s) { return p < s.Start; });
    if (it == segments_.begin()) return nullptr;
    --it;
    if (pos >= it->End) return nullptr;
    lastHit_ = static_cast<size_t>(it - segments_.begin());
    return &*it;
}

int32_t TIntervalIndex::Find(int64_t pos) const {
    const TSegment* segment = FindSegment(pos);
    return segment ? segment->Id : -1;
}

int32_t TIntervalIndex::Find(int64_t pos, int64_t& runEnd) const {
    const TSegment* segment = FindSegment(pos);
    if (!segment) return -1;
    runEnd = segment->End;
    return segment->Id;
}

}  // namespace qm
