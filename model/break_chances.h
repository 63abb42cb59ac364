// Break opportunities for text the plain rule cannot break: Latin text breaks only after a
// space or hyphen or before a tab, but Chinese or Japanese text has no spaces. Between two
// characters of which at least one lies outside Windows-1252 the Unicode line-breaking rules
// (libunibreak) decide instead: a line may break between two ideographs, after one or before
// one, yet not before "。", "、" or a closing bracket, nor after an opening one. Pairs of
// Windows-1252 characters keep the plain rule, so Latin text breaks exactly as it always did.
#pragma once

#include <cstddef>
#include <span>

#include "model/records.h"

namespace qm {

// Whether a character is text Windows-1252 lacks (pictures and Windows-1252 text are not).
bool IsWideText(const TCharRec& ch);

// The latest position b in (from, pos] at which the line `chars` may break before chars[b]
// between two characters at least one of which is wide text; 0 when there is none. pos must
// lie inside the line. Lines without wide text in chars[from..pos] cost one pass over them;
// only the others run the line-breaking rules, over the line up to a few characters past pos.
size_t LastWideBreak(std::span<TCharRec* const> chars, size_t from, size_t pos);

}  // namespace qm
