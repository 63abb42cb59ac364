#include "word/piece_table.h"

#include "base/byte_reader.h"

namespace qm {

namespace {

constexpr uint8_t kClxPrc = 1;   // a property-modifier entry
constexpr uint8_t kClxPcdt = 2;  // the piece table
constexpr uint32_t kCompressedBit = 0x40000000;

struct TPcd {
    uint32_t Fc = 0;
    uint16_t Prm = 0;
};

}  // namespace

TPieceTable TPieceTable::Read(std::span<const uint8_t> tableStream, uint32_t fcClx, uint32_t lcbClx,
                              bool eightBit) {
    TPieceTable table;
    table.eightBit_ = eightBit;
    if (fcClx > tableStream.size()) return table;
    ByteReader reader(tableStream);
    reader.Seek(fcClx);
    const uint64_t end = static_cast<uint64_t>(fcClx) + lcbClx;
    while (reader.Pos() < end && !reader.Failed()) {
        uint8_t type = 0;
        if (!reader.U8(type)) break;
        if (type == kClxPrc) {
            uint16_t cb = 0;
            reader.U16(cb);
            std::span<const uint8_t> list;
            if (reader.Bytes(cb, list)) table.lists_.push_back(list);
        } else if (type == kClxPcdt) {
            uint32_t lcb = 0;
            if (!reader.U32(lcb)) break;
            // Each piece descriptor is 8 bytes: flags, the 32-bit fc, a property modifier.
            const auto pcds = ReadPlc<TPcd>(tableStream, static_cast<uint32_t>(reader.Pos()), lcb,
                                            8, [](ByteReader& r, TPcd& pcd) {
                                                r.Skip(2);
                                                r.U32(pcd.Fc);
                                                r.U16(pcd.Prm);
                                            });
            table.pieces_.Positions = pcds.Positions;
            for (const TPcd& pcd : pcds.Records) {
                table.pieces_.Records.push_back(pcd.Fc);
                table.prms_.push_back(pcd.Prm);
            }
            break;  // the piece table ends the complex information
        }
    }
    // Piece i covers the CPs from Positions[i] to Positions[i + 1], both ends included, and
    // where pieces meet the later one wins.
    std::vector<TInterval> spans;
    const Plc<uint32_t>& p = table.pieces_;
    for (int32_t i = 0; i < p.Count(); ++i) {
        spans.push_back({p.Positions[i], static_cast<int64_t>(p.Positions[i + 1]) + 1});
    }
    table.index_ = TIntervalIndex(spans, TIntervalIndex::TWinner::Last);
    return table;
}

bool TPieceTable::Map(int64_t cp, TTextPos& pos) const {
    int64_t runEnd = 0;
    return Map(cp, pos, runEnd);
}

bool TPieceTable::Map(int64_t cp, TTextPos& pos, int64_t& runEnd) const {
    const int32_t i = index_.Find(cp, runEnd);
    if (i < 0) return false;
    const uint32_t fc = pieces_.Records[i];
    const uint64_t offset = static_cast<uint64_t>(cp - pieces_.Positions[i]);
    if (eightBit_) {
        pos.Fc = fc + offset;
        pos.Wide = false;
    } else if (fc & kCompressedBit) {
        pos.Fc = (fc & ~kCompressedBit) / 2 + offset;
        pos.Wide = false;
    } else {
        pos.Fc = fc + 2 * offset;
        pos.Wide = true;
    }
    return true;
}

}  // namespace qm
