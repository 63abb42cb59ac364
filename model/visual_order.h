// The order in which a line's characters stand on the page. Lines are broken in the order the
// text is stored; a line holding right-to-left text (Hebrew, Arabic) is then reordered on its
// own by the Unicode bidirectional algorithm (FriBidi) when it is drawn.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/records.h"

namespace qm {

struct TVisualChar {
    int32_t Index = 0;  // the character's place in the line as stored
    // What is drawn for it: its code, or the mirror image of a bracket or other mirrored
    // character that stands in a right-to-left run.
    char32_t Code = 0;
};

// The characters of a line from left to right; characters of right-to-left runs
// (TCharRec::RightToLeft) that have no strong direction count as right-to-left letters. Empty
// when the stored order is the visual one:
// the paragraph runs left to right (rightToLeft false) and the line holds no right-to-left
// character. A kept end (paragraph end, line break, page break in a cell) that ends the line
// stays last.
std::vector<TVisualChar> VisualOrder(std::span<const TCharRec> chars, bool rightToLeft);

}  // namespace qm
