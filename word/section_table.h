// The section table (PlcfSed): where each section's CPs end and where its property list (Sepx)
// lies in the main stream.
#pragma once

#include <cstdint>
#include <span>

#include "word/interval_index.h"
#include "word/plc.h"

namespace qm {

// One section of the section table: where its property list lies in the main stream.
struct TSectionDescriptor {
    uint32_t FcSepx = 0xFFFFFFFF;  // 0xFFFFFFFF = none
};

class TSectionTable {
  public:
    TSectionTable() = default;
    // Reads the table at fc (lcb bytes) of the table stream.
    static TSectionTable Read(std::span<const uint8_t> tableStream, uint32_t fc, uint32_t lcb);

    const Plc<TSectionDescriptor>& Sections() const { return sections_; }
    // The section holding cp (a CP shared by two sections belongs to the later one), or -1.
    int32_t Find(int64_t cp) const { return index_.Find(cp); }
    // Whether a section starts at cp (the CP after a section mark).
    bool StartsAt(int64_t cp) const;

  private:
    Plc<TSectionDescriptor> sections_;
    TIntervalIndex index_;
};

}  // namespace qm
