#include "model/row_widths.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace qm {

namespace {

// Values compare by their bits, so that a NaN read from a damaged file counts as unchanged.
bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

bool SetValue(double& slot, double value) {
    const bool changed = !SameBits(slot, value);
    slot = value;
    return changed;
}

// Settles the row of one table line: its place in its column, and its cells' widths scaled to
// the row's width.
bool SettleLine(TFieldRec& field, int32_t lineIndex, double innerWidth,
                std::vector<double>& widths) {
    TLineRec& line = field.Lines[lineIndex];
    const TRowFit place = FitRow(line, LineColumnWidth(line, innerWidth));
    bool changed = SetValue(line.TableIndent, place.Indent);
    changed |= SetValue(line.TableRightGap, place.RightGap);
    const TRowSpan span = RowSpanOf(field, lineIndex);
    widths.clear();
    for (int32_t k = span.First; k < span.Last; ++k)
        widths.push_back(field.Lines[k].CellWidth);
    ScaleRowWidths(widths, place.Width, ShareSum(widths));
    for (int32_t k = span.First; k < span.Last; ++k)
        changed |= SetValue(field.Lines[k].CellWidth, widths[k - span.First]);
    return changed;
}

bool SettleField(TDocument& doc, TFieldRec& field, std::vector<double>& widths) {
    const double inner = FieldInnerWidth(doc, field);
    bool changed = false;
    for (int32_t j = 0; j < field.LineCount(); ++j) {
        if (field.Lines[j].InTable) changed |= SettleLine(field, j, inner, widths);
    }
    return changed;
}

}  // namespace

double FieldInnerWidth(const TDocument& doc, const TFieldRec& f) {
    return (f.RightFromRight ? doc.PageWidthMM - f.Right - f.Left : f.Right - f.Left) -
           f.MarginLeft - f.MarginRight;
}

double LineColumnWidth(const TLineRec& line, double innerWidth) {
    if (line.ColumnCount < 2) return innerWidth;
    return (innerWidth - (line.ColumnCount - 1) * line.ColumnSpacing) / line.ColumnCount;
}

TRowFit FitRow(const TLineRec& line, double column) {
    TRowFit place;
    place.Indent = std::min(line.TableIndent, column - 10);
    place.RightGap = line.TableRightGap;
    // A gap beyond 99999 encodes the table's width: the gap is what the width leaves.
    if (place.RightGap > 99999) place.RightGap = column - place.Indent - (place.RightGap - 99999);
    place.Width = column - place.Indent - place.RightGap;
    if (place.Width <= 10) place.Width = 10;
    return place;
}

TRowSpan RowSpanOf(const TFieldRec& field, int32_t lineIndex) {
    const TLineRec& line = field.Lines[lineIndex];
    TRowSpan span;
    span.First = std::max(0, lineIndex - line.CellIndex);
    span.Last = std::min(field.LineCount(), span.First + std::max(line.CellsInRow, 1));
    // A line whose cell index puts it outside its own row (a model never laid out) stands
    // alone; the layout leaves only whole rows.
    if (lineIndex < span.First || lineIndex >= span.Last) span = {lineIndex, lineIndex + 1};
    return span;
}

double ShareSum(std::span<double> widths) {
    double sum = 0;
    for (double w : widths)
        sum += w;
    if (sum > 0) return sum;
    std::fill(widths.begin(), widths.end(), 1.0);
    return static_cast<double>(widths.size());
}

void ScaleRowWidths(std::span<double> widths, double rowWidth, double sum) {
    for (double& w : widths)
        w = rowWidth * w / sum;
}

bool SettleTableRows(TDocument& doc) {
    // The walk drew the page bodies first, then the headers and footers.
    std::vector<double> widths;
    bool changed = false;
    for (TFieldRec& field : doc.Fields) {
        if (field.Kind == kFieldBody) changed |= SettleField(doc, field, widths);
    }
    for (TFieldRec& field : doc.Fields) {
        if (field.Kind == kFieldHeader || field.Kind == kFieldFooter)
            changed |= SettleField(doc, field, widths);
    }
    return changed;
}

}  // namespace qm
