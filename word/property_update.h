// Bringing the properties in force up to date for a character's FC: the paragraph's style and
// paragraph property list, then the character run's property list, from the pages of the bin
// tables ([MS-DOC] 2.4.6.1 and 2.4.6.2).
#pragma once

#include <cstdint>

namespace qm {

struct WordImportContext;

// Paragraph properties for fc: PAP and CHP := the paragraph style's (saved as the paragraph
// base), then the run's paragraph property list. Nothing changes when no run holds fc.
void UpdateParagraphProperties(WordImportContext& ctx, uint64_t fc);
// Character properties for fc: the run's character property list on top of the CHP in force.
void UpdateCharacterProperties(WordImportContext& ctx, uint64_t fc);

// Both, in that order. The result depends only on the two runs that hold fc, so the work is
// skipped while the runs stay the same (the common case: a run covers many characters).
void UpdateProperties(WordImportContext& ctx, uint64_t fc);

}  // namespace qm
