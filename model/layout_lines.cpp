// Breaking the lines of one field, forward from its first line. A broken line hands the rest
// of its text to the same cell of the next row of lines, inserting that row when there is
// none. Rather than inserting into the field's array (which would shift every line behind,
// once per new line), the rows stream from the old array into a new one, and the text a line
// hands on stays where it is (see TLineText): a character moves at most once, and not at all
// when its line breaks where it did before.
#include <algorithm>
#include <climits>
#include <iterator>

#include "model/layout.h"
#include "model/layout_lines.h"
#include "model/line_text.h"
#include "model/list_label.h"

namespace qm {

namespace {

// One row of lines being laid out: the lines and, for the lines being broken, their text
// (Active: the text rather than the line's Chars holds its characters until the row is done).
struct TRow {
    std::vector<TLineRec> Lines;
    std::vector<TLineText> Texts;
    std::vector<uint8_t> Active;

    bool Empty() const { return Lines.empty(); }
    size_t Size() const { return Lines.size(); }
    void Clear() {
        Lines.clear();
        Texts.clear();
        Active.clear();
    }
    void Resize(size_t cells) {
        Lines.resize(cells);
        Texts.resize(cells);
        Active.assign(cells, 0);
    }
};

// Where the cursor's line is while the lines stream.
enum class TSpot { None, Input, Current, Pending, Out, PastEnd };

bool Continues(const TLineRec& line, const TLineRec* next) {
    return next && !next->RowStart && !line.RowEnd && next->InTable == line.InTable &&
           next->CellsInRow == line.CellsInRow && next->CellIndex == line.CellIndex;
}

// Whether a line that breaks needs a new row behind its own. A plain line continues in the
// next line only while its paragraph goes on there. A table cell continues in the same cell of
// the next row of lines of its table row: putting a row in between would tear apart the text
// of the other cells, which continue there too.
bool NeedsNewRow(const TLineRec& line, const TLineRec* next, bool nextHasText, int32_t kind) {
    const bool continues = Continues(line, next);
    if (line.InTable) return !continues;
    return !continues || line.EndKind != 0 || (kind > 0 && (nextHasText || next->EndKind != 0));
}

class TLineBreaker {
  public:
    // otherLines: the lines of the document outside this field.
    TLineBreaker(TLayoutPass& pass, int32_t fieldIndex, std::vector<TJoinedPieces> joined,
                 int64_t otherLines)
        : pass_(pass),
          doc_(pass.Doc),
          field_(fieldIndex),
          width_(FieldTextWidth(pass.Doc.Fields[fieldIndex], pass.Page)),
          joined_(std::move(joined)),
          otherLines_(otherLines) {}

    void Run();

  private:
    bool TakeRow();
    void EmitRow();
    TLineRec* SameCellBefore(size_t k);
    bool StartsParagraph(size_t k) const;
    void Number(TLineRec& line, bool start);
    double AvailableWidth(size_t k) const;
    void BreakCell(size_t k, bool start);
    void SetRowHeights(size_t k, double height);
    void HandOn(size_t k, int32_t kind, size_t pos);
    bool RoomForRow() const;
    void InsertRow();
    void MoveText(size_t k, int32_t kind, size_t pos, TLineRec& next, TLineText* nextText);
    void StartCursor();
    void FinishCursor();

    TLayoutPass& pass_;
    TDocument& doc_;
    int32_t field_;
    double width_;
    std::vector<TJoinedPieces> joined_;  // per input line, or empty
    int64_t otherLines_;
    std::vector<TLineRec> input_;
    size_t pos_ = 0;
    TRow cur_;
    TRow pending_;  // the row inserted behind the current one, if any
    std::vector<TLineRec> out_;
    TSpot spot_ = TSpot::None;
    size_t spotIndex_ = 0;
    int64_t spotChar_ = 0;
};

void TLineBreaker::Run() {
    input_ = std::move(doc_.Fields[field_].Lines);
    out_ = TakeLineArray(input_.size());
    StartCursor();
    while (TakeRow()) {
        for (size_t k = 0; k < cur_.Size(); ++k) {
            const bool start = StartsParagraph(k);
            Number(cur_.Lines[k], start);
            if (cur_.Lines[k].Dirty) BreakCell(k, start);
        }
        EmitRow();
    }
    doc_.Fields[field_].Lines = std::move(out_);
    ReturnLineArray(std::move(input_));
    FinishCursor();
}

bool TLineBreaker::TakeRow() {
    if (!pending_.Empty()) {
        std::swap(cur_, pending_);
        pending_.Clear();
        if (spot_ == TSpot::Pending) spot_ = TSpot::Current;
        return true;
    }
    if (pos_ >= input_.size()) return false;
    // Rows were checked beforehand: a row's lines are all there.
    const auto cells = static_cast<size_t>(input_[pos_].CellsInRow);
    cur_.Resize(cells);
    for (size_t r = 0; r < cells; ++r) {
        TLineRec& line = cur_.Lines[r];
        line = std::move(input_[pos_ + r]);
        TJoinedPieces pieces;
        if (!joined_.empty()) pieces = std::move(joined_[pos_ + r]);
        if (line.Dirty || !pieces.empty()) {
            cur_.Texts[r] = TLineText(std::move(line.Chars), std::move(pieces));
            cur_.Active[r] = 1;
        }
    }
    if (spot_ == TSpot::Input && spotIndex_ >= pos_ && spotIndex_ < pos_ + cells) {
        spot_ = TSpot::Current;
        spotIndex_ -= pos_;
    }
    pos_ += cells;
    return true;
}

// The same cell's line in the row of lines before, when that row lies in this field and, in a
// table, belongs to the same table row; else null.
TLineRec* TLineBreaker::SameCellBefore(size_t k) {
    const size_t cells = cur_.Size();
    const TLineRec& line = cur_.Lines[k];
    if (out_.size() < cells || line.RowStart || (!line.InTable && cells != 1)) return nullptr;
    TLineRec& prev = out_[out_.size() - cells + k];
    if (prev.InTable != line.InTable || prev.CellIndex != line.CellIndex ||
        prev.CellsInRow != line.CellsInRow)
        return nullptr;
    return &prev;
}

void TLineBreaker::EmitRow() {
    // A paragraph's spacing goes above its first line and below its last one only. Between two
    // paragraphs of one style in the same place (the body, or one cell of a table row), one that
    // asks for contextual spacing keeps no space on that side.
    double above = 0;
    double below = 0;
    bool joined = true;  // every cell's line before is known, so its row's space below is redone
    double belowBefore = 0;
    for (size_t k = 0; k < cur_.Size(); ++k) {
        const TLineRec& line = cur_.Lines[k];
        TLineRec* prev = SameCellBefore(k);
        const bool starts = StartsParagraph(k);
        const bool sameStyle = starts && prev && prev->Para.Style == line.Para.Style;
        if (starts && !(sameStyle && line.Para.ContextualSpacing))
            above = std::max(above, line.Para.SpaceBefore);
        if (line.EndKind == 1 || line.EndKind == 3 || line.RowEnd)
            below = std::max(below, line.Para.SpaceAfter);
        if (!prev) {
            joined = false;
        } else if (prev->EndKind == 1 || prev->EndKind == 3 || prev->RowEnd) {
            if (!(sameStyle && prev->Para.ContextualSpacing))
                belowBefore = std::max(belowBefore, prev->Para.SpaceAfter);
        }
    }
    if (joined) {
        for (size_t k = 0; k < cur_.Size(); ++k)
            SameCellBefore(k)->SpaceBelow = belowBefore;
    }
    for (size_t k = 0; k < cur_.Size(); ++k) {
        cur_.Lines[k].SpaceAbove = above;
        cur_.Lines[k].SpaceBelow = below;
    }
    const size_t base = out_.size();
    for (size_t k = 0; k < cur_.Size(); ++k) {
        TLineRec& line = cur_.Lines[k];
        if (cur_.Active[k]) line.Chars = cur_.Texts[k].TakeFront(cur_.Texts[k].Size());
        out_.push_back(std::move(line));
    }
    if (spot_ == TSpot::Current) {
        spot_ = TSpot::Out;
        spotIndex_ += base;
    }
    cur_.Clear();
}

bool TLineBreaker::StartsParagraph(size_t k) const {
    const TLineRec& line = cur_.Lines[k];
    if (line.RowStart) return true;
    const int64_t before = static_cast<int64_t>(out_.size() + k) - line.CellsInRow;
    const TLineRec* prev = nullptr;
    if (before >= 0) {
        prev = &out_[static_cast<size_t>(before)];
    } else {
        // The line before may lie on the previous page of the chain.
        int32_t f = field_;
        int32_t l = static_cast<int32_t>(std::max<int64_t>(before, INT32_MIN));
        doc_.GoToLine(f, l);
        if (f != field_ && l >= 0 && l < doc_.Fields[f].LineCount())
            prev = &doc_.Fields[f].Lines[l];
    }
    return !prev || prev->EndKind == 1 || prev->EndKind == 3 || prev->RowEnd;
}

void TLineBreaker::Number(TLineRec& line, bool start) {
    if (!start) return;
    int32_t& counter = pass_.Counters[line.CellIndex];
    if (line.Para.ListKind == 3) return;  // the importer numbered it
    if (line.Para.ListKind == 2) {
        line.Para.ListNumber = counter;
        counter = counter < INT32_MAX ? counter + 1 : counter;
    } else {
        counter = 1;
    }
}

double TLineBreaker::AvailableWidth(size_t k) const {
    const TLineRec& line = cur_.Lines[k];
    double width = width_;
    if (line.ColumnCount > 1) {
        width = (width_ - (line.ColumnCount - 1) * line.ColumnSpacing) / line.ColumnCount;
    }
    // A row of one cell is placed in its cell like any other row, so its text is broken to
    // the cell's width too.
    if (line.InTable) {
        double total = 0;
        for (const TLineRec& cell : cur_.Lines)
            total += cell.CellWidth;
        const double inner = width - line.TableIndent - line.TableRightGap;
        // Quirk: cells without widths share the row equally instead of dividing by zero.
        width = total > 0 ? inner * line.CellWidth / total : inner / line.CellsInRow;
    }
    return width;
}

void TLineBreaker::BreakCell(size_t k, bool start) {
    TLineRec& line = cur_.Lines[k];
    double x = line.Para.LeftIndent;
    if (start) {
        x += line.Para.FirstLineIndent;
        if (line.Para.ListKind == 3) {
            const std::span<TCharRec* const> text = cur_.Texts[k].Chars();
            const int32_t first = text.empty() ? -1 : text.front()->FontIndex;
            PlaceListLabel(doc_, line.Para, first);
        }
        if (line.Para.ListKind != 0) x += line.Para.ListIndent;
    }
    line.LineHeight = -1;
    const std::span<TCharRec* const> chars = cur_.Texts[k].Chars();
    const TLineBreak found = ScanLine(chars, x, AvailableWidth(k), line, pass_);
    SetRowHeights(k, SpacedLineHeight(found.Height, line.Para, pass_.Font));
    if (found.Kind < 0) return;
    const size_t pos =
        found.Kind == 0 && !found.AfterFullTab ? BetterBreak(chars, found.Pos) : found.Pos;
    HandOn(k, found.Kind, pos);
}

void TLineBreaker::SetRowHeights(size_t k, double height) {
    TLineRec& line = cur_.Lines[k];
    const size_t cells = cur_.Size();
    if (cells > 1 && k == cells - 1) {
        for (const TLineRec& cell : cur_.Lines)
            height = std::max(height, cell.LineHeight);
        for (TLineRec& cell : cur_.Lines)
            cell.LineHeight = height;
    }
    double before = 0;
    double after = 0;
    for (const TLineRec& cell : cur_.Lines) {
        before = std::max(before, cell.Para.SpaceBefore);
        after = std::max(after, cell.Para.SpaceAfter);
    }
    for (TLineRec& cell : cur_.Lines) {
        cell.Para.SpaceBefore = before;
        cell.Para.SpaceAfter = after;
    }
    line.LineHeight = height;
}

void TLineBreaker::HandOn(size_t k, int32_t kind, size_t pos) {
    TLineRec& line = cur_.Lines[k];
    if (pending_.Empty()) {
        const size_t n = pos_ + k;
        const TLineRec* next = n < input_.size() ? &input_[n] : nullptr;
        const bool nextHasText =
            next && (!next->Chars.empty() || (!joined_.empty() && !joined_[n].empty()));
        if (NeedsNewRow(line, next, nextHasText, kind)) {
            if (!RoomForRow()) {
                // The line keeps the rest of its text; the document is over its limit anyway.
                pass_.Limited = true;
                return;
            }
            InsertRow();
        }
    }
    TLineRec& next = pending_.Empty() ? input_[pos_ + k] : pending_.Lines[k];
    TLineText* nextText = pending_.Empty() ? nullptr : &pending_.Texts[k];
    next.Dirty = 1;
    if (kind == 1) next.Para = doc_.PendingPara;
    if (kind > 0) line.EndKind = kind;
    MoveText(k, kind, pos, next, nextText);
}

// Whether the document stays within kMaxLines with one more row of lines.
bool TLineBreaker::RoomForRow() const {
    const auto lines = static_cast<int64_t>(out_.size() + cur_.Size() + input_.size() - pos_);
    return otherLines_ + lines + static_cast<int64_t>(cur_.Size()) <= kMaxLines;
}

void TLineBreaker::InsertRow() {
    const size_t cells = cur_.Size();
    pending_.Resize(cells);
    pending_.Active.assign(cells, 1);
    for (size_t r = 0; r < cells; ++r) {
        TLineRec& upper = cur_.Lines[r];
        TLineRec& fresh = pending_.Lines[r];
        // The row's end moves down with it: the upper lines now continue below.
        fresh.EndKind = upper.EndKind;
        upper.EndKind = 0;
        fresh.RowEnd = upper.RowEnd;
        upper.RowEnd = 0;
        fresh.InTable = upper.InTable;
        fresh.CellsInRow = upper.CellsInRow;
        fresh.CellIndex = upper.CellIndex;
        fresh.TableIndent = upper.TableIndent;
        fresh.TableRightGap = upper.TableRightGap;
        fresh.CellWidth = upper.CellWidth;
        fresh.CellDesign = upper.CellDesign;
        fresh.Para = upper.Para;
        // A continuation row starts no paragraph. Its cells after the one that breaks are not
        // numbered yet in this pass, so their numbers would be the last pass's; an ordinary
        // line keeps its paragraph's number.
        if (upper.InTable) fresh.Para.ListNumber = 0;
        fresh.ColumnCount = upper.ColumnCount;
        fresh.ColumnSeparator = upper.ColumnSeparator;
        fresh.ColumnSpacing = upper.ColumnSpacing;
        fresh.Dirty = 1;
    }
}

void TLineBreaker::MoveText(size_t k, int32_t kind, size_t pos, TLineRec& next,
                            TLineText* nextText) {
    TLineRec& line = cur_.Lines[k];
    TLineText& text = cur_.Texts[k];
    const size_t keep = kind > 0 ? pos - 1 : pos;  // a kept end is dropped
    const size_t nextOwn = nextText ? nextText->Size() : next.Chars.size();
    line.Chars = text.TakeFront(keep, pos - keep);
    cur_.Active[k] = 0;
    const size_t moved = text.Size();
    if (nextText && nextOwn == 0) {
        *nextText = std::move(text);
    } else if (nextText) {
        TLineText joined = std::move(text);
        joined.Append(nextText->TakeFront(nextOwn));
        *nextText = std::move(joined);
    } else {
        std::vector<TCharRec> rest = text.TakeFront(moved);
        std::move(next.Chars.begin(), next.Chars.end(), std::back_inserter(rest));
        next.Chars = std::move(rest);
    }
    text = TLineText{};

    const TSpot nextSpot = nextText ? TSpot::Pending : TSpot::Input;
    const size_t nextIndex = nextText ? k : pos_ + k;
    if (spot_ == TSpot::Current && spotIndex_ == k) {
        if (spotChar_ >= static_cast<int64_t>(pos)) {
            spot_ = nextSpot;
            spotIndex_ = nextIndex;
            spotChar_ = std::clamp<int64_t>(spotChar_ - static_cast<int64_t>(pos), 0,
                                            static_cast<int64_t>(moved + nextOwn));
        } else {
            spotChar_ = std::min<int64_t>(spotChar_, static_cast<int64_t>(line.Chars.size()));
        }
    } else if (spot_ == nextSpot && spotIndex_ == nextIndex) {
        spotChar_ += static_cast<int64_t>(moved);
    }
}

void TLineBreaker::StartCursor() {
    if (doc_.CurField != field_) return;
    if (doc_.CurLine >= 0 && static_cast<size_t>(doc_.CurLine) < input_.size()) {
        spot_ = TSpot::Input;
        spotIndex_ = static_cast<size_t>(doc_.CurLine);
        spotChar_ = doc_.CurChar;
    } else if (doc_.CurLine >= 0) {
        spot_ = TSpot::PastEnd;
        spotIndex_ = static_cast<size_t>(doc_.CurLine) - input_.size();
    }
}

void TLineBreaker::FinishCursor() {
    if (spot_ == TSpot::Out) {
        doc_.CurLine = static_cast<int32_t>(spotIndex_);
        doc_.CurChar = static_cast<int32_t>(spotChar_);
    } else if (spot_ == TSpot::PastEnd) {
        doc_.CurLine = static_cast<int32_t>(doc_.Fields[field_].Lines.size() + spotIndex_);
    }
}

}  // namespace

void BreakFieldLines(TLayoutPass& pass, int32_t fieldIndex) {
    const int64_t others = pass.TotalLines - pass.Doc.Fields[fieldIndex].LineCount();
    NormalizeRows(pass.Doc.Fields[fieldIndex].Lines);
    std::vector<TJoinedPieces> joined = JoinSoftLines(pass.Doc, fieldIndex);
    NormalizeRows(pass.Doc.Fields[fieldIndex].Lines);
    TLineBreaker(pass, fieldIndex, std::move(joined), others).Run();
    pass.TotalLines = others + pass.Doc.Fields[fieldIndex].LineCount();
}

}  // namespace qm
