// The stylesheet (STSH): each style's paragraph and character properties, built on its base
// style, and character styles' raw property lists.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "word/word_properties.h"

namespace qm {

struct TStylesheet {
    std::vector<TStyleEntry> Styles;  // style 0 always exists
    // The work records as the reading leaves them: the last style's properties. Quirk: they
    // are the properties in force before the text's first property run applies any, so text
    // that no run covers shows them.
    TChp LastChp;
    TPap LastPap;
};

// Reads the stylesheet at fcStshf of the table stream. Without styles in it, style 0 gets the
// defaults. word6: the stylesheet of a Word 6 or Word 95 document (in its main stream), whose
// style names are 8-bit and whose property lists are in the older codes (word/sprm_word6.h).
TStylesheet ReadStylesheet(std::span<const uint8_t> tableStream, uint32_t fcStshf,
                           bool word6 = false);

}  // namespace qm
