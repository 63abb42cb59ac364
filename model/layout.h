// The layout pass: line breaking, tabs, lists, table rows, text columns and pagination.
#pragma once

namespace qm {

class TDocument;

// Breaks and joins the dirty lines of every page-body chain and paginates them, creating and
// removing page bodies until every line has a place.
void MakeSoftEnters(TDocument& doc);

// Appends the six header and footer fields (1 to 6) with their default geometry.
void CreateHeaderFooter(TDocument& doc);

// Whether a header or footer field with page selection code `code` and page number
// `fieldPage` is shown on the 0-based page `page`.
bool istOnAllPagesGedeckt(int code, int fieldPage, int page);

}  // namespace qm
