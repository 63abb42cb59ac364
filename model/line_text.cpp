#include "model/line_text.h"

namespace qm {

TLineText::TLineText(std::vector<TCharRec> own, std::vector<std::vector<TCharRec>> joined) {
    size_t total = own.size();
    for (const auto& piece : joined)
        total += piece.size();
    chars_.reserve(total);
    pieces_.reserve(joined.size() + 1);
    Append(std::move(own));
    for (auto& piece : joined)
        Append(std::move(piece));
}

void TLineText::Append(std::vector<TCharRec> piece) {
    if (piece.empty()) return;
    // Moving a vector keeps its elements where they are, so the pointers stay valid when
    // pieces_ grows.
    pieces_.push_back(std::move(piece));
    for (TCharRec& ch : pieces_.back())
        chars_.push_back(&ch);
    pieceEnd_.push_back(chars_.size());
}

std::vector<TCharRec> TLineText::TakeFront(size_t count, size_t drop) {
    std::vector<TCharRec> taken;
    while (piece_ < pieces_.size() && pieceEnd_[piece_] <= start_)
        ++piece_;
    if (count > 0) {
        const size_t pieceBegin = piece_ == 0 ? 0 : pieceEnd_[piece_ - 1];
        if (start_ == pieceBegin && count == pieceEnd_[piece_] - pieceBegin) {
            taken = std::move(pieces_[piece_]);
        } else {
            taken.reserve(count);
            for (size_t i = 0; i < count; ++i)
                taken.push_back(std::move(*chars_[start_ + i]));
        }
    }
    start_ += count + drop;
    return taken;
}

}  // namespace qm
