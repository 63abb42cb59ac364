// The piece table (Clx, PlcPcd): which bytes of the main stream hold
// the document's characters, CP by CP.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

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
    // table stream. The property lists before it (Prc) and each piece's modifier (Prm) are kept
    // for the version reader; the Word 97 reading does not apply them. eightBit: the file is a
    // Word 6 or Word 95 one, whose pieces all hold 8-bit text starting at their fc.
    static TPieceTable Read(std::span<const uint8_t> tableStream, uint32_t fcClx, uint32_t lcbClx,
                            bool eightBit = false);

    int32_t Count() const { return pieces_.Count(); }
    const Plc<uint32_t>& Pieces() const { return pieces_; }
    // Piece i's property modifier, and the property lists a complex modifier names by index.
    uint16_t Prm(int32_t i) const { return prms_[static_cast<size_t>(i)]; }
    const std::vector<std::span<const uint8_t>>& PropertyLists() const { return lists_; }

    // Maps a CP to its FC. A CP on a piece boundary belongs to the later piece (the
    // piece that starts there). Returns false when no piece covers cp.
    bool Map(int64_t cp, TTextPos& pos) const;
    // The same; runEnd receives the first CP after cp that may lie elsewhere (up to there the
    // characters follow each other in the stream).
    bool Map(int64_t cp, TTextPos& pos, int64_t& runEnd) const;

  private:
    Plc<uint32_t> pieces_;  // records: the piece's fc (bit 30: 8-bit text at fc / 2)
    TIntervalIndex index_;
    std::vector<uint16_t> prms_;                   // one per piece
    std::vector<std::span<const uint8_t>> lists_;  // views into the stream read
    bool eightBit_ = false;
};

}  // namespace qm
