// The stylesheet ([MS-DOC] 2.9.271 STSH): each style's paragraph and character properties,
// built on its base style, and character styles' raw property lists.
#pragma once

#include <cstdint>
#include <span>

namespace qm {

struct WordImportContext;

// Reads the stylesheet at fcStshf of the table stream into ctx.styles. Uses ctx's CHP and PAP
// as work records. Style 0 always exists afterwards (with the defaults when the stylesheet
// holds no styles).
void ReadStylesheet(WordImportContext& ctx, std::span<const uint8_t> tableStream, uint32_t fcStshf);

}  // namespace qm
