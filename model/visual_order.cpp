#include "model/visual_order.h"

#include <fribidi.h>

#include <algorithm>
#include <limits>
#include <numeric>

namespace qm {

namespace {

// What the bidirectional algorithm sees for an inline picture: an object, a neutral.
constexpr FriBidiChar kObjectReplacement = 0xFFFC;

bool IsKeptEnd(const TCharRec& ch) {
    return ch.Kind == 0 && ch.Code >= 13 && ch.Code <= 15;
}

FriBidiChar BidiCode(const TCharRec& ch) {
    return ch.Kind == 1 ? kObjectReplacement : static_cast<FriBidiChar>(ch.Code);
}

// Right-to-left letters and the controls that open right-to-left text (Arabic digits are
// weak and do not count).
bool StartsRightToLeft(FriBidiCharType type) {
    return FRIBIDI_IS_RTL(type) != 0;
}

// Every right-to-left letter and control lies at or above the Hebrew block; most lines hold
// nothing there and need no closer look.
constexpr char32_t kFirstRightToLeft = 0x0590;

bool MayHoldRightToLeft(std::span<const TCharRec> chars) {
    return std::any_of(chars.begin(), chars.end(), [](const TCharRec& ch) {
        return ch.Kind == 0 && ch.Code >= kFirstRightToLeft;
    });
}

// The levels of the text as one paragraph; false when FriBidi could not resolve them.
bool ResolveLevels(const std::vector<FriBidiChar>& text, const std::vector<FriBidiCharType>& types,
                   FriBidiParType& base, std::vector<FriBidiLevel>& levels) {
    const auto n = static_cast<FriBidiStrIndex>(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    fribidi_get_bracket_types(text.data(), n, types.data(), brackets.data());
    levels.assign(text.size(), 0);
    return fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &base,
                                               levels.data()) != 0;
}

}  // namespace

std::vector<TVisualChar> VisualOrder(std::span<const TCharRec> chars, bool rightToLeft) {
    if (!rightToLeft && !MayHoldRightToLeft(chars)) return {};
    size_t n = chars.size();
    while (n > 0 && IsKeptEnd(chars[n - 1]))
        --n;
    // FriBidi counts in int; a line that long is drawn as stored.
    if (n == 0 || n > static_cast<size_t>(std::numeric_limits<FriBidiStrIndex>::max())) return {};

    std::vector<FriBidiChar> text(n);
    for (size_t i = 0; i < n; ++i)
        text[i] = BidiCode(chars[i]);
    std::vector<FriBidiCharType> types(n);
    fribidi_get_bidi_types(text.data(), static_cast<FriBidiStrIndex>(n), types.data());
    if (!rightToLeft && std::none_of(types.begin(), types.end(), StartsRightToLeft)) return {};
    // In a right-to-left run, whatever has no strong direction of its own reads right to left.
    for (size_t i = 0; i < n; ++i)
        if (chars[i].RightToLeft && chars[i].Kind == 0 && !FRIBIDI_IS_STRONG(types[i]))
            types[i] = FRIBIDI_TYPE_RTL;

    FriBidiParType base = rightToLeft ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    std::vector<FriBidiLevel> levels;
    if (!ResolveLevels(text, types, base, levels)) return {};
    std::vector<FriBidiStrIndex> map(n);
    std::iota(map.begin(), map.end(), 0);
    if (fribidi_reorder_line(FRIBIDI_FLAGS_DEFAULT, types.data(), static_cast<FriBidiStrIndex>(n),
                             0, base, levels.data(), nullptr, map.data()) == 0)
        return {};

    std::vector<TVisualChar> order;
    order.reserve(chars.size());
    for (size_t v = 0; v < n; ++v) {
        const auto index = static_cast<size_t>(map[v]);
        FriBidiChar code = text[index];
        if (chars[index].Kind == 0 && FRIBIDI_LEVEL_IS_RTL(levels[index]))
            fribidi_get_mirror_char(code, &code);
        order.push_back({static_cast<int32_t>(index),
                         chars[index].Kind == 0 ? static_cast<char32_t>(code) : chars[index].Code});
    }
    for (size_t i = n; i < chars.size(); ++i)
        order.push_back({static_cast<int32_t>(i), chars[i].Code});
    return order;
}

}  // namespace qm
