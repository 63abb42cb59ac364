// The metafile player: what the records a document uses draw, how the window maps onto the
// picture, the object table and saved states, and what damaged or hostile metafiles give.
#include <gtest/gtest.h>

#include <algorithm>

#include "builder/wmf_writer.h"
#include "metafile/metafile_player.h"

namespace qm::testing {
namespace {

// Windows colour values 0x00BBGGRR.
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int16_t kNullPen = 5;
constexpr int16_t kSolid = 0;
constexpr TWmfRect kFrame{0, 0, 100, 100};

// Plays the metafile into a picture of the frame; the test fails when nothing is made.
TDib Play(const TWmfWriter& w, TWmfRect frame = kFrame, TWmfSizeLimit limit = {}) {
    TDib picture;
    EXPECT_TRUE(PlayWindowsMetafile(w.Bytes(), frame, limit, picture));
    return picture;
}

// A red brush selected (object 0) and the null pen (object 1): shapes fill without outline.
TWmfWriter RedFill() {
    TWmfWriter w;
    w.CreateBrush(kSolid, kRed).SelectObject(0).CreatePen(kNullPen, 0, kBlack).SelectObject(1);
    return w;
}

int CountColor(const TDib& dib, uint32_t color) {
    int count = 0;
    for (int32_t y = 0; y < DIBHeight(dib); ++y)
        for (int32_t x = 0; x < DIBWidth(dib); ++x)
            count += getpixel(dib, x, y) == color ? 1 : 0;
    return count;
}

bool IsDark(uint32_t color) {
    return (color & 0xFF) < 128 && ((color >> 8) & 0xFF) < 128 && ((color >> 16) & 0xFF) < 128;
}

TEST(MetafilePlayer, ThePictureIsTheFrameOnWhiteAtOnePixelPerUnit) {
    TWmfWriter w;
    const TDib dib = Play(w, {10, 20, 130, 80});
    EXPECT_EQ(DIBWidth(dib), 120);
    EXPECT_EQ(DIBHeight(dib), 60);
    EXPECT_EQ(DIBBitCount(dib), 24);
    EXPECT_EQ(CountColor(dib, kWhite), 120 * 60);
}

TEST(MetafilePlayer, ShapesFillWithTheBrushAndOutlineWithThePen) {
    TWmfWriter w;
    w.CreateBrush(kSolid, kRed).SelectObject(0).CreatePen(kSolid, 6, kBlue).SelectObject(1);
    w.Rectangle({10, 10, 60, 60});
    w.Ellipse({60, 60, 100, 100});
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 35, 35), kRed);    // inside the rectangle
    EXPECT_EQ(getpixel(dib, 10, 35), kBlue);   // on its left edge
    EXPECT_EQ(getpixel(dib, 35, 60), kBlue);   // on its bottom edge
    EXPECT_EQ(getpixel(dib, 80, 80), kRed);    // the ellipse's centre
    EXPECT_EQ(getpixel(dib, 97, 97), kWhite);  // outside the ellipse, inside its box
    EXPECT_EQ(getpixel(dib, 80, 30), kWhite);
}

TEST(MetafilePlayer, TheWindowMapsOntoThePicture) {
    // A window of 1000 x 500 units starting at (-500, 0), played into a 100 x 50 frame: the
    // rectangle (0, 0)-(500, 250) is the picture's upper right quarter.
    TWmfWriter w = RedFill();
    w.SetWindowOrg(-500, 0).SetWindowExt(1000, 500).Rectangle({0, 0, 500, 250});
    const TDib dib = Play(w, {0, 0, 100, 50});
    EXPECT_EQ(getpixel(dib, 75, 12), kRed);
    EXPECT_EQ(getpixel(dib, 25, 12), kWhite);
    EXPECT_EQ(getpixel(dib, 75, 37), kWhite);
}

TEST(MetafilePlayer, AWindowWithTheYAxisUpFlipsTheDrawing) {
    TWmfWriter w = RedFill();
    w.SetWindowOrg(0, 100).SetWindowExt(100, -100).Rectangle({0, 0, 100, 50});
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 50, 75), kRed);  // y 0..50 up from the bottom
    EXPECT_EQ(getpixel(dib, 50, 25), kWhite);
}

TEST(MetafilePlayer, PolygonsFollowTheFillMode) {
    // A square with a square hole: two rings in the same direction.
    const std::vector<std::pair<int16_t, int16_t>> outer{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    const std::vector<std::pair<int16_t, int16_t>> inner{{30, 30}, {70, 30}, {70, 70}, {30, 70}};
    for (int16_t mode : {1, 2}) {  // ALTERNATE, WINDING
        TWmfWriter w = RedFill();
        std::vector<int16_t> words{2, 4, 4};
        for (const auto& ring : {outer, inner})
            for (auto [x, y] : ring)
                words.insert(words.end(), {x, y});
        w.SetPolyFillMode(mode).Record(0x0538, words);  // META_POLYPOLYGON
        const TDib dib = Play(w);
        EXPECT_EQ(getpixel(dib, 10, 10), kRed) << mode;
        EXPECT_EQ(getpixel(dib, 50, 50), mode == 1 ? kWhite : kRed) << mode;
    }
}

TEST(MetafilePlayer, LinesAndPolylinesUseThePenFromTheCurrentPosition) {
    TWmfWriter w;
    w.CreatePen(kSolid, 4, kGreen).SelectObject(0);
    w.MoveTo(10, 20).LineTo(90, 20);
    w.Polyline({{10, 80}, {50, 80}, {50, 40}});
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 50, 20), kGreen);
    EXPECT_EQ(getpixel(dib, 30, 80), kGreen);
    EXPECT_EQ(getpixel(dib, 50, 60), kGreen);
    EXPECT_EQ(getpixel(dib, 30, 60), kWhite);  // a polyline is not filled
}

TEST(MetafilePlayer, PiesAndArcsRunCounterClockwiseFromStartToEnd) {
    // From the right (3 o'clock) to the top (12 o'clock): the upper right quarter.
    TWmfWriter w = RedFill();
    w.Pie({0, 0, 100, 100}, 100, 50, 50, 0);
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 70, 30), kRed);
    EXPECT_EQ(getpixel(dib, 30, 30), kWhite);
    EXPECT_EQ(getpixel(dib, 70, 70), kWhite);
    EXPECT_EQ(getpixel(dib, 30, 70), kWhite);

    TWmfWriter arc;
    arc.CreatePen(kSolid, 3, kBlue).SelectObject(0).Arc({0, 0, 100, 100}, 100, 50, 50, 0);
    const TDib arcDib = Play(arc);
    EXPECT_EQ(getpixel(arcDib, 85, 15), kBlue);   // on the circle, 45 degrees up
    EXPECT_EQ(getpixel(arcDib, 15, 85), kWhite);  // the other side is not drawn
    EXPECT_EQ(getpixel(arcDib, 70, 30), kWhite);  // an arc is not filled
}

TEST(MetafilePlayer, RoundRectanglesRoundTheirCorners) {
    TWmfWriter w = RedFill();
    w.RoundRect({0, 0, 100, 100}, 60, 60);
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 50, 50), kRed);
    EXPECT_EQ(getpixel(dib, 50, 2), kRed);
    EXPECT_EQ(getpixel(dib, 2, 2), kWhite);
    EXPECT_EQ(getpixel(dib, 97, 97), kWhite);
}

TEST(MetafilePlayer, ObjectsTakeTheLowestFreePlaceAndDeletingKeepsTheSelection) {
    TWmfWriter w;
    w.CreateBrush(kSolid, kRed).CreatePen(kNullPen, 0, kBlack);  // places 0 and 1
    w.SelectObject(1).SelectObject(0).DeleteObject(0);           // red stays selected
    w.Rectangle({0, 0, 50, 100});
    w.CreateBrush(kSolid, kBlue);  // takes place 0 again
    w.SelectObject(7);             // an empty place: nothing changes
    w.Rectangle({50, 0, 75, 100});
    w.SelectObject(0).Rectangle({75, 0, 100, 100});
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 25, 50), kRed);
    EXPECT_EQ(getpixel(dib, 60, 50), kRed);
    EXPECT_EQ(getpixel(dib, 90, 50), kBlue);
}

TEST(MetafilePlayer, ATableWithoutRoomDropsNewObjects) {
    TWmfWriter w;
    w.CreateBrush(kSolid, kRed).CreateBrush(kSolid, kBlue).SelectObject(1);
    w.CreatePen(kNullPen, 0, kBlack).Rectangle({0, 0, 100, 100});
    TDib dib;
    ASSERT_TRUE(PlayWindowsMetafile(w.Bytes(1), kFrame, {}, dib));  // room for one object
    EXPECT_EQ(CountColor(dib, kBlue), 0);      // the blue brush had no place to go
    EXPECT_EQ(getpixel(dib, 50, 50), kWhite);  // the stock white brush
}

TEST(MetafilePlayer, ClippingEndsWithTheStateThatRestoresIt) {
    TWmfWriter w = RedFill();
    w.SaveDc().IntersectClipRect({0, 0, 50, 100}).Rectangle({0, 0, 100, 50});
    w.RestoreDc(-1).Rectangle({0, 50, 100, 100});
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 25, 25), kRed);
    EXPECT_EQ(getpixel(dib, 75, 25), kWhite);  // clipped away
    EXPECT_EQ(getpixel(dib, 75, 75), kRed);    // after RestoreDC the clip is gone
}

TEST(MetafilePlayer, RestoringASavedStateBringsBackItsObjectsAndWindow) {
    TWmfWriter w = RedFill();
    w.SaveDc().SaveDc();
    w.CreateBrush(kSolid, kBlue).SelectObject(2).SetWindowExt(200, 200);
    w.RestoreDc(1);   // the first saved state: red brush, the original window
    w.RestoreDc(-5);  // deeper than saved: ignored
    w.Rectangle({0, 0, 50, 50});
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 40, 40), kRed);  // in the window of 200 units it would end at 25
    EXPECT_EQ(getpixel(dib, 75, 75), kWhite);
}

TEST(MetafilePlayer, PaletteColoursAreFoundInTheSelectedPalette) {
    TWmfWriter w;
    w.CreatePalette({kWhite, kGreen}).SelectPalette(0);
    w.CreateBrush(kSolid, 0x01000001).SelectObject(1);  // palette entry 1
    w.CreatePen(kNullPen, 0, kBlack).SelectObject(2).Rectangle({0, 0, 100, 100});
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 50, 50), kGreen);
}

TEST(MetafilePlayer, MixModesDecideHowThePenPaints) {
    TWmfWriter w = RedFill();
    w.SetRop2(11).Rectangle({0, 0, 50, 100});   // R2_NOP
    w.SetRop2(1).Rectangle({50, 0, 100, 100});  // R2_BLACK
    const TDib dib = Play(w);
    EXPECT_EQ(getpixel(dib, 25, 50), kWhite);
    EXPECT_EQ(getpixel(dib, 75, 50), kBlack);
}

TEST(MetafilePlayer, HatchedBrushesDrawLinesOnTheBackground) {
    TWmfWriter w;
    w.SetBkColor(kGreen).CreateBrush(2, kBlue, 4).SelectObject(0);  // HS_CROSS
    w.CreatePen(kNullPen, 0, kBlack).SelectObject(1).Rectangle({0, 0, 100, 100});
    const TDib dib = Play(w);
    EXPECT_GT(CountColor(dib, kBlue), 1000);
    EXPECT_GT(CountColor(dib, kGreen), 5000);
    EXPECT_EQ(CountColor(dib, kWhite), 0);
}

TEST(MetafilePlayer, BitmapsStretchIntoTheirRectangle) {
    // A 2 x 2 bitmap: red, green over blue, black (0xRRGGBB in the bitmap).
    const std::vector<uint8_t> dib = Dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x000000});
    TWmfWriter w;
    w.StretchDib({0, 0, 100, 100}, 2, 2, dib);
    const TDib picture = Play(w);
    EXPECT_EQ(getpixel(picture, 20, 20), kRed);
    EXPECT_EQ(getpixel(picture, 80, 20), kGreen);
    EXPECT_EQ(getpixel(picture, 20, 80), kBlue);
    EXPECT_EQ(getpixel(picture, 80, 80), kBlack);
}

TEST(MetafilePlayer, PatternBrushesRepeatTheirBitmapAndBlocksTransferTheBrush) {
    // A 2 x 2 checker of black and white as a 1-bit pattern brush.
    const std::vector<uint8_t> checker = Dib1(2, 2, {1, 0, 0, 1}, 0x000000, 0xFFFFFF);
    TWmfWriter w;
    w.DibPatternBrush(checker).SelectObject(0);
    w.PatBlt({0, 0, 100, 50}, 0x00F00021);     // PATCOPY
    w.PatBlt({0, 50, 50, 100}, 0x00000042);    // BLACKNESS
    w.PatBlt({50, 50, 100, 100}, 0x00FF0062);  // WHITENESS
    const TDib dib = Play(w);
    EXPECT_NE(getpixel(dib, 10, 10), getpixel(dib, 11, 10));
    EXPECT_EQ(getpixel(dib, 10, 10), getpixel(dib, 11, 11));
    EXPECT_EQ(getpixel(dib, 25, 75), kBlack);
    EXPECT_EQ(getpixel(dib, 75, 75), kWhite);
}

TEST(MetafilePlayer, TextIsDrawnInTheTextColourAtItsReferencePoint) {
    TWmfWriter w;
    w.CreateFont(-40, "Arial", 700).SelectObject(0).SetTextColor(kBlue).SetBkMode(1);
    w.TextOut(10, 10, "HH");
    const TDib dib = Play(w, {0, 0, 200, 100});
    int inside = 0, outside = 0;
    for (int32_t y = 0; y < 100; ++y) {
        for (int32_t x = 0; x < 200; ++x) {
            if (getpixel(dib, x, y) == kWhite) continue;
            // Top-left alignment: the letters lie below and to the right of (10, 10), within
            // the em height and about two letter widths.
            (x >= 10 && x < 90 && y >= 10 && y < 60 ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 300);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(CountColor(dib, kBlue), 100);
}

TEST(MetafilePlayer, TextBytesAreWindows1252Characters) {
    // 0x97 is the em dash: a bar a whole em (40 pixels) long and a few pixels thick.
    TWmfWriter w;
    w.CreateFont(-40, "Arial").SelectObject(0).SetBkMode(1);
    w.TextOut(10, 10, "\x97");
    const TDib dib = Play(w, {0, 0, 100, 100});
    int32_t left = 100, right = -1, top = 100, bottom = -1;
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 100; ++x)
            if (IsDark(getpixel(dib, x, y))) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    EXPECT_NEAR(left, 10, 1);
    EXPECT_NEAR(right - left + 1, 40, 1);
    EXPECT_GT(top, 10 + 20);  // about half way down the cell
    EXPECT_LE(bottom - top + 1, 4);
}

TEST(MetafilePlayer, ExtTextOutFillsItsOpaqueRectangleAndFollowsItsSpacing) {
    TWmfWriter w;
    w.CreateFont(-30, "Arial").SelectObject(0).SetBkColor(kGreen).SetBkMode(1);
    w.SetTextAlign(24);  // TA_BASELINE
    // "ii" with 80 units between the letters; the rectangle is filled with the background.
    w.ExtTextOut(10, 80, 2, {0, 0, 200, 20}, "ii", {80, 10});
    const TDib dib = Play(w, {0, 0, 200, 100});
    EXPECT_EQ(getpixel(dib, 100, 10), kGreen);
    EXPECT_EQ(getpixel(dib, 100, 50), kWhite);
    auto darkIn = [&](int32_t left, int32_t right) {
        int n = 0;
        for (int32_t y = 50; y < 80; ++y)
            for (int32_t x = left; x < right; ++x)
                n += IsDark(getpixel(dib, x, y)) ? 1 : 0;
        return n;
    };
    EXPECT_GT(darkIn(8, 25), 10);    // the first i
    EXPECT_EQ(darkIn(30, 85), 0);    // the gap the spacing makes
    EXPECT_GT(darkIn(88, 105), 10);  // the second i
}

TEST(MetafilePlayer, UnknownRecordsAndEscapesAreSkipped) {
    TWmfWriter w = RedFill();
    w.Escape().Record(0x0777, {1, 2, 3}).Record(0x0231, {0, 0});  // unknown, SetMapperFlags
    w.Rectangle({0, 0, 100, 100});
    EXPECT_EQ(getpixel(Play(w), 50, 50), kRed);
}

TEST(MetafilePlayer, AMalformedRecordEndsPlaybackWithWhatWasDrawn) {
    TWmfWriter truncatedShape = RedFill();
    truncatedShape.Rectangle({0, 0, 50, 100});
    truncatedShape.Record(0x0324, {1000, 0, 0, 100, 0});  // 1000 points claimed, 1 given
    truncatedShape.Rectangle({50, 0, 100, 100});
    TDib dib = Play(truncatedShape);
    EXPECT_EQ(getpixel(dib, 25, 50), kRed);
    EXPECT_EQ(getpixel(dib, 75, 50), kWhite);

    TWmfWriter pastTheEnd = RedFill();
    pastTheEnd.Rectangle({0, 0, 50, 100});
    pastTheEnd.RecordSized(0x041B, 0x7FFFFFFF, {100, 100, 0, 50});
    dib = Play(pastTheEnd);
    EXPECT_EQ(getpixel(dib, 25, 50), kRed);
    EXPECT_EQ(getpixel(dib, 75, 50), kWhite);

    TWmfWriter tooShort = RedFill();
    tooShort.RecordSized(0x041B, 2, {}).Rectangle({0, 0, 100, 100});
    EXPECT_EQ(CountColor(Play(tooShort), kRed), 0);

    TWmfWriter shortParameters = RedFill();
    shortParameters.Record(0x041B, {100, 100}).Rectangle({0, 0, 100, 100});  // two of four
    EXPECT_EQ(CountColor(Play(shortParameters), kRed), 0);
}

TEST(MetafilePlayer, BitmapsLargerThanTheirRecordEndPlayback) {
    std::vector<uint8_t> dib = Dib24(4, 4, std::vector<uint32_t>(16, 0xFF0000));
    dib.erase(dib.end() - 10, dib.end());  // rows cut short
    TWmfWriter w = RedFill();
    w.StretchDib({0, 0, 100, 100}, 4, 4, dib).Rectangle({0, 0, 100, 100});
    EXPECT_EQ(CountColor(Play(w), kRed), 0);

    // A header claiming 2^31 colours, and one claiming a bitmap of 30000 x 30000 pixels.
    std::vector<uint8_t> colours = Dib1(8, 8, std::vector<uint8_t>(64, 0), 0, 0xFFFFFF);
    colours[32] = 0xFF, colours[33] = 0xFF, colours[34] = 0xFF, colours[35] = 0x7F;
    std::vector<uint8_t> huge = Dib24(2, 2, std::vector<uint32_t>(4, 0));
    huge[4] = 0x30, huge[5] = 0x75, huge[8] = 0x30, huge[9] = 0x75;
    for (const auto& bad : {colours, huge}) {
        TWmfWriter v;
        v.DibPatternBrush(bad).StretchDib({0, 0, 100, 100}, 2, 2, bad);
        TDib picture;
        EXPECT_TRUE(PlayWindowsMetafile(v.Bytes(), kFrame, {}, picture));
        EXPECT_EQ(CountColor(picture, kWhite), 100 * 100);
    }
}

TEST(MetafilePlayer, ADegenerateFrameIsReplacedByTheWindowTheMetafileSets) {
    // Word stores 1 x 1 bounds for some metafiles that set their window themselves.
    TWmfWriter w = RedFill();
    w.SetWindowExt(1, 1).SetWindowExt(40, 20).SetWindowOrg(0, 0).Rectangle({20, 0, 40, 20});
    const TDib dib = Play(w, {0, 0, 1, 1});
    EXPECT_EQ(DIBWidth(dib), 40);
    EXPECT_EQ(DIBHeight(dib), 20);
    EXPECT_EQ(getpixel(dib, 30, 10), kRed);
    EXPECT_EQ(getpixel(dib, 10, 10), kWhite);
}

TEST(MetafilePlayer, FramesStoredAsSixteenBitPatternsAreTakenBackToNegative) {
    // The frame (-100, -50)-(0, 0) as Word stores it.
    TWmfWriter w = RedFill();
    w.Rectangle({-100, -50, -50, 0});
    const TDib dib = Play(w, {65436, 65486, 65536, 65536});
    EXPECT_EQ(DIBWidth(dib), 100);
    EXPECT_EQ(DIBHeight(dib), 50);
    EXPECT_EQ(getpixel(dib, 25, 25), kRed);
    EXPECT_EQ(getpixel(dib, 75, 25), kWhite);
}

TEST(MetafilePlayer, ImplausibleFramesGiveNoPicture) {
    TWmfWriter w = RedFill();
    w.Rectangle({0, 0, 10, 10});
    TDib dib;
    EXPECT_FALSE(PlayWindowsMetafile(w.Bytes(), {0, 0, 0, 0}, {}, dib));  // and no window
    EXPECT_FALSE(dib.HasImage());
    EXPECT_FALSE(PlayWindowsMetafile(w.Bytes(), {0, 0, 100000, 100}, {}, dib));
    EXPECT_FALSE(PlayWindowsMetafile(w.Bytes(), {-2000000000, 0, 2000000000, 10}, {}, dib));
    EXPECT_FALSE(dib.HasImage());
}

TEST(MetafilePlayer, LargeFramesAreDrawnSmallerKeepingTheirShape) {
    TWmfWriter w = RedFill();
    w.Rectangle({0, 0, 30000, 15000});
    const TDib dib = Play(w, {0, 0, 30000, 30000});
    EXPECT_LE(int64_t{DIBWidth(dib)} * DIBHeight(dib), kMaxMetafilePixels);
    EXPECT_EQ(DIBWidth(dib), DIBHeight(dib));
    EXPECT_EQ(getpixel(dib, DIBWidth(dib) / 2, DIBHeight(dib) / 4), kRed);
    EXPECT_EQ(getpixel(dib, DIBWidth(dib) / 2, DIBHeight(dib) * 3 / 4), kWhite);

    const TDib limited = Play(w, {0, 0, 3000, 1000}, {300, 1000});
    EXPECT_EQ(DIBWidth(limited), 300);
    EXPECT_EQ(DIBHeight(limited), 100);
}

TEST(MetafilePlayer, HeadersThatAreNoMetafilesGiveNoPicture) {
    TWmfWriter w = RedFill();
    std::vector<uint8_t> bytes = w.Bytes();
    TDib dib;
    for (size_t cut : {size_t{0}, size_t{5}, size_t{17}}) {
        const std::vector<uint8_t> head(bytes.begin(), bytes.begin() + cut);
        EXPECT_FALSE(PlayWindowsMetafile(head, kFrame, {}, dib)) << cut;
    }
    std::vector<uint8_t> badType = bytes;
    badType[0] = 7;
    EXPECT_FALSE(PlayWindowsMetafile(badType, kFrame, {}, dib));
    std::vector<uint8_t> badHeaderSize = bytes;
    badHeaderSize[2] = 200;
    EXPECT_FALSE(PlayWindowsMetafile(badHeaderSize, kFrame, {}, dib));
    // The header alone (no records, no end record) is an empty picture.
    const std::vector<uint8_t> headerOnly(bytes.begin(), bytes.begin() + 18);
    EXPECT_TRUE(PlayWindowsMetafile(headerOnly, kFrame, {}, dib));
}

TEST(MetafilePlayer, APlaceableHeaderInFrontIsSkipped) {
    TWmfWriter w = RedFill();
    w.Rectangle({0, 0, 100, 100});
    std::vector<uint8_t> bytes{0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 50,
                               0,    40,   0,    0x60, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> body = w.Bytes();
    bytes.insert(bytes.end(), body.begin(), body.end());
    TDib dib;
    ASSERT_TRUE(PlayWindowsMetafile(bytes, {0, 0, 0, 0}, {}, dib));  // its box is the frame
    EXPECT_EQ(DIBWidth(dib), 50);
    EXPECT_EQ(DIBHeight(dib), 40);
    EXPECT_EQ(getpixel(dib, 25, 20), kRed);
}

TEST(MetafilePlayer, EndlessFullPictureFillsEndWithWhatWasDrawn) {
    TWmfWriter w;
    w.CreatePen(kNullPen, 0, kBlack).SelectObject(0);
    w.CreateBrush(kSolid, kRed).CreateBrush(kSolid, kBlue);
    for (int i = 0; i < 20000; ++i)
        w.SelectObject(1 + i % 2).Rectangle({0, 0, 100, 100});
    const TDib dib = Play(w);
    const uint32_t centre = getpixel(dib, 50, 50);
    EXPECT_TRUE(centre == kRed || centre == kBlue);
}

}  // namespace
}  // namespace qm::testing
