// The layout's own bounds: at most kMaxPages pages and kMaxLines lines, whatever the text asks
// for; the model says when a bound was reached.
#include <gtest/gtest.h>

#include "model/layout.h"
#include "tests/model/layout_fixture.h"

namespace qm::test {
namespace {

// A page body of `pages` pages: one short line each, ended by a page break (the last by a
// paragraph mark).
LayoutDoc PageBreaks(int32_t pages) {
    LayoutDoc d(50.0, 30.0);
    for (int32_t i = 0; i < pages; ++i)
        d.Add("p", i + 1 < pages ? 3 : 1);
    return d;
}

int64_t TotalLines(const TDocument& doc) {
    int64_t lines = 0;
    for (const TFieldRec& field : doc.Fields)
        lines += field.LineCount();
    return lines;
}

int64_t BodyLines(const TDocument& doc) {
    int64_t lines = 0;
    for (const TFieldRec& field : doc.Fields)
        lines += field.Kind == kFieldBody ? field.LineCount() : 0;
    return lines;
}

TEST(LayoutLimits, TenThousandPagesAreLaidOut) {
    LayoutDoc d = PageBreaks(kMaxPages);
    d.Layout();
    EXPECT_EQ(d.doc.GetAnzPages(), kMaxPages);
    EXPECT_FALSE(d.doc.LayoutLimited);
    EXPECT_EQ(d.Pages().size(), static_cast<size_t>(kMaxPages));
}

TEST(LayoutLimits, APageBeyondTheLimitIsNotMadeAndTheModelSaysSo) {
    LayoutDoc d = PageBreaks(kMaxPages + 500);
    d.Layout();
    EXPECT_EQ(d.doc.GetAnzPages(), kMaxPages);
    EXPECT_TRUE(d.doc.LayoutLimited);
    // Nothing is lost: the lines past the last page stay on it.
    EXPECT_EQ(BodyLines(d.doc), kMaxPages + 500);
    // A relayout ends the same way, and an ordinary document afterwards is not limited.
    d.Layout();
    EXPECT_EQ(d.doc.GetAnzPages(), kMaxPages);
    EXPECT_TRUE(d.doc.LayoutLimited);
}

TEST(LayoutLimits, AnOrdinaryLayoutClearsTheFlag) {
    LayoutDoc d = PageBreaks(kMaxPages + 1);
    d.Layout();
    ASSERT_TRUE(d.doc.LayoutLimited);
    for (TFieldRec& field : d.doc.Fields) {
        if (field.Kind == kFieldBody) field.Lines.clear();
    }
    d.doc.CurField = d.doc.CurLine = d.doc.CurChar = 0;
    d.Add("a", 3);
    d.Add("b", 3);
    d.Add("c", 1);
    d.Layout();
    EXPECT_FALSE(d.doc.LayoutLimited);
    EXPECT_EQ(d.doc.GetAnzPages(), 3);
}

// A paragraph of characters each wider than the line: every character would take a line of
// its own. Short characters keep a few hundred lines on a page, so that the page limit is not
// the one reached.
TEST(LayoutLimits, TextNeedingMoreThanTheMostLinesStaysUnbroken) {
    LayoutDoc d(50.0, 260.0);
    const int64_t chars = kMaxLines + 1000;
    TLineRec& line = d.Add("", 1, 60.0, 0.5);
    line.Chars.assign(static_cast<size_t>(chars), LayoutDoc::Char('w', 60.0, 0.5, d.plainFont));
    d.Layout();
    EXPECT_TRUE(d.doc.LayoutLimited);
    EXPECT_LE(TotalLines(d.doc), kMaxLines);
    EXPECT_LT(d.doc.GetAnzPages(), kMaxPages);
    int64_t kept = 0;
    for (const TFieldRec& field : d.doc.Fields) {
        if (field.Kind != kFieldBody) continue;
        for (const TLineRec& l : field.Lines)
            kept += l.CharCount();
    }
    EXPECT_EQ(kept, chars);
}

}  // namespace
}  // namespace qm::test
