#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "raster/font.h"
#include "raster/font_program.h"
#include "raster/glyph_shapes.h"

namespace qm {
namespace {

constexpr const char* kPangram = "The quick brown fox jumps over the lazy dog";

TFont Font(std::string_view name, double size, uint8_t style = 0, int32_t dpi = 600) {
    return selfont(name, dpi, 100.0, size, style, 0);
}

TEST(FontRule, EmHeightIsTheTruncatedPixelSizeNegated) {
    EXPECT_EQ(Font("Times New Roman", 12).Height(), -100);
    EXPECT_EQ(Font("Times New Roman", 12, 0, 96).Height(), -16);
    EXPECT_EQ(Font("Times New Roman", 11, 0, 96).Height(), -14);  // 14.67 truncates
    EXPECT_EQ(selfont("Arial", 96, 150.0, 12, 0, 0).Height(), -24);
    EXPECT_EQ(selfont("Arial", 96, 33.0, 10, 0, 0).Height(), -4);  // 4.4
    EXPECT_EQ(Font("Arial", 12).PixelSize(), 100);
}

TEST(FontRule, StyleBitsGiveWeightItalicAndStrikeOut) {
    TFont plain = Font("Arial", 10);
    EXPECT_EQ(plain.Weight(), 400);
    EXPECT_FALSE(plain.Italic());
    EXPECT_FALSE(plain.StrikeOut());
    TFont all = selfont("Arial", 600, 100.0, 10,
                        kStyleBold | kStyleItalic | kStyleUnderline | kStyleStrikeOut, 2);
    EXPECT_EQ(all.Weight(), 700);
    EXPECT_TRUE(all.Italic());
    EXPECT_TRUE(all.StrikeOut());
    EXPECT_EQ(all.Charset(), 2);
    // Underline is drawn by the caller, not by the font: it does not change the face.
    EXPECT_EQ(Font("Arial", 10, kStyleUnderline).Face(), plain.Face());
}

TEST(FontRule, AbsurdSizesStayDefined) {
    TFont huge = Font("Arial", 1e12);
    EXPECT_EQ(huge.Height(), -std::numeric_limits<int32_t>::max());
    EXPECT_GT(TextWidth(huge, "W"), 0);
    TFont notANumber = Font("Arial", std::nan(""));
    EXPECT_EQ(notANumber.Height(), 0);
    EXPECT_GT(TextHeight(notANumber, "W"), 0);  // measured as one pixel per em
    TFont negative = Font("Arial", -12);
    EXPECT_EQ(negative.Height(), 100);
    EXPECT_EQ(TextWidth(negative, "abc"), TextWidth(Font("Arial", 12), "abc"));
}

TEST(FontMatching, WindowsCoreFontsResolveToTheirMetricCompatibleFaces) {
    const std::pair<const char*, const char*> kExpected[] = {
        {"Times New Roman", "Liberation Serif"},
        {"Arial", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
        {"Calibri", "Carlito"},
        {"Cambria", "Caladea"},
    };
    for (const auto& [requested, actual] : kExpected) {
        TFont font = Font(requested, 12);
        ASSERT_TRUE(font.Valid()) << requested;
        EXPECT_EQ(font.RequestedName(), requested);
        EXPECT_EQ(font.ActualFamily(), actual) << requested;
    }
}

TEST(FontMatching, BoldAndItalicPickTheStyledFaces) {
    TFont regular = Font("Times New Roman", 12);
    TFont bold = Font("Times New Roman", 12, kStyleBold);
    TFont italic = Font("Times New Roman", 12, kStyleItalic);
    // Each style has a font program of its own.
    const TFontProgram program = FontProgram(regular);
    EXPECT_NE(program.Bytes, FontProgram(bold).Bytes);
    EXPECT_NE(program.Bytes, FontProgram(italic).Bytes);
    EXPECT_FALSE(SyntheticBold(bold));
    EXPECT_FALSE(SyntheticItalic(italic));
    EXPECT_GT(TextWidth(bold, kPangram), TextWidth(regular, kPangram));
    EXPECT_GT(TextWidth(Font("Arial", 10, kStyleBold), kPangram),
              TextWidth(Font("Arial", 10), kPangram));
}

TEST(FontMatching, UnknownAndOldNamesFallBackAsWindowsDoes) {
    EXPECT_EQ(Font("No Such Face 4711", 12).ActualFamily(), "Liberation Sans");
    EXPECT_EQ(Font("Helvetica", 12).ActualFamily(), "Liberation Sans");
    EXPECT_EQ(Font("times", 12).ActualFamily(), "Liberation Serif");
    EXPECT_EQ(Font("Courier", 12).ActualFamily(), "Liberation Mono");
    EXPECT_EQ(Font("No Such Face 4711", 12).RequestedName(), "No Such Face 4711");
}

TFont ClassFont(std::string_view name, uint8_t familyClass, uint8_t style = 0) {
    return selfont(name, 600, 100.0, 12, style, 0, familyClass);
}

TEST(FontMatching, AnUnknownFaceStandsInWithTheStockFaceOfItsFamilyClass) {
    const std::pair<uint8_t, const char*> kExpected[] = {
        {kFamilyRoman, "Liberation Serif"},  {kFamilySwiss, "Liberation Sans"},
        {kFamilyModern, "Liberation Mono"},  {kFamilyScript, "Liberation Sans"},
        {kFamilyDecorative, "Liberation Sans"}, {kFamilyUnknown, "Liberation Sans"},
        {200, "Liberation Sans"},  // a class no table gives
    };
    for (const auto& [familyClass, actual] : kExpected) {
        const TFont font = ClassFont("Quillmere Class Test", familyClass);
        EXPECT_EQ(font.ActualFamily(), actual) << int(familyClass);
        EXPECT_EQ(font.RequestedName(), "Quillmere Class Test");
    }
    // The stand-in measures as the stock face does, in every style.
    const TFont serifBold = ClassFont("Quillmere Class Test", kFamilyRoman, kStyleBold);
    EXPECT_FALSE(SyntheticBold(serifBold));
    EXPECT_EQ(TextWidth(serifBold, kPangram),
              TextWidth(Font("Times New Roman", 12, kStyleBold), kPangram));
    // One name under two classes is two fonts, whichever is asked for first.
    EXPECT_NE(TextWidth(ClassFont("Quillmere Order Test", kFamilySwiss), kPangram),
              TextWidth(ClassFont("Quillmere Order Test", kFamilyRoman), kPangram));
    EXPECT_EQ(ClassFont("Quillmere Order Test", kFamilyRoman).ActualFamily(), "Liberation Serif");
}

TEST(FontMatching, AFaceFontconfigKnowsKeepsItsMatchWhateverItsClass) {
    // Installed faces and faces with a metric alias.
    for (const char* name : {"Liberation Sans", "Arial", "Calibri", "DejaVu Sans", "Helvetica"}) {
        const std::string usual = Font(name, 12).ActualFamily();
        for (uint8_t familyClass : {kFamilyRoman, kFamilyModern, kFamilySwiss}) {
            EXPECT_EQ(ClassFont(name, familyClass).ActualFamily(), usual)
                << name << " as class " << int(familyClass);
        }
    }
    EXPECT_EQ(ClassFont("Times New Roman", kFamilyModern).ActualFamily(), "Liberation Serif");
    EXPECT_EQ(ClassFont("Courier New", kFamilyRoman).ActualFamily(), "Liberation Mono");
}

TEST(FontMatching, OddNamesResolveWithoutHarm) {
    const std::string kNames[] = {
        "",
        std::string(10000, 'x'),
        "\xC4\xD6\xDC\xFF\x80\x81",
        std::string("Liberation Serif\0junk", 21),
        "   ",
        "Arial:bold",
        "Times New Roman,Bold",
        "\x01\x02\x7F",
    };
    for (const std::string& name : kNames) {
        TFont font = Font(name, 12);
        ASSERT_TRUE(font.Valid());
        EXPECT_EQ(font.RequestedName(), name);
        EXPECT_GT(TextWidth(font, "abc"), 0);
        EXPECT_GT(TextHeight(font, "abc"), 0);
    }
    // CreateFontA reads the face name up to its NUL.
    EXPECT_EQ(Font(kNames[3], 12).ActualFamily(), "Liberation Serif");
}

TEST(FontMatching, FacesWithoutBoldOrItalicAreSimulated) {
    TFont regular = Font("DejaVu Math TeX Gyre", 12);
    if (regular.ActualFamily() != "DejaVu Math TeX Gyre") GTEST_SKIP() << "face not installed";
    TFont bold = Font("DejaVu Math TeX Gyre", 12, kStyleBold);
    TFont italic = Font("DejaVu Math TeX Gyre", 12, kStyleItalic);
    EXPECT_EQ(bold.ActualFamily(), "DejaVu Math TeX Gyre");
    EXPECT_TRUE(SyntheticBold(bold));
    EXPECT_TRUE(SyntheticItalic(italic));
    EXPECT_FALSE(SyntheticBold(regular));
    // Simulated bold widens each character by a pixel; simulated italic keeps the widths.
    EXPECT_EQ(TextWidth(bold, "abcd"), TextWidth(regular, "abcd") + 4);
    EXPECT_EQ(TextWidth(italic, "abcd"), TextWidth(regular, "abcd"));
    EXPECT_EQ(TextHeight(bold, "a"), TextHeight(regular, "a"));
}

TEST(TextExtents, SubstituteMeasuresLikeTheFaceItStandsFor) {
    for (int style : {0, 1, 2, 3}) {
        for (double size : {6.0, 8.0, 10.0, 11.0, 12.0, 14.0, 24.0}) {
            for (int32_t dpi : {96, 300, 600}) {
                TTextExtent byAlias =
                    TextExtent(Font("Times New Roman", size, style, dpi), kPangram);
                TTextExtent direct =
                    TextExtent(Font("Liberation Serif", size, style, dpi), kPangram);
                EXPECT_EQ(byAlias.Cx, direct.Cx) << size << " pt at " << dpi;
                EXPECT_EQ(byAlias.Cy, direct.Cy) << size << " pt at " << dpi;
            }
        }
    }
}

TEST(TextExtents, WidthsAreRoundedDesignAdvances) {
    TFont times = Font("Times New Roman", 12);  // 100 pixels per em
    EXPECT_EQ(TextWidth(times, "\x97"), 100);   // em dash: a full em
    EXPECT_EQ(TextWidth(times, "0123456789"), 500);
    EXPECT_EQ(TextWidth(times, " "), 25);
    TFont arial = Font("Arial", 12);
    EXPECT_EQ(TextWidth(arial, "\x80"), TextWidth(arial, "0"));  // the euro is figure-wide
    EXPECT_EQ(TextWidth(arial, "\x93"), TextWidth(arial, "\x94"));
    EXPECT_NE(TextWidth(arial, "\x93"), TextWidth(arial, "\x01"));  // not the missing glyph
    // A string measures as the sum of its characters.
    int32_t sum = 0;
    for (const char* p = kPangram; *p != '\0'; ++p)
        sum += TextWidth(arial, std::string(1, *p));
    EXPECT_EQ(TextWidth(arial, kPangram), sum);
}

TEST(TextExtents, BytesMeasureAsTheirCodePoints) {
    for (const char* name : {"Arial", "Times New Roman", "DejaVu Math TeX Gyre"}) {
        TFont font = Font(name, 12, kStyleBold);
        for (int code = 0; code < 256; ++code) {
            const std::string byte(1, static_cast<char>(code));
            const std::u32string codePoint(1, Cp1252ToUnicode(static_cast<uint8_t>(code)));
            EXPECT_EQ(TextWidth(font, byte), TextWidth(font, codePoint)) << name << " " << code;
        }
    }
}

// The bounding box of an outline's points, in font units.
struct TBox {
    int32_t Left = INT32_MAX, Bottom = INT32_MAX, Right = INT32_MIN, Top = INT32_MIN;
};
TBox BoxOf(const std::vector<TOutlineSegment>& outline) {
    TBox box;
    for (const TOutlineSegment& segment : outline) {
        const int points = segment.Kind == TSegmentKind::Cubic   ? 3
                           : segment.Kind == TSegmentKind::Conic ? 2
                                                                 : 1;
        for (int i = 0; i < points; ++i) {
            box.Left = std::min(box.Left, segment.Points[i].X);
            box.Right = std::max(box.Right, segment.Points[i].X);
            box.Bottom = std::min(box.Bottom, segment.Points[i].Y);
            box.Top = std::max(box.Top, segment.Points[i].Y);
        }
    }
    return box;
}

TEST(CodePoints, BeyondWindows1252AreFoundMeasuredAndDrawnThroughTheUnicodeMap) {
    TFont arial = Font("Arial", 12);  // Liberation Sans at 100 pixels per em
    const uint32_t zhe = GlyphIndex(arial, U'\u0416');
    EXPECT_TRUE(HasGlyph(arial, U'\u0416'));
    EXPECT_NE(zhe, GlyphIndex(arial, U'X'));
    EXPECT_FALSE(HasGlyph(arial, U'\U0010FFFD'));
    const int32_t width = TextWidth(arial, U"\u0416");
    EXPECT_GT(width, TextWidth(arial, U"x"));
    EXPECT_NE(width, TextWidth(arial, U"\U0010FFFD"));  // not the missing glyph
    EXPECT_EQ(TextWidth(arial, U"\u0416"), width);      // the second time from what was kept
    EXPECT_NEAR(width, DesignAdvance(arial, zhe) * 100.0 / UnitsPerEm(arial), 0.5);
    EXPECT_EQ(TextWidth(arial, U"A\u0416\u20AC"),
              TextWidth(arial, "A") + width + TextWidth(arial, "\x80"));
    EXPECT_EQ(TextHeight(arial, U"\u0416"), TextHeight(arial, "A"));
    // Drawn at 100 pixels per em: a capital's height (1409 of 2048 units), inked in full inside.
    const TGlyphCoverage bitmap = GlyphCoverage(arial, zhe);
    EXPECT_NEAR(bitmap.Top, 69, 1);
    EXPECT_GT(bitmap.Width, width / 2);
    EXPECT_LE(bitmap.Left + bitmap.Width, width + 1);
    ASSERT_EQ(bitmap.Coverage.size(), size_t(bitmap.Width) * bitmap.Height);
    EXPECT_EQ(*std::max_element(bitmap.Coverage.begin(), bitmap.Coverage.end()), 255);
    // Its outline in font units stands on the baseline and reaches the capital height.
    std::vector<TOutlineSegment> outline;
    ASSERT_TRUE(GlyphOutline(arial, zhe, outline));
    ASSERT_FALSE(outline.empty());
    EXPECT_EQ(outline.front().Kind, TSegmentKind::Move);
    const TBox box = BoxOf(outline);
    EXPECT_EQ(box.Bottom, 0);
    EXPECT_EQ(box.Top, 1409);
    EXPECT_GE(box.Left, 0);
    EXPECT_LE(box.Right, DesignAdvance(arial, zhe));
    // A space loads as an outline without contours.
    EXPECT_TRUE(GlyphOutline(arial, GlyphIndex(arial, U' '), outline));
    EXPECT_TRUE(outline.empty());
}

TEST(CodePoints, SimulatedBoldWidensAdvancesOutlinesAndBitmaps) {
    TFont regular = Font("DejaVu Math TeX Gyre", 12);
    if (regular.ActualFamily() != "DejaVu Math TeX Gyre") GTEST_SKIP() << "face not installed";
    TFont bold = Font("DejaVu Math TeX Gyre", 12, kStyleBold);
    ASSERT_TRUE(SyntheticBold(bold));
    const char32_t alpha = U'\u03B1';
    const uint32_t glyph = GlyphIndex(regular, alpha);
    ASSERT_NE(glyph, 0u);
    EXPECT_EQ(GlyphIndex(bold, alpha), glyph);
    // One pixel more, as for the characters of Windows-1252.
    EXPECT_EQ(TextWidth(bold, U"\u03B1"), TextWidth(regular, U"\u03B1") + 1);
    EXPECT_EQ(DesignAdvance(bold, glyph), DesignAdvance(regular, glyph));
    std::vector<TOutlineSegment> thin, thick;
    ASSERT_TRUE(GlyphOutline(regular, glyph, thin));
    ASSERT_TRUE(GlyphOutline(bold, glyph, thick));
    // Emboldened by a twenty-fourth of the em in all: half of it to each side.
    const int32_t strength = UnitsPerEm(bold) / 24;
    EXPECT_NEAR(BoxOf(thick).Right - BoxOf(thick).Left,
                BoxOf(thin).Right - BoxOf(thin).Left + strength, 2);
    EXPECT_GT(GlyphCoverage(bold, glyph).Width, GlyphCoverage(regular, glyph).Width);
}

TEST(CodePoints, StrikeOutLinesComeFromTheFontsOs2Table) {
    // Liberation Sans: yStrikeoutPosition 530, yStrikeoutSize 102 of 2048 units.
    const TStrikeLine arial = StrikeLine(Font("Arial", 12));
    EXPECT_EQ(arial.Position, 26);
    EXPECT_EQ(arial.Thickness, 5);
    // Liberation Serif at 16 pixels: 420 and 100 units; the line is never thinner than a pixel.
    const TStrikeLine times = StrikeLine(Font("Times New Roman", 12, 0, 96));
    EXPECT_EQ(times.Position, 3);
    EXPECT_EQ(times.Thickness, 1);
}

TEST(CodePoints, TheFontProgramIsTheFaceFile) {
    const TFontProgram program = FontProgram(Font("Arial", 12));
    ASSERT_GT(program.Bytes.size(), 12u);
    const std::vector<uint8_t> trueType = {0x00, 0x01, 0x00, 0x00};  // the sfnt version
    EXPECT_TRUE(std::equal(trueType.begin(), trueType.end(), program.Bytes.begin()));
    EXPECT_EQ(program.FaceIndex, 0);
    EXPECT_EQ(FontProgram(Font("Arial", 24)).Bytes, program.Bytes);
}

TEST(TextExtents, HeightIsTheWindowsAscentPlusDescent) {
    // Times New Roman: usWinAscent 1825 and usWinDescent 443 of 2048 units, rounded each.
    EXPECT_EQ(TextHeight(Font("Times New Roman", 12), "x"), 89 + 22);
    EXPECT_EQ(TextHeight(Font("Times New Roman", 12, 0, 96), "x"), 14 + 3);
    TFontMetrics metrics = FontMetrics(Font("Times New Roman", 12));
    EXPECT_EQ(metrics.Ascent, 89);
    EXPECT_EQ(metrics.Descent, 22);
    EXPECT_EQ(metrics.Height, 111);
    // Arial: 1854 and 434.
    EXPECT_EQ(TextHeight(Font("Arial", 12), "x"), 91 + 21);
}

TEST(TextExtents, EmptyStringHasNoWidthButTheFontsHeight) {
    TFont font = Font("Arial", 10);
    TTextExtent empty = TextExtent(font, "");
    EXPECT_EQ(empty.Cx, 0);
    EXPECT_EQ(empty.Cy, TextHeight(font, "Ag"));
    EXPECT_GT(empty.Cy, 0);
}

TEST(TextExtents, InvalidFontMeasuresNothing) {
    TFont none;
    EXPECT_FALSE(none.Valid());
    TTextExtent extent = TextExtent(none, "abc");
    EXPECT_EQ(extent.Cx, 0);
    EXPECT_EQ(extent.Cy, 0);
    EXPECT_EQ(TextExtent(none, U"\u0416").Cx, 0);
    EXPECT_EQ(none.RequestedName(), "");
    EXPECT_EQ(GlyphIndex(none, U'A'), 0u);
    EXPECT_TRUE(FontProgram(none).Bytes.empty());
    EXPECT_TRUE(GlyphCoverage(none, 1).Coverage.empty());
    std::vector<TOutlineSegment> outline;
    EXPECT_FALSE(GlyphOutline(none, 1, outline));
    EXPECT_FALSE(OutlineMetrics(none).HasOutline);
    EXPECT_EQ(FontMetrics(none).Height, 0);
}

TEST(TextExtents, RepeatedMeasuringGivesTheSameResults) {
    const std::string text = "Quillmere \x93measures\x94 \x80 100 \xE4\xF6\xFC\xDF";
    std::vector<TFont> fonts;
    for (const char* name : {"Arial", "Times New Roman", "Calibri", "Courier New", "Cambria"}) {
        for (double size : {8.0, 10.5, 12.0}) {
            fonts.push_back(Font(name, size));
            fonts.push_back(Font(name, size, kStyleBold | kStyleItalic));
        }
    }
    std::vector<TTextExtent> first;
    for (const TFont& font : fonts)
        first.push_back(TextExtent(font, text));
    for (int round = 0; round < 3; ++round) {
        for (size_t i = fonts.size(); i-- > 0;) {
            TFont again = selfont(fonts[i].RequestedName(), 600, 100.0,
                                  fonts[i].PixelSize() * 72.0 / 600, 0, 0);
            (void)TextExtent(again, text);
            TTextExtent extent = TextExtent(fonts[i], text);
            EXPECT_EQ(extent.Cx, first[i].Cx);
            EXPECT_EQ(extent.Cy, first[i].Cy);
        }
    }
}

TEST(TextExtents, ThreadsMeasureAlike) {
    std::vector<double> sizes;
    for (int i = 0; i < 40; ++i)
        sizes.push_back(6.0 + i * 0.5);
    auto measureAll = [&](std::vector<int32_t>& out) {
        for (double size : sizes) {
            for (const char* name : {"Arial", "Georgia", "Times New Roman"}) {
                out.push_back(TextWidth(Font(name, size), kPangram));
            }
        }
    };
    std::vector<std::vector<int32_t>> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results)
        threads.emplace_back(measureAll, std::ref(result));
    for (auto& thread : threads)
        thread.join();
    std::vector<int32_t> expected;
    measureAll(expected);
    for (const auto& result : results)
        EXPECT_EQ(result, expected);
}

TEST(Cp1252, HighCodesMapToTheirUnicodeCharacters) {
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x93), U'\u201C');
    EXPECT_EQ(Cp1252ToUnicode(0x94), U'\u201D');
    EXPECT_EQ(Cp1252ToUnicode(0x96), U'\u2013');
    EXPECT_EQ(Cp1252ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(Cp1252ToUnicode(0xDF), U'\u00DF');
    EXPECT_EQ(Cp1252ToUnicode(0x41), U'A');
    EXPECT_EQ(Cp1252ToUnicode(0xA0), U'\u00A0');
    EXPECT_EQ(Cp1252ToUnicode(0xFF), U'\u00FF');
    for (uint8_t undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(Cp1252ToUnicode(undefined), undefined);
    }
}

TEST(OutlineMetrics, ArialAtTwelvePixelsPerEm) {
    // The PDF writer's measuring font: 72 dots per inch, 12 points.
    TOutlineMetrics metrics = OutlineMetrics(selfont("Arial", 72, 100.0, 12, 0, 1));
    ASSERT_TRUE(metrics.HasOutline);
    EXPECT_EQ(metrics.Ascent, 9);     // sTypoAscender 1491
    EXPECT_EQ(metrics.Descent, -3);   // sTypoDescender -431
    EXPECT_EQ(metrics.CapHeight, 8);  // sCapHeight 1409
    EXPECT_EQ(metrics.ItalicAngle, 0.0);
    EXPECT_EQ(metrics.TextAscent, 11);
    EXPECT_EQ(metrics.TextDescent, 3);
    EXPECT_EQ(metrics.CellHeight, 14);
    EXPECT_LT(metrics.BoxLeft, 0);
    EXPECT_LT(metrics.BoxBottom, metrics.Descent + 1);
    EXPECT_GT(metrics.BoxRight, 0);
    EXPECT_GE(metrics.BoxTop, metrics.Ascent);
    EXPECT_GE(metrics.MaxCharWidth, metrics.Widths['W']);
    EXPECT_EQ(metrics.FirstChar, 30);  // the range starts at the space
    EXPECT_EQ(metrics.LastChar, 255);
    EXPECT_EQ(metrics.Widths[' '], 3);
    EXPECT_EQ(metrics.Widths['0'], 7);
    EXPECT_EQ(metrics.Widths[0x97], 12);
}

TEST(OutlineMetrics, WidthsAreThoseOfOneCharacterStrings) {
    for (int style : {0, kStyleBold | kStyleItalic}) {
        TFont font = selfont("Times New Roman", 72, 100.0, 12, style, 1);
        TOutlineMetrics metrics = OutlineMetrics(font);
        for (int code = 0; code < 256; ++code) {
            std::string text(1, static_cast<char>(code));
            EXPECT_EQ(metrics.Widths[code], TextWidth(font, text)) << code;
        }
    }
}

TEST(OutlineMetrics, ItalicFacesLeanRight) {
    EXPECT_LT(OutlineMetrics(Font("Arial", 12, kStyleItalic)).ItalicAngle, 0.0);
    EXPECT_EQ(OutlineMetrics(Font("Arial", 12, kStyleBold)).ItalicAngle, 0.0);
}

// With no font at all, selfont gives an invalid font and every measure is zero. Fontconfig reads
// its configuration once per process, so this runs in a fresh process of its own.
TEST(FontCacheDeathTest, NoFontsAtAllGiveInvalidFonts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto measureWithoutFonts = [] {
        std::string config = ::testing::TempDir() + "qm_no_fonts.conf";
        if (FILE* file = std::fopen(config.c_str(), "w")) {
            std::fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", file);
            std::fclose(file);
        }
        setenv("FONTCONFIG_FILE", config.c_str(), 1);
        TFont font = selfont("Arial", 600, 100.0, 12, 0, 0);
        TTextExtent extent = TextExtent(font, "abc");
        bool allZero =
            !font.Valid() && extent.Cx == 0 && extent.Cy == 0 && !OutlineMetrics(font).HasOutline;
        std::exit(allZero ? 0 : 1);
    };
    EXPECT_EXIT(measureWithoutFonts(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace qm
