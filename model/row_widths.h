// The widths of table rows as the page shows them. A row stands in its line's text column,
// indented from the column's left edge and short of its right edge; its cells share the width
// that leaves in proportion to their CellWidth values. The layout settles these values once
// after an import (SettleTableRows), and the page walk places the cells with the same
// arithmetic without writing anything back.
#pragma once

#include <cstdint>
#include <span>

#include "model/document.h"

namespace qm {

// The width of a field's text area in mm as the page walk draws it: a field measured from the
// right edge is measured from the paper's width (PageWidthMM), not from the layout's page.
double FieldInnerWidth(const TDocument& doc, const TFieldRec& field);

// The width of the text column the line stands in, mm.
double LineColumnWidth(const TLineRec& line, double innerWidth);

// Where a row stands in a column of width `column`, from the values one of its lines holds.
struct TRowFit {
    double Indent = 0;    // TableIndent, reduced so that at least 10 mm of the column remain
    double RightGap = 0;  // TableRightGap with an encoded table width decoded
    double Width = 0;     // what indent and gap leave of the column, at least 10 mm
};
TRowFit FitRow(const TLineRec& line, double column);

// The lines [First, Last) of the field that form the row of line `lineIndex`: CellsInRow
// lines starting CellIndex lines back, within the field. The span always holds the line.
struct TRowSpan {
    int32_t First = 0;
    int32_t Last = 0;
};
TRowSpan RowSpanOf(const TFieldRec& field, int32_t lineIndex);

// The sum the cells' shares are taken of. Quirk: a row without usable widths (their sum is
// not above 0) gets equal cells, every width 1, instead of a division by 0.
double ShareSum(std::span<double> widths);

// Turns the widths into millimetres of a row `rowWidth` wide, each keeping its share of `sum`.
void ScaleRowWidths(std::span<double> widths, double rowWidth, double sum);

// Settles the table rows of a fresh import: for every table line, in the order the page walk
// draws them, the indent is reduced to fit, an encoded right gap decoded and the widths of the
// line's row turned into millimetres of the row's width. Returns whether any value changed.
bool SettleTableRows(TDocument& doc);

}  // namespace qm
