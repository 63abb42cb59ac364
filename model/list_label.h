// Where the text of a list paragraph's first line starts after the label the importer gave:
// the label stands at the first line's indent, its follower (a tab, a space or nothing) leads
// to the text.
#pragma once

#include "model/document.h"

namespace qm {

// The gap from the label's start to the text's, mm, the label measured in its font entry
// (para.ListFont, else fallbackFont). A tab follower reaches the next tab stop after the label;
// a hanging indent counts as one.
double ListLabelAdvance(TDocument& doc, const TParaFormat& para, int32_t fallbackFont);

}  // namespace qm
