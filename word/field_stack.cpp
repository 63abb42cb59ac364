#include "word/field_stack.h"

namespace qm {

void TFieldStack::Begin() {
    open_.push_back(true);
    ++inCode_;
}

void TFieldStack::Separate() {
    // A second separator of the same field changes nothing.
    if (open_.empty() || !open_.back()) return;
    open_.back() = false;
    --inCode_;
}

void TFieldStack::End() {
    if (open_.empty()) return;
    if (open_.back()) --inCode_;
    open_.pop_back();
}

void TFieldStack::Clear() {
    open_.clear();
    inCode_ = 0;
}

}  // namespace qm
