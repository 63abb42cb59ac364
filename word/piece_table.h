// The piece table (Clx, PlcPcd): which bytes of the main stream hold
// the document's characters, CP by CP.
#pragma once

#include <cstdint>
#include <span>

#include "word/interval_index.h"
#include "word/plc.h"

namespace qm {

// Where one character is stored: its byte offset in the main stream and its width.
struct TTextPos {
    uint64_t Fc = 0;
    bool Wide = false;  // two bytes (UTF-16) instead of one (Windows-1252)
};

class TPieceTable {
  public:
    TPieceTable() = default;

    // Reads the piece table from the complex file information at fcClx (lcbClx bytes) of the
    // table stream. Property-modifier entries before it are skipped, not applied.
    static TPieceTable Read(std::span<const uint8_t> tableStream, uint32_t fcClx, uint32_t lcbClx);

    int32_t Count() const { return pieces_.Count(); }
    const Plc<uint32_t>& Pieces() const { return pieces_; }

    // Maps a CP to its FC. A CP on a piece boundary belongs to the later piece (the
    // piece that starts there). Returns false when no piece covers cp.
    bool Map(int64_t cp, TTextPos& pos) const;
    // The same; runEnd receives the first CP after cp that may lie elsewhere (up to there the
    // characters follow each other in the stream).
    bool Map(int64_t cp, TTextPos& pos, int64_t& runEnd) const;

  private:
    Plc<uint32_t> pieces_;  // records: the piece's fc (bit 30: 8-bit text at fc / 2)
    TIntervalIndex index_;
};

}  // namespace qm
