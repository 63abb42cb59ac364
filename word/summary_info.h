// The document's summary information: the OLE property set stream "\005SummaryInformation"
// (title, subject, author, keywords), read into the model's document information.
#pragma once

#include <cstdint>
#include <span>

#include "model/navigation.h"

namespace qm {

// The name of the stream in the compound file.
inline constexpr char kSummaryStreamName[] = "\005SummaryInformation";

struct TSummaryRead {
    TDocumentInfo Info;
    // Set when the stream is there but its property set, or one of the four properties, could
    // not be read (what could be read is kept).
    bool Damaged = false;
    // Characters of 8-bit strings that their code page does not hold, shown as '?'.
    int64_t Unconverted = 0;
};

// Reads the first property set of the stream when it is the summary information's. 8-bit
// strings (VT_LPSTR) are in the code page the set's code page property names (Windows-1252
// when it names none; 65001 UTF-8, 1200 UTF-16); each value is cut to kMaxInfoChars.
TSummaryRead ReadSummaryInformation(std::span<const uint8_t> stream);

// What one information entry may hold: far more than any title, and a bound on what a damaged
// stream can make the PDF carry.
inline constexpr size_t kMaxInfoChars = 4096;

}  // namespace qm
