// The stories of a Word document: the main text and the texts that hang off it (footnotes,
// headers and footers, comments, endnotes, text boxes). They share one run of CPs, each story
// right after the one before, in the order of the FIB's story lengths (FibRgLw97).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "word/fib.h"

namespace qm {

class TNotices;

enum class TStoryKind {
    Main,
    Footnotes,
    Headers,  // headers and footers, with their separators
    Macros,   // unused by Word 97, but it takes its place
    Comments,
    Endnotes,
    TextBoxes,
    HeaderTextBoxes,
};
inline constexpr size_t kStoryKinds = 8;

// CPs First .. Last, both included; empty when Last < First.
struct TCpRange {
    int64_t First = 0;
    int64_t Last = -1;

    bool Empty() const { return Last < First; }
};

struct TStory {
    TCpRange Cps;
    // The notes, comments or text boxes the story holds, counted from their PLC; 0 where the
    // table is missing or the kind has none of its own (main text, headers).
    int64_t Items = 0;
};

class TStoryTable {
  public:
    TStoryTable() = default;
    // The stories' places from the FIB's lengths, and their items from the PLCs of the table
    // stream.
    TStoryTable(const TFib& fib, std::span<const uint8_t> tableStream);

    const TStory& operator[](TStoryKind kind) const { return stories_[static_cast<size_t>(kind)]; }

    // What the import leaves out of this file: one notice for each kind of story that holds text
    // and is not read (footnotes, comments, endnotes, text boxes), counting its items.
    void ReportUnread(TNotices& notices) const;

  private:
    std::array<TStory, kStoryKinds> stories_{};
};

}  // namespace qm
