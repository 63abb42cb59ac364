#include "model/break_chances.h"

#include <linebreak.h>

#include <algorithm>
#include <vector>

#include "base/cp1252.h"

namespace qm {

namespace {

// Characters after the break position the rules may look at (combining marks, numbers with
// their prefixes): the decision before chars[pos] never needs the whole rest of a paragraph.
constexpr size_t kLookahead = 32;

constexpr utf32_t kObjectReplacement = 0xFFFC;

void InitOnce() {
    static const bool ready = [] {
        init_linebreak();
        return true;
    }();
    (void)ready;
}

bool HasWideText(std::span<TCharRec* const> chars, size_t first, size_t last) {
    for (size_t i = first; i <= last; ++i) {
        if (IsWideText(*chars[i])) return true;
    }
    return false;
}

}  // namespace

bool IsWideText(const TCharRec& ch) {
    if (ch.Kind != 0) return false;
    const char32_t code = ch.Code;
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return false;
    uint8_t byte;
    return !Cp1252FromUnicode(code, byte);
}

size_t LastWideBreak(std::span<TCharRec* const> chars, size_t from, size_t pos) {
    if (pos == 0 || pos >= chars.size() || from >= pos) return 0;
    if (!HasWideText(chars, from, pos)) return 0;
    InitOnce();
    // The rules run from the line's start: what lies before it already ended a line.
    const size_t end = std::min(chars.size(), pos + 1 + kLookahead);
    std::vector<utf32_t> text(end);
    for (size_t i = 0; i < end; ++i) {
        const TCharRec& ch = *chars[i];
        text[i] = ch.Kind == 0 ? static_cast<utf32_t>(ch.Code) : kObjectReplacement;
    }
    std::vector<char> breaks(end);
    set_linebreaks_utf32(text.data(), end, nullptr, breaks.data());
    for (size_t b = pos; b > from; --b) {
        const TCharRec& before = *chars[b - 1];
        if (breaks[b - 1] == LINEBREAK_NOBREAK || breaks[b - 1] == LINEBREAK_INSIDEACHAR) continue;
        // A tab goes to the next line with what follows it rather than end a line.
        if (before.Kind == 0 && before.Code == 9) continue;
        if (IsWideText(before) || IsWideText(*chars[b])) return b;
    }
    return 0;
}

}  // namespace qm
