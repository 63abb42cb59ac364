// The layout pass: line breaking, tabs, lists, table rows, text columns and pagination.
#pragma once

#include <cstdint>

namespace qm {

class TDocument;

// The most page bodies a chain gets. Ten thousand pages are ten times a long book; a page
// costs the layout, the preview and the PDF writer work of its own however little it holds, so
// that a document of page breaks alone must not run on.
inline constexpr int32_t kMaxPages = 10000;
// The most lines a layout lets the document hold. While the layout runs, a line takes about
// 900 bytes (its record with the paragraph format, in the old and the new array, and its
// characters' array), so half a million lines stay under 500 MB. Dense text fills 60 lines a
// page, and the most characters an import reads (kMaxCharacters) fill about 90,000 lines;
// only degenerate text gets near the limit (a huge font or narrow columns put a character on
// each line), and the text that would need more lines stays unbroken.
inline constexpr int64_t kMaxLines = int64_t{1} << 19;

// Measures the text characters of the dirty lines that were never measured, breaks and joins
// the dirty lines of every page-body chain and paginates them, creating and removing page
// bodies until every line has a place, or until the document reaches kMaxPages or kMaxLines:
// then the rest of a chain's text stays on its last page or line, and doc.LayoutLimited tells.
// After an import (doc.RowsUnsettled) it settles the table rows and, when that changed a
// width, breaks and paginates once more; doc.LayoutLimited tells of that last round.
void MakeSoftEnters(TDocument& doc);

// Appends the six header and footer fields (1 to 6) with their default geometry.
void CreateHeaderFooter(TDocument& doc);

// Whether a header or footer field with page selection code `code` and page number
// `fieldPage` is shown on the 0-based page `page`.
bool istOnAllPagesGedeckt(int code, int fieldPage, int page);

}  // namespace qm
