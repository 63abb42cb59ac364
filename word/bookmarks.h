// The document's bookmarks: named places in the text, from the table of their names
// (SttbfBkmk) and the PLC of where each starts (PlcfBkf). Where they end (PlcfBkl) is not
// needed: a link to a bookmark opens the page where it starts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "word/fib.h"

namespace qm {

struct TBookmark {
    uint32_t Cp = 0;   // the first character's CP
    std::string Name;  // UTF-8
};

// The bookmarks in order of their CPs. Names and starts pair up by index; what only one of the
// two tables holds is left out, and so is a table that is not the extended (UTF-16) kind.
std::vector<TBookmark> ReadBookmarks(std::span<const uint8_t> tableStream, const TFib& fib);

}  // namespace qm
