#include "word/field_stack.h"

namespace qm {

void TFieldStack::Begin() {
    open_.emplace_back();
    ++inCode_;
}

bool TFieldStack::Separate() {
    // A second separator of the same field changes nothing.
    if (open_.empty() || !open_.back().InCode) return false;
    open_.back().InCode = false;
    --inCode_;
    return inCode_ == 0;
}

void TFieldStack::End() {
    if (open_.empty()) return;
    if (open_.back().InCode) --inCode_;
    open_.pop_back();
}

void TFieldStack::Clear() {
    open_.clear();
    inCode_ = 0;
}

void TFieldStack::AddCode(char32_t code) {
    if (open_.empty() || !open_.back().InCode || open_.back().Code.size() >= kMaxFieldCode) return;
    open_.back().Code.push_back(code);
}

std::u32string_view TFieldStack::Code() const {
    if (open_.empty()) return {};
    return open_.back().Code;
}

void TFieldStack::SetLink(int32_t link) {
    if (!open_.empty()) open_.back().Link = link;
}

int32_t TFieldStack::Link() const {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
        if (it->InCode) return -1;
        if (it->Link >= 0) return it->Link;
    }
    return -1;
}

}  // namespace qm
