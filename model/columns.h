// Text columns: consecutive lines of a field with equal column settings form a run, which
// pagination places into the columns of a page. A run followed by more text is balanced (its
// columns made as short as possible, in 1 mm steps); a run that reaches the end of its field
// fills its columns to the available height.
#pragma once

#include <cstdint>
#include <span>

#include "model/document.h"

namespace qm {

// Where one line of a run goes.
struct TColumnInfo {
    int32_t ColumnIndex = 0;
    int32_t ColumnsUsed = 0;  // the highest column the run uses on this page
    double YBack = 0;         // how far y goes back up before the line
    double YForward = 0;      // how far y moves down after the line (the run's last line only)
    bool NeedBreak = false;   // the line lies beyond the last column: the page ends before it
};

// Equal column count, separator and spacing (the spacing compared exactly).
bool SameColumnSettings(const TLineRec& a, const TLineRec& b);

// Whether the line starts a run: it is the field's first line or its settings differ from
// those of the line before.
bool isfirstSpaltenrow(const TDocument& doc, int32_t field, int32_t line);

// The column results of one line of a page body's run, with `hmax` mm available for the run.
// Returns default results for a line that does not exist.
TColumnInfo getspalteninfo(const TDocument& doc, int32_t field, int32_t line, double hmax);

// The balance of one run on one page, computed once and handed out line by line: the column
// height is the same for every line of the run, so only the walk through the run remains.
class TColumnBalance {
  public:
    // `run`: the run's lines from its first on the page to its last; `reachesEnd`: nothing
    // follows the run in its field; `monotone`: every line's extent is a number >= 0, so that
    // a taller trial height never needs more columns (which allows a binary search).
    TColumnBalance(std::span<const TLineRec> run, bool reachesEnd, double hmax, bool monotone);

    // The results of the run's next line, in order from its first.
    TColumnInfo Next();
    double Height() const { return height_; }

  private:
    bool Fits(double height) const;
    double FindHeight(bool reachesEnd, double hmax, bool monotone) const;
    int32_t CountColumnsUsed() const;

    std::span<const TLineRec> run_;
    int64_t lastColumn_;  // column count - 1
    double height_ = 0;
    int32_t columnsUsed_ = 0;
    size_t next_ = 0;
    double filled_ = 0;
    int64_t column_ = 0;
};

// A line's vertical extent in a run: space before, height and space after.
inline double ColumnExtent(const TLineRec& line) {
    return line.Para.SpaceBefore + line.LineHeight + line.Para.SpaceAfter;
}

}  // namespace qm
