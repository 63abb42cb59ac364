// Tab widths: a tab reaches the first explicit stop beyond the running position, aligned to
// the text that follows it, or else the next default stop.
#pragma once

#include <span>

#include "model/records.h"

namespace qm {

// The default tab interval used when a paragraph's own is 0, negative or not a number.
inline constexpr double kDefaultTabWidth = 12.5;

// Sets Width and TabLeader of the tab *chars[index], which starts at x mm from the left text
// edge. The text after it (the rest of the paragraph) decides the width for centred, right and
// decimal stops. Returns whether one of the paragraph's own stops placed it (false for a
// default stop).
bool SetTabWidth(std::span<TCharRec* const> chars, size_t index, double x, const TParaFormat& para);

}  // namespace qm
