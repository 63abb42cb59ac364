// Where the text of a list paragraph's first line starts after the label the importer gave:
// the label stands at the first line's indent, its follower (a tab, a space or nothing) leads
// to the text.
#pragma once

#include "model/document.h"

namespace qm {

// Sets para.ListShift (where the label starts from the first line's indent, by its alignment)
// and para.ListIndent (the gap from that indent to the text), mm, the label measured in its font
// entry (para.ListFont, else fallbackFont). A tab follower reaches the next tab stop after the
// label; a hanging indent counts as one.
void PlaceListLabel(TDocument& doc, TParaFormat& para, int32_t fallbackFont);

}  // namespace qm
