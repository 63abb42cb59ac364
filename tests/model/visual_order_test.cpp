// The visual order of a line: which stored character stands where from the left, and what is
// drawn for it.
#include "model/visual_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

std::vector<TCharRec> Chars(std::u32string_view text) {
    std::vector<TCharRec> chars;
    for (char32_t c : text) {
        TCharRec ch;
        ch.Code = c;
        chars.push_back(ch);
    }
    return chars;
}

std::vector<int32_t> Indexes(const std::vector<TVisualChar>& order) {
    std::vector<int32_t> out;
    for (const TVisualChar& v : order)
        out.push_back(v.Index);
    return out;
}

std::u32string Drawn(const std::vector<TVisualChar>& order) {
    std::u32string out;
    for (const TVisualChar& v : order)
        out.push_back(v.Code);
    return out;
}

TEST(VisualOrder, LeftToRightTextKeepsItsStoredOrder) {
    // Digits, brackets and punctuation in a left-to-right paragraph: nothing to reorder.
    EXPECT_TRUE(VisualOrder(Chars(U"(a) 1. [b] 2,5%"), false).empty());
    // Accented Latin, Greek and Cyrillic letters read left to right as well.
    EXPECT_TRUE(VisualOrder(Chars(U"\u00e9t\u00e9 \u03b1\u03b2 \u0436"), false).empty());
    // Arabic-Indic digits alone are weak: a left-to-right line of them stays as stored.
    EXPECT_TRUE(VisualOrder(Chars(U"x \u0661\u0662"), false).empty());
    EXPECT_TRUE(VisualOrder({}, true).empty());
}

TEST(VisualOrder, HebrewInsideALeftToRightLineIsReversedInPlace) {
    // "abc", alef bet gimel, "x": only the Hebrew word turns round.
    auto order = VisualOrder(Chars(U"abc \u05d0\u05d1\u05d2 x"), false);
    EXPECT_EQ(Indexes(order), (std::vector<int32_t>{0, 1, 2, 3, 6, 5, 4, 7, 8}));
    // A number after the Hebrew word belongs to the right-to-left text and stands left of
    // it, its digits still in their order.
    order = VisualOrder(Chars(U"abc \u05d0\u05d1\u05d2 123"), false);
    EXPECT_EQ(Drawn(order), U"abc 123 \u05d2\u05d1\u05d0");
}

TEST(VisualOrder, RightToLeftParagraphReadsFromTheRightWithNumbersAndBracketsKept) {
    // alef bet, space, "(gimel)", space, "12" in a right-to-left paragraph: from the left the
    // number (still left to right), the bracketed word with its brackets mirrored so that
    // they still open towards it, then bet alef.
    const auto order = VisualOrder(Chars(U"\u05d0\u05d1 (\u05d2) 12"), true);
    EXPECT_EQ(Indexes(order), (std::vector<int32_t>{7, 8, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(Drawn(order), U"12 (\u05d2) \u05d1\u05d0");
    // Latin text in a right-to-left paragraph keeps its order; the full stop that ends it
    // goes to the paragraph's end, the left.
    EXPECT_EQ(Drawn(VisualOrder(Chars(U"ab cd."), true)), U".ab cd");
    // Arabic letters count as right to left too.
    EXPECT_EQ(Indexes(VisualOrder(Chars(U"x \u0627\u0628"), false)),
              (std::vector<int32_t>{0, 1, 3, 2}));
}

TEST(VisualOrder, AKeptEndStaysLastAndPicturesAreNeutral) {
    std::vector<TCharRec> chars = Chars(U"\u05d0P\u05d1\r");
    chars[1].Kind = 1;  // an inline picture between two Hebrew letters
    chars[1].Code = 1;
    const auto order = VisualOrder(chars, false);
    EXPECT_EQ(Indexes(order), (std::vector<int32_t>{2, 1, 0, 3}));
    EXPECT_EQ(order[1].Code, U'\1');  // a picture keeps its code
    // A line that is only a kept end has nothing to reorder.
    EXPECT_TRUE(VisualOrder(Chars(U"\r"), true).empty());
}

}  // namespace
}  // namespace qm
