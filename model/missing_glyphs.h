// Characters that no installed face can draw: they show as their font's missing glyph, so the
// user is told how many there are.
#pragma once

#include <cstdint>

#include "base/notices.h"
#include "model/document.h"

namespace qm {

// The text characters of the document (every field, printable code points as they are shown,
// capitals for small and all caps) for which neither their font's face nor any fallback face
// has a glyph.
int64_t CountMissingGlyphs(const TDocument& doc);

// Adds "N characters have no glyph in the installed fonts." when there are any.
void ReportMissingGlyphs(const TDocument& doc, TNotices& notices);

}  // namespace qm
