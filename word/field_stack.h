// Fields in a story's text: a field begin mark (0x13), the field's code, a separator (0x14),
// the field's result and an end mark (0x15). Fields nest, in a code as in a result; only the
// results are shown, and a field inside another's code is part of that code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// The code text kept per field: enough for an instruction with a long address.
inline constexpr size_t kMaxFieldCode = 2048;

class TFieldStack {
  public:
    void Begin();
    // The innermost open field's code ends; its result follows. True when that result is
    // shown: no other field's code runs around it.
    bool Separate();
    // The innermost open field ends. An end without an open field is ignored.
    void End();
    void Clear();

    // Whether the text at this point belongs to the code of an open field.
    bool InCode() const { return inCode_ > 0; }
    // A character of the innermost field's code (kept up to kMaxFieldCode).
    void AddCode(char32_t code);
    // The innermost field's code as far as it was read; empty without an open field.
    std::u32string_view Code() const;
    // The link the innermost field's result belongs to (an index into TDocument::Links).
    void SetLink(int32_t link);
    // The link of the text at this point: that of the innermost field whose result holds it
    // and that has one; -1 for none.
    int32_t Link() const;

  private:
    struct TOpenField {
        bool InCode = true;  // its code still runs
        std::u32string Code;
        int32_t Link = -1;
    };
    std::vector<TOpenField> open_;  // innermost last
    int32_t inCode_ = 0;            // the open fields whose code still runs
};

}  // namespace qm
