// Breaking the lines of one field: the scan of one line for its break and height.
#pragma once

#include <span>

#include "model/layout_pass.h"

namespace qm {

// Where and how a line breaks. Kind -1: the whole text fits and nothing breaks; 0: a soft
// break before Pos; 1, 2, 3: a kept paragraph, line or page end just before Pos.
struct TLineBreak {
    int32_t Kind = -1;
    size_t Pos = 0;
    double Height = -1;  // the tallest character that fitted, -1 when none did
    // A soft break (Kind 0) right after a tab that reaches the line's end: the line ends there,
    // not at an earlier break chance.
    bool AfterFullTab = false;
};

// The characters are given by pointers: a line's text may lie in several arrays.
//
// Scans the characters of a line that starts at x, with width mm available, setting the tab
// widths on the way and the measuring font to the last character that fits. A kept paragraph
// end copies its format into doc.PendingPara (or, lacking one, the line's own format).
TLineBreak ScanLine(std::span<TCharRec* const> chars, double x, double width, const TLineRec& line,
                    TLayoutPass& pass);

// Moves a soft break back to the last space or hyphen before it (which stay on the line) or
// the last tab after the first character (which goes to the next line), or to a later break
// the line-breaking rules allow next to text outside Windows-1252 (see break_chances.h).
// Without any, the break stays before the character that overflows.
size_t BetterBreak(std::span<TCharRec* const> chars, size_t pos);

// The height of a line from its tallest character and its line spacing.
double SpacedLineHeight(double tallest, const TParaFormat& para, TMeasuringFont& font);

}  // namespace qm
