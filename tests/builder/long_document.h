// Long documents for benchmarks and limit tests: running text of plain and emphasised words in
// paragraphs, a given number of pages long.
#pragma once

#include <cstdint>

#include "builder/word_builder.h"

namespace qm {

// Running text that fills kLongDocumentPageChars characters of each page (A4, default margins,
// 12-point type) and ends every page but the last with a page break, so that a document laid
// out right has exactly `pages` pages. The words come from a fixed list in a fixed
// pseudo-random order; every eleventh word is bold and every seventeenth italic.
TWordBuilder LongTextDocument(int32_t pages);

// The characters of a page of LongTextDocument, page break and paragraph marks included
// (about three quarters of the page).
inline constexpr int64_t kLongDocumentPageChars = 4200;

}  // namespace qm
