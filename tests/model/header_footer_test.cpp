// The six header and footer fields and the page selection codes.
#include <gtest/gtest.h>

#include "model/document.h"
#include "model/layout.h"
#include "tests/model/layout_fixture.h"

namespace qm {
namespace {

using test::LayoutDoc;

TEST(HeaderFooter, TheModelHasSixFieldsWithTheirDefaultGeometry) {
    TDocument doc;
    ASSERT_EQ(doc.FieldCount(), 7);
    for (int32_t f = 1; f <= 6; ++f) {
        const TFieldRec& field = doc.Fields[f];
        const bool footer = f % 2 == 0;
        EXPECT_EQ(field.Kind, footer ? kFieldFooter : kFieldHeader) << f;
        EXPECT_EQ(field.PageSel, f >= 5 ? 1 : 99) << f;
        EXPECT_EQ(field.Top, footer ? 24.5 : 0.0);
        EXPECT_EQ(field.Bottom, footer ? 0.0 : 24.5);
        EXPECT_EQ(field.TopFromBottom, footer ? 1 : 0);
        EXPECT_EQ(field.BottomFromBottom, footer ? 1 : 0);
        EXPECT_EQ(field.RightFromRight, 1);
        EXPECT_EQ(field.MarginLeft, 25.0);
        EXPECT_EQ(field.MarginRight, 25.0);
        EXPECT_EQ(field.MarginTop, footer ? 0.0 : 11.0);
        EXPECT_EQ(field.MarginBottom, footer ? 11.0 : 0.0);
        EXPECT_EQ(field.PageNo, 0);
        EXPECT_EQ(field.PrevField, -1);
        EXPECT_EQ(field.NextField, -1);
        EXPECT_EQ(field.Transparent, 1);
        EXPECT_EQ(field.BackColor, 0xFFFFFF);
        EXPECT_EQ(field.LineCount(), 1);
    }
}

TEST(HeaderFooter, AFreshModelShowsOnlyTheOddPagePairOnEveryPage) {
    TDocument doc;
    for (int page = 0; page < 6; ++page) {
        for (int32_t f = 1; f <= 6; ++f) {
            const TFieldRec& field = doc.Fields[f];
            EXPECT_EQ(istOnAllPagesGedeckt(field.PageSel, field.PageNo, page), f >= 5);
        }
    }
}

TEST(HeaderFooter, PageSelectionCodes) {
    struct Case {
        int code;
        bool shown[7];  // pages 0 .. 6
    };
    const Case cases[] = {
        {0, {true, false, false, false, false, false, false}},
        {1, {true, true, true, true, true, true, true}},
        {2, {false, true, true, true, true, true, true}},
        {3, {false, true, false, true, false, true, false}},
        {4, {true, false, true, false, true, false, true}},
        {5, {false, true, false, true, false, true, false}},
        {6, {false, false, true, false, true, false, true}},
        {7, {}},
        {99, {}},
        {-1, {}},
    };
    for (const Case& c : cases) {
        for (int page = 0; page < 7; ++page) {
            EXPECT_EQ(istOnAllPagesGedeckt(c.code, 0, page), c.shown[page])
                << "code " << c.code << " page " << page;
        }
    }
    // Code 0 is the field's own page.
    EXPECT_TRUE(istOnAllPagesGedeckt(0, 3, 3));
    EXPECT_FALSE(istOnAllPagesGedeckt(0, 3, 0));
}

TEST(HeaderFooter, DistinctFirstPageAndFacingPages) {
    // The importer's codes for both: first pair 0, even pair 3, odd pair 6.
    const int sel[7] = {0, 0, 0, 3, 3, 6, 6};
    for (int page = 0; page < 7; ++page) {
        for (int f = 1; f <= 6; ++f) {
            const bool expected = page == 0 ? f <= 2 : (page % 2 == 1 ? f == 3 || f == 4 : f >= 5);
            EXPECT_EQ(istOnAllPagesGedeckt(sel[f], 0, page), expected) << f << ' ' << page;
        }
    }
}

TEST(HeaderFooter, HeaderLinesBreakToThePapersWidthAndOverflowStaysInTheField) {
    // The paper's own width, whatever the screen: 210 mm of A4 leave 160 mm of header text.
    for (const int32_t screenDpi : {96, 1}) {
        LayoutDoc d;
        d.doc.ScreenDPI = screenDpi;
        TFieldRec& header = d.doc.Fields[5];
        header.Lines.clear();
        for (int i = 0; i < 12; ++i)
            d.Add(std::string(81, 'h'), 1, 2.0, 4.0, 5);
        d.Layout();
        EXPECT_EQ(d.doc.Fields[5].LineCount(), 24);  // 80 + 1 characters each
        EXPECT_EQ(d.doc.Fields[5].Lines[0].CharCount(), 80) << screenDpi;
        EXPECT_EQ(d.doc.GetAnzPages(), 1);
        EXPECT_EQ(d.doc.FieldCount(), 7);
    }
}

}  // namespace
}  // namespace qm
