// Fields in a story's text: a field begin mark (0x13), the field's code, a separator (0x14),
// the field's result and an end mark (0x15). Fields nest, in a code as in a result; only the
// results are shown, and a field inside another's code is part of that code.
#pragma once

#include <cstdint>
#include <vector>

namespace qm {

class TFieldStack {
  public:
    void Begin();
    // The innermost open field's code ends; its result follows.
    void Separate();
    // The innermost open field ends. An end without an open field is ignored.
    void End();
    void Clear();

    // Whether the text at this point belongs to the code of an open field.
    bool InCode() const { return inCode_ > 0; }

  private:
    std::vector<bool> open_;  // per open field, innermost last: whether its code still runs
    int32_t inCode_ = 0;      // the open fields whose code still runs
};

}  // namespace qm
