// Which face draws a code point: the font's own, an installed fallback face, or none.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "raster/font.h"
#include "raster/glyph_shapes.h"

namespace qm {
namespace {

TFont Font(std::string_view name, uint8_t style = 0) {
    return selfont(name, 600, 100.0, 12, style, 0);  // 100 pixels per em
}

// The resolved glyph's advance in whole pixels, as the font layer scales design advances.
double AdvancePixels(const TResolvedGlyph& r) {
    return DesignAdvance(r.Font, r.Glyph) * double(r.Font.PixelSize()) / UnitsPerEm(r.Font);
}

TEST(ResolveGlyph, ScriptsTheFontsOwnFaceHoldsStayWithIt) {
    // Liberation Serif and DejaVu Sans carry Cyrillic, Greek and Hebrew themselves.
    for (const char* family : {"Times New Roman", "Verdana"}) {
        const TFont font = Font(family);
        for (char32_t code : {U'\u0416', U'\u03A9', U'\u03B1', U'\u05D0'}) {
            const TResolvedGlyph r = ResolveGlyph(font, code);
            EXPECT_TRUE(r.Found) << family << " " << std::hex << uint32_t(code);
            EXPECT_EQ(r.Font.Face(), font.Face()) << family;
            EXPECT_EQ(r.Glyph, GlyphIndex(font, code));
            EXPECT_EQ(r.Text, code);
        }
    }
    // Windows-1252 text never leaves its face, even for a character the face lacks.
    const TFont symbol = Font("Symbol");
    for (char32_t code : {U'A', U'\u20AC', U'\u0152', U'\u2122'}) {
        const TResolvedGlyph r = ResolveGlyph(symbol, code);
        EXPECT_EQ(r.Font.Face(), symbol.Face()) << std::hex << uint32_t(code);
        EXPECT_EQ(r.Glyph, GlyphIndex(symbol, code));
    }
}

TEST(ResolveGlyph, CjkInATimesNewRomanRunComesFromANotoCjkFaceAtTheSameSizeAndStyle) {
    for (uint8_t style : {uint8_t(0), kStyleBold, uint8_t(kStyleItalic | kStyleStrikeOut)}) {
        const TFont font = Font("Times New Roman", style);
        ASSERT_FALSE(HasGlyph(font, U'\u4E2D'));
        const TResolvedGlyph r = ResolveGlyph(font, U'\u4E2D');
        ASSERT_TRUE(r.Found);
        EXPECT_NE(r.Font.Face(), font.Face());
        EXPECT_NE(r.Font.ActualFamily().find("CJK"), std::string::npos) << r.Font.ActualFamily();
        EXPECT_NE(r.Glyph, 0u);
        EXPECT_EQ(r.Text, U'\u4E2D');
        EXPECT_EQ(r.Font.Height(), font.Height());
        EXPECT_EQ(r.Font.Weight(), font.Weight());
        EXPECT_EQ(r.Font.Italic(), font.Italic());
        EXPECT_EQ(r.Font.StrikeOut(), font.StrikeOut());
        // The same face for the next character of the script, and again from what was kept.
        EXPECT_EQ(ResolveGlyph(font, U'\u6587').Font.Face(), r.Font.Face());
        EXPECT_EQ(ResolveGlyph(font, U'\u4E2D').Font.Face(), r.Font.Face());
        // Measured by that face: a full-width ideograph is about an em wide (plus a pixel of
        // simulated bold), and a mixed run adds up character by character.
        const int32_t width = TextWidth(font, U"\u4E2D");
        EXPECT_NEAR(width, AdvancePixels(r) + (SyntheticBold(r.Font) ? 1 : 0), 0.5);
        EXPECT_NEAR(width, 100, 2);
        EXPECT_EQ(TextWidth(font, U"A\u4E2DB"),
                  TextWidth(font, U"A") + width + TextWidth(font, U"B"));
        EXPECT_EQ(TextHeight(font, U"\u4E2D"), TextHeight(font, U"A"));
        // And drawn by it: ink inside the em.
        const TGlyphCoverage bitmap = GlyphCoverage(r.Font, r.Glyph);
        EXPECT_GT(bitmap.Width, 50);
        EXPECT_GT(bitmap.Height, 50);
    }
}

TEST(ResolveGlyph, SymbolFontCharactersWithoutASymbolFaceShowTheirMeaning) {
    struct TCase {
        const char* Family;
        char32_t Code;
        char32_t Meaning;
    };
    const TCase cases[] = {
        {"Symbol", 0xF0B7, U'\u2022'},     // bullet
        {"Symbol", 0xF061, U'\u03B1'},     // alpha
        {"Symbol", 0xF0AE, U'\u2192'},     // right arrow
        {"Symbol", 0xF0A5, U'\u221E'},     // infinity
        {"SYMBOL", 0xF0D6, U'\u221A'},     // the family is matched without regard to case
        {"Wingdings", 0xF0FC, U'\u2714'},  // check mark
        {"Wingdings", 0xF0FE, U'\u2611'},  // ballot box with check
        {"Wingdings", 0xF06C, U'\u25CF'},  // round bullet
        {"Wingdings", 0xF0A7, U'\u25AA'},  // square bullet
        {"Wingdings", 0xF0D8, U'\u27A2'},  // arrowhead bullet
        {"Wingdings", 0xF028, U'\u260E'},  // telephone
    };
    for (const TCase& c : cases) {
        const TFont font = Font(c.Family);
        ASSERT_FALSE(HasGlyph(font, c.Code)) << c.Family << " is a real symbol face here";
        const TResolvedGlyph r = ResolveGlyph(font, c.Code);
        EXPECT_TRUE(r.Found) << c.Family << " " << std::hex << uint32_t(c.Code);
        EXPECT_EQ(r.Text, c.Meaning) << c.Family << " " << std::hex << uint32_t(c.Code);
        EXPECT_EQ(r.Glyph, GlyphIndex(r.Font, c.Meaning));
        EXPECT_GT(TextWidth(font, std::u32string(1, c.Code)), 0);
        EXPECT_EQ(TextWidth(font, std::u32string(1, c.Code)),
                  TextWidth(r.Font, std::u32string(1, c.Meaning)));
    }
    // Another family's private-use characters mean nothing of the kind.
    EXPECT_EQ(ResolveGlyph(Font("Arial"), 0xF0B7).Text, char32_t(0xF0B7));
    // Bytes outside the Symbol encoding keep their code.
    EXPECT_EQ(ResolveGlyph(Font("Symbol"), 0xF080).Text, char32_t(0xF080));
}

TEST(ResolveGlyph, ACodePointNoFaceHoldsIsTheOwnFacesMissingGlyph) {
    const TFont font = Font("Times New Roman");
    for (char32_t code : {char32_t(0xF0000), char32_t(0x10FFFD), char32_t(0xD83D)}) {
        const TResolvedGlyph r = ResolveGlyph(font, code);
        EXPECT_FALSE(r.Found) << std::hex << uint32_t(code);
        EXPECT_EQ(r.Font.Face(), font.Face());
        EXPECT_EQ(r.Glyph, 0u);
        EXPECT_EQ(r.Text, code);
        EXPECT_EQ(TextWidth(font, std::u32string(1, code)),
                  TextWidth(font, std::u32string(1, char32_t(0xF0001))));
    }
    const TResolvedGlyph none = ResolveGlyph(TFont(), U'\u4E2D');
    EXPECT_FALSE(none.Found);
    EXPECT_FALSE(none.Font.Valid());
}

TEST(ResolveGlyph, ThreadsFindTheSameFaces) {
    const TFont font = Font("Courier New", kStyleBold);
    const std::u32string text = U"\u4E00\u4E8C\u4E09\u56DB\u4E94\u0416\u05D0\U00010FFD";
    std::vector<int32_t> widths(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < widths.size(); ++i)
        threads.emplace_back([&, i] { widths[i] = TextWidth(font, text); });
    for (std::thread& t : threads)
        t.join();
    for (int32_t width : widths)
        EXPECT_EQ(width, widths[0]);
    EXPECT_EQ(TextWidth(font, text), widths[0]);
}

}  // namespace
}  // namespace qm
