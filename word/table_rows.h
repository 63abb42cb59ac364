// Table rows in the model: each cell of a row is one line; at the row end the cells' lines are
// marked as the cells of one row, with the widths, place and shading of the row definition.
#pragma once

#include <span>

#include "model/records.h"
#include "word/word_properties.h"

namespace qm {

// The first page body's text area, which rows are placed in.
struct TRowArea {
    double TextWidth = 0;  // page width less both margins, mm
    double MarginLeft = 0;
    double MarginRight = 0;
};

// Marks cells (the lines of one row's cells, in order) as a table row by row. Cells without text
// get the column settings of the first one with text, else those of sep.
void MakeTableRow(std::span<TLineRec> cells, const TRowDefinition& row, const TSep& sep,
                  const TRowArea& area);

// The format a kept paragraph end inside a cell starts with: the line's, without spacing and
// tabs, with the cell padding as indents.
TParaFormat CellParagraphFormat(const TParaFormat& lineFormat);

}  // namespace qm
