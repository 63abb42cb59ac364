#include "app/window/preview_geometry.h"

#include <gtest/gtest.h>

#include "model/document.h"
#include "model/page_walk.h"

namespace qm {
namespace {

// A4 at 600 dpi printed on a 96 dpi screen.
constexpr int32_t kA4W = 793;
constexpr int32_t kA4H = 1122;

TEST(PaintBoxLayoutTest, A4PageAtNinetySixDotsPerInch) {
    TDocument doc;
    const TWalkGeometry g = PreviewGeometry(doc, 96.0);
    EXPECT_EQ(g.PageW, kA4W);
    EXPECT_EQ(g.PageH, kA4H);
    const TPaintBoxLayout box = PaintBoxLayout(g.PageW, g.PageH, 1, 600, 500);
    EXPECT_EQ(box.Width, 829);
    EXPECT_EQ(box.Height, 1158);
    EXPECT_EQ(box.OffX, 16);
    EXPECT_EQ(box.OffY, 16);
}

TEST(PaintBoxLayoutTest, WideScrollBoxCentresThePaper) {
    // Available 1000: the box is 1001 wide and the paper moves right by (1001 - 829) div 2.
    const TPaintBoxLayout box = PaintBoxLayout(kA4W, kA4H, 1, 1000, 500);
    EXPECT_EQ(box.Width, 1001);
    EXPECT_EQ(box.OffX, 16 + 86);
    EXPECT_EQ(box.Height, 1158);
    EXPECT_EQ(box.OffY, 16);
    // Exactly the wanted width, or less, is not centred.
    EXPECT_EQ(PaintBoxLayout(kA4W, kA4H, 1, 829, 500).Width, 829);
    EXPECT_EQ(PaintBoxLayout(kA4W, kA4H, 1, 829, 500).OffX, 16);
    EXPECT_EQ(PaintBoxLayout(kA4W, kA4H, 1, 700, 500).Width, 829);
    // An odd difference is halved toward zero.
    EXPECT_EQ(PaintBoxLayout(kA4W, kA4H, 1, 830, 500).Width, 831);
    EXPECT_EQ(PaintBoxLayout(kA4W, kA4H, 1, 830, 500).OffX, 17);
    EXPECT_EQ(PaintBoxLayout(kA4W, kA4H, 1, 831, 500).OffX, 17);
}

TEST(PaintBoxLayoutTest, TallScrollBoxCentresVertically) {
    const TPaintBoxLayout box = PaintBoxLayout(kA4W, kA4H, 1, 600, 1300);
    EXPECT_EQ(box.Height, 1301);
    EXPECT_EQ(box.OffY, 16 + (1301 - 1158) / 2);
}

TEST(PaintBoxLayoutTest, TenPagesStackAtThePagePitch) {
    const TPaintBoxLayout box = PaintBoxLayout(kA4W, kA4H, 10, 600, 500);
    EXPECT_EQ(box.Height, (kA4H + 21) * 9 + kA4H + 36);
    // The tenth page's bitmap (OffY + PageH + 20 tall) ends inside the box, so its bottom
    // shadow (2 pixels below the paper) is fully shown.
    const int32_t tenthTop = PagePitch(kA4H) * 9;
    EXPECT_LE(tenthTop + box.OffY + kA4H + 4, box.Height);
}

TEST(PaintBoxLayoutTest, MillionsOfPagesDoNotWrapAround) {
    const TPaintBoxLayout box = PaintBoxLayout(kA4W, kA4H, 5'000'000, 600, 500);
    EXPECT_EQ(box.Height, INT32_MAX);
    EXPECT_EQ(box.Width, 829);
}

TEST(PageVisibleTest, PagesMeetingTheVisibleRows) {
    const int32_t bitmapH = 16 + kA4H + 20;
    const int32_t pitch = PagePitch(kA4H);
    // View at the top, 500 rows high: page 0 only.
    EXPECT_TRUE(PageVisible(0, kA4H, bitmapH, 0, 500));
    EXPECT_FALSE(PageVisible(1, kA4H, bitmapH, 0, 500));
    // The view's last row touching a page's first row counts.
    EXPECT_TRUE(PageVisible(1, kA4H, bitmapH, pitch - 500, 500));
    EXPECT_FALSE(PageVisible(1, kA4H, bitmapH, pitch - 501, 500));
    // A page whose bitmap ends exactly at the view's top still counts; one row more does not.
    EXPECT_TRUE(PageVisible(0, kA4H, bitmapH, bitmapH, 500));
    EXPECT_FALSE(PageVisible(0, kA4H, bitmapH, bitmapH + 1, 500));
}

TEST(DragScrollTest, PositionsFollowThePointerWithinTheRange) {
    // Dragging the page up by 100 scrolls the view down by 100.
    EXPECT_EQ(DragScrollPosition(0, 400, 300, 1000), 100);
    // Beyond the start: 0.
    EXPECT_EQ(DragScrollPosition(50, 100, 5000, 1000), 0);
    // Beyond the end: the last position.
    EXPECT_EQ(DragScrollPosition(900, 100, -100000, 1000), 1000);
    // No range at all.
    EXPECT_EQ(DragScrollPosition(0, 100, 0, 0), 0);
    // Extreme values do not overflow.
    EXPECT_EQ(DragScrollPosition(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX), INT32_MAX);
}

TEST(ProgressBarTest, IntegerShareOfThePanel) {
    EXPECT_EQ(ProgressBarRight(0, 50, 0), 0);
    EXPECT_EQ(ProgressBarRight(0, 50, 37), 18);  // 50 * 37 / 100 = 18.5, truncated
    EXPECT_EQ(ProgressBarRight(0, 50, 100), 50);
    EXPECT_EQ(ProgressBarRight(254, 304, 50), 279);
    // Values outside 0..100 stay within the panel.
    EXPECT_EQ(ProgressBarRight(0, 50, 250), 50);
    EXPECT_EQ(ProgressBarRight(0, 50, -5), 0);
}

}  // namespace
}  // namespace qm
