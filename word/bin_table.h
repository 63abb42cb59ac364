// A bin table with its formatted-property pages (PlcBteChpx and PlcBtePapx,
// 2.9.44 ChpxFkp, 2.9.177 PapxFkp): 512-byte pages of the main stream, each holding runs of
// FCs and, per run, the offset of its property list in the page.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "word/interval_index.h"

namespace qm {

inline constexpr size_t kFkpSize = 512;

// One run of a property page: FCs [Start, End) share the property list that entry Index of
// the page points to.
struct TFkpRun {
    std::span<const uint8_t> Page;  // the whole 512-byte page
    uint32_t Start = 0;             // rgfc[j]
    uint32_t End = 0;               // rgfc[j + 1]
    uint8_t Index = 0;              // j
    uint8_t Crun = 0;               // number of runs of the page (its last byte)
};

class TBinTable {
  public:
    TBinTable() = default;

    // Reads the table at fc (lcb bytes) of the table stream and finds its pages in the main
    // stream. A page that lies outside the main stream is skipped (its runs are not known); a
    // page named twice is looked at once, as a scan in table order would only ever find its
    // first appearance.
    static TBinTable Read(std::span<const uint8_t> tableStream, uint32_t fc, uint32_t lcb,
                          std::span<const uint8_t> mainStream);

    // The same for the page numbers given (a Word 6 table stores them in 16 bits).
    static TBinTable FromPages(std::span<const uint32_t> pageNumbers,
                               std::span<const uint8_t> mainStream);

    int32_t PageCount() const { return pageCount_; }
    int32_t MissingPages() const { return missingPages_; }

    // The run that holds fc (the first one in page order), or -1.
    int32_t FindRun(uint64_t fc) const { return index_.Find(static_cast<int64_t>(fc)); }
    const TFkpRun& Run(int32_t id) const { return runs_[id]; }

  private:
    void AddPage(std::span<const uint8_t> page, std::vector<TInterval>& spans);

    std::vector<TFkpRun> runs_;
    TIntervalIndex index_;
    int32_t pageCount_ = 0;
    int32_t missingPages_ = 0;
};

}  // namespace qm
