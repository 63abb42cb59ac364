// Line breaking of text outside Windows-1252: ideographs break without spaces, CJK punctuation
// keeps to its neighbours, Latin words stay whole, and nothing runs past the edge.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "model/document.h"
#include "tests/model/layout_fixture.h"

namespace qm {
namespace {

using test::LayoutDoc;

// The page body is 50 mm wide and every character 2 mm: 25 characters fill a line exactly.
constexpr double kWidth = 50.0;

TLineRec& AddWide(LayoutDoc& d, std::u32string_view text) {
    TLineRec& line = d.Add("");
    for (char32_t code : text) {
        TCharRec ch = LayoutDoc::Char(0, 2.0, 4.0, d.plainFont);
        ch.Code = code;
        line.Chars.push_back(std::move(ch));
    }
    return line;
}

std::string Utf8(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Every line's text of the body in UTF-8, "|" between lines.
std::string Texts(const LayoutDoc& d) {
    std::u32string texts;
    for (const TLineRec& line : d.Lines()) {
        if (!texts.empty()) texts += U'|';
        for (const TCharRec& ch : line.Chars)
            texts += ch.Code;
    }
    return Utf8(texts);
}

std::u32string Repeat(std::u32string_view unit, size_t times) {
    std::u32string text;
    for (size_t i = 0; i < times; ++i)
        text += unit;
    return text;
}

TEST(WideLineBreaking, IdeographsWrapWithinTheColumnWithoutSpaces) {
    LayoutDoc d(kWidth, 200.0);
    // Sentences of ideographs with a full stop and now and then a space: the lines fill up
    // to the edge rather than break at the last space.
    const std::u32string text = Repeat(U"中文字中文字中文字。 ", 11);
    AddWide(d, text);
    d.Layout();
    std::u32string joined;
    std::string counts;
    for (const TLineRec& line : d.Lines()) {
        double width = 0;
        for (const TCharRec& ch : line.Chars) {
            width += ch.Width;
            joined += ch.Code;
        }
        EXPECT_LE(width, kWidth);
        counts += std::to_string(line.CharCount()) + " ";
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(counts, "25 25 24 25 22 ");  // the third would end before "。"
    EXPECT_EQ(d.Line(0).EndKind, 0);
    EXPECT_EQ(d.Lines().back().EndKind, 1);

    // A second layout keeps every break where it is.
    const std::string before = test::DumpModel(d.doc);
    d.doc.CompleteRefresh();
    EXPECT_EQ(test::DumpModel(d.doc), before);
}

TEST(WideLineBreaking, ClosingPunctuationStaysWithTheTextBeforeIt) {
    const std::u32string line24 = Repeat(U"中", 24);
    LayoutDoc d(kWidth, 200.0);
    // "。" and "、" would overflow as the 26th character: the ideograph before them goes along.
    AddWide(d, line24 + U"中。文文");
    AddWide(d, line24 + U"中、文文");
    // Two full stops at the edge go together with the ideograph before them.
    AddWide(d, Repeat(U"中", 23) + U"中。。文");
    // An opening bracket does not end a line: "「" goes to the next line with what it opens.
    AddWide(d, line24 + U"「文」");
    d.Layout();
    const std::string l24 = Utf8(line24);
    const std::string l23 = Utf8(Repeat(U"中", 23));
    EXPECT_EQ(Texts(d),
              l24 + "|中。文文|" + l24 + "|中、文文|" + l23 + "|中。。文|" + l24 + "|「文」");
    for (const TLineRec& line : d.Lines()) {
        ASSERT_FALSE(line.Chars.empty());
        EXPECT_NE(line.Chars.front().Code, U'。');
        EXPECT_NE(line.Chars.front().Code, U'、');
        EXPECT_NE(line.Chars.back().Code, U'「');
    }
}

TEST(WideLineBreaking, LatinWordsAmongIdeographsStayWhole) {
    LayoutDoc d(kWidth, 200.0);
    // The word crosses the edge and has no space before it: the break comes before the word.
    AddWide(d, Repeat(U"中", 20) + U"abcdefgh文文");
    // An ideograph after the last space breaks later than the space.
    AddWide(d, U"ab cd " + Repeat(U"中", 25));
    // A Latin word with a letter Windows-1252 lacks breaks at its space, never inside.
    AddWide(d, U"aaaaaaaaaaaaaaaaaaaa Erdős aa");  // "ő" and "s" at the edge
    d.Layout();
    EXPECT_EQ(Texts(d), Utf8(Repeat(U"中", 20)) + "|abcdefgh文文|ab cd " + Utf8(Repeat(U"中", 19)) +
                            "|" + Utf8(Repeat(U"中", 6)) + "|aaaaaaaaaaaaaaaaaaaa |Erdős aa");
}

TEST(WideLineBreaking, TextWithoutAnyBreakIsCutWhereItOverflows) {
    LayoutDoc d(kWidth, 200.0);
    // Letters of one word (no break allowed between them) and a run of full stops.
    AddWide(d, Repeat(U"ő", 30));
    AddWide(d, Repeat(U"。", 27));
    // A tab before ideographs still moves to the next line with the text after it.
    AddWide(d, Repeat(U"中", 20) + U"\t文文");
    d.Layout();
    EXPECT_EQ(Texts(d), Utf8(Repeat(U"ő", 25)) + "|" + Utf8(Repeat(U"ő", 5)) + "|" +
                            Utf8(Repeat(U"。", 25)) + "|。。|" + Utf8(Repeat(U"中", 20)) +
                            "|\t文文");
    for (const TLineRec& line : d.Lines()) {
        double width = 0;
        for (const TCharRec& ch : line.Chars)
            width += ch.Width;
        EXPECT_LE(width, kWidth);
    }
}

}  // namespace
}  // namespace qm
