// How much text an import would read, counted before anything is read: the characters of the
// stories and those of them that end a line (paragraph and cell marks, line and page breaks),
// so that a document over the import's limits is refused before it takes
// the memory.
#pragma once

#include <cstdint>

namespace qm {

struct TCpRange;
struct TWordFile;

struct TTextCensus {
    uint64_t Characters = 0;
    uint64_t LineEnds = 0;
};

// Counts the story's CPs as the story reader reads them: up to the first CP that no piece holds
// or whose bytes lie beyond the main stream. Counts no more than cap characters in all; the
// pieces are walked run by run, so the work is bounded by cap and the stream's size.
void CountStoryText(const TWordFile& file, const TCpRange& story, uint64_t cap,
                    TTextCensus& census);

// The stories an import reads: the main text and the header and footer stories of the first
// section.
TTextCensus CountDocumentText(const TWordFile& file, uint64_t cap);

}  // namespace qm
