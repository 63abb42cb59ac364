#include "model/columns.h"

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

// A balanced run tries whole-millimetre heights up to the available height; beyond 2^52 mm
// (only damaged page sizes get there) whole numbers are no longer exact doubles.
constexpr double kMaxTrialHeight = 4503599627370496.0;
// Without the binary search (lines of negative height), at most this many heights are tried
// before the available height is taken.
constexpr int64_t kMaxLinearTrials = 4096;
// A run reaching the end of its field tries Hmax itself; rounding may need one more step.
constexpr int kMaxEndTrials = 4;

// Only a row's first cell adds the row's extent; the other cells share it.
bool AddsExtent(const TLineRec& line) {
    return line.CellsInRow <= 1 || line.CellIndex == 0;
}

}  // namespace

bool SameColumnSettings(const TLineRec& a, const TLineRec& b) {
    return a.ColumnCount == b.ColumnCount && a.ColumnSeparator == b.ColumnSeparator &&
           a.ColumnSpacing == b.ColumnSpacing;
}

bool isfirstSpaltenrow(const TDocument& doc, int32_t field, int32_t line) {
    if (field < 0 || field >= doc.FieldCount()) return false;
    const std::vector<TLineRec>& lines = doc.Fields[field].Lines;
    if (line < 0 || line >= static_cast<int32_t>(lines.size())) return false;
    return line == 0 || !SameColumnSettings(lines[line - 1], lines[line]);
}

TColumnInfo getspalteninfo(const TDocument& doc, int32_t field, int32_t line, double hmax) {
    if (field < 0 || field >= doc.FieldCount()) return {};
    const std::vector<TLineRec>& lines = doc.Fields[field].Lines;
    if (line < 0 || line >= static_cast<int32_t>(lines.size())) return {};
    size_t first = static_cast<size_t>(line);
    while (first > 0 && SameColumnSettings(lines[first - 1], lines[first]))
        --first;
    size_t end = static_cast<size_t>(line) + 1;
    while (end < lines.size() && SameColumnSettings(lines[end - 1], lines[end]))
        ++end;
    const std::span<const TLineRec> run(lines.data() + first, end - first);
    const bool monotone =
        std::all_of(run.begin(), run.end(), [](const TLineRec& l) { return ColumnExtent(l) >= 0; });
    TColumnBalance balance(run, end == lines.size(), hmax, monotone);
    TColumnInfo info;
    for (size_t q = first; q <= static_cast<size_t>(line); ++q)
        info = balance.Next();
    return info;
}

TColumnBalance::TColumnBalance(std::span<const TLineRec> run, bool reachesEnd, double hmax,
                               bool monotone)
    : run_(run), lastColumn_(run.empty() ? 0 : int64_t{run[0].ColumnCount} - 1) {
    height_ = FindHeight(reachesEnd, hmax, monotone);
    columnsUsed_ = CountColumnsUsed();
}

bool TColumnBalance::Fits(double height) const {
    double filled = 0;
    int64_t column = 0;
    for (const TLineRec& line : run_) {
        const double extent = ColumnExtent(line);
        if (AddsExtent(line)) filled += extent;
        if (filled > height) {
            filled = extent;
            ++column;
            if (filled > height) return false;  // taller than the column
        }
        if (column > lastColumn_) return false;  // more columns than there are
    }
    return true;
}

double TColumnBalance::FindHeight(bool reachesEnd, double hmax, bool monotone) const {
    if (reachesEnd) {
        double height = hmax - 1.0;
        for (int trial = 0; trial < kMaxEndTrials; ++trial) {
            height += 1.0;
            if (!(height < hmax) || Fits(height)) break;
        }
        return height;
    }
    // Trial heights 1, 2, 3, ... mm: the first that fits, or the first that reaches hmax.
    const double last = hmax > 1 ? std::ceil(std::min(hmax, kMaxTrialHeight)) : 1;
    auto lastTrial = static_cast<int64_t>(last);
    if (monotone) {
        int64_t low = 1;
        while (low < lastTrial) {
            const int64_t mid = low + (lastTrial - low) / 2;
            if (Fits(static_cast<double>(mid))) {
                lastTrial = mid;
            } else {
                low = mid + 1;
            }
        }
        return static_cast<double>(low);
    }
    const int64_t tries = std::min(lastTrial - 1, kMaxLinearTrials);
    for (int64_t n = 1; n <= tries; ++n) {
        if (Fits(static_cast<double>(n))) return static_cast<double>(n);
    }
    return static_cast<double>(lastTrial);
}

int32_t TColumnBalance::CountColumnsUsed() const {
    double filled = 0;
    int64_t column = 0;
    for (const TLineRec& line : run_) {
        if (column >= lastColumn_) break;
        const double extent = ColumnExtent(line);
        if (AddsExtent(line)) filled += extent;
        if (filled > height_) {
            filled = extent;
            ++column;
        }
    }
    return static_cast<int32_t>(std::max<int64_t>(0, std::min(column, lastColumn_)));
}

TColumnInfo TColumnBalance::Next() {
    TColumnInfo info;
    if (next_ >= run_.size()) return info;
    const TLineRec& line = run_[next_];
    const double extent = ColumnExtent(line);
    if (AddsExtent(line)) filled_ += extent;
    if (filled_ > height_) {
        info.YBack = filled_ - extent;  // the height of the column it leaves
        filled_ = extent;
        ++column_;
    }
    ++next_;
    if (next_ == run_.size()) info.YForward = height_ - filled_;
    info.ColumnIndex = static_cast<int32_t>(std::min<int64_t>(column_, INT32_MAX));
    info.NeedBreak = column_ > lastColumn_;
    info.ColumnsUsed = columnsUsed_;
    return info;
}

}  // namespace qm
