// The text of a line while it is laid out: whole character arrays (pieces: the line's own and
// those joined to it) with a pointer to every character in order. Lines are taken from its
// front; a line that coincides with a whole piece takes that array as it is, so text whose
// line breaks do not change is never copied.
#pragma once

#include <span>
#include <vector>

#include "model/records.h"

namespace qm {

class TLineText {
  public:
    TLineText() = default;
    TLineText(std::vector<TCharRec> own, std::vector<std::vector<TCharRec>> joined);

    size_t Size() const { return chars_.size() - start_; }
    std::span<TCharRec* const> Chars() const { return {chars_.data() + start_, Size()}; }

    // Takes the first `count` characters out as one array, then drops `drop` more (a kept
    // end that a break consumes).
    std::vector<TCharRec> TakeFront(size_t count, size_t drop = 0);

    // Appends characters behind the text.
    void Append(std::vector<TCharRec> piece);

  private:
    std::vector<std::vector<TCharRec>> pieces_;
    std::vector<size_t> pieceEnd_;  // in character positions
    std::vector<TCharRec*> chars_;
    size_t start_ = 0;  // characters before it are taken
    size_t piece_ = 0;  // pieces before it are wholly taken
};

}  // namespace qm
