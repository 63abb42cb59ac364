#include "word/row_definition.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace qm {

void DefineRow(TRowDefinition& row, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    uint8_t cells = 0;
    r.U8(cells);
    row.DefinedCells = cells;
    // The cells' edges (itcMac + 1 signed twips) must lie inside the operand.
    const size_t edges = static_cast<size_t>(cells) + 1;
    if (r.Failed() || 2 * edges > r.Remaining()) {
        ++row.Damaged;
        return;
    }
    if (cells > kMaxRowCells) return;
    for (size_t k = 0; k < edges; ++k) {
        int16_t edge = 0;
        r.I16(edge);
        row.CellDefs[k].Boundary = edge;
        row.CellDefs[k].Defined = true;
    }
}

void DefineRowShading(TRowDefinition& row, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    const size_t count = std::min<size_t>(operand.size() / 2, kMaxRowCells);
    for (size_t k = 0; k < count; ++k) {
        uint16_t shading = 0;
        r.U16(shading);
        row.CellDefs[k].Shading = shading;
    }
}

}  // namespace qm
