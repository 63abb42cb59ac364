// A symbol font (only a Microsoft symbol character map) made for the test and the only font
// fontconfig knows in this program: its characters sit at 0xF000 plus their Windows-1252 byte,
// or at the byte itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "raster/font.h"
#include "raster/font_program.h"
#include "raster/glyph_shapes.h"
#include "raster/truetype_fixture.h"

namespace qm {
namespace {

constexpr const char* kFamily = "Quillmere Symbol Test";

TTestFontPlan SymbolSpec() {
    TTestFontPlan plan;
    plan.Family = kFamily;
    plan.SymbolMap = true;
    plan.Advances = {300, 500, 600, 700, 800};  // .notdef and glyphs 1 to 4
    plan.Map = {{0x0043, 4}, {0xF041, 1}, {0xF042, 2}, {0xF080, 3}};
    return plan;
}

// A folder of this process's own: test processes of other builds run at the same time.
std::string FontDir() {
    return ::testing::TempDir() + "qm_symbol_font_" + std::to_string(getpid());
}

// Fontconfig reads its configuration when the first font is made, after this has run.
class TSymbolFontEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const std::string dir = FontDir();
        std::filesystem::create_directories(dir);
        const std::vector<uint8_t> font = MakeTrueTypeFont(SymbolSpec());
        std::ofstream(dir + "/symbol.ttf", std::ios::binary)
            .write(reinterpret_cast<const char*>(font.data()), std::streamsize(font.size()));
        const std::string config = dir + "/fonts.conf";
        std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << dir
                              << "</dir><cachedir>" << dir << "/cache</cachedir></fontconfig>\n";
        setenv("FONTCONFIG_FILE", config.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(FontDir(), ignored);
    }
};
::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new TSymbolFontEnvironment);

TFont SymbolFont() {
    return selfont(kFamily, 600, 100.0, 12, 0, 2);  // 100 pixels per em
}

TEST(SymbolFont, CodePointsOfWindows1252UseTheirByteInTheSymbolMap) {
    const TFont font = SymbolFont();
    ASSERT_TRUE(font.Valid());
    ASSERT_EQ(font.ActualFamily(), kFamily);
    EXPECT_EQ(GlyphIndex(font, U'A'), 1u);       // at 0xF041
    EXPECT_EQ(GlyphIndex(font, U'B'), 2u);       // at 0xF042
    EXPECT_EQ(GlyphIndex(font, U'\u20AC'), 3u);  // the euro is byte 0x80: at 0xF080
    EXPECT_EQ(GlyphIndex(font, U'C'), 4u);       // not at 0xF043, but at 0x43 itself
    EXPECT_EQ(GlyphIndex(font, U'D'), 0u);
    EXPECT_EQ(GlyphIndex(font, U'\u0080'), 0u);  // a C1 control is not the euro's byte
    // Code points beyond Windows-1252 are looked up in the symbol map as they are.
    EXPECT_EQ(GlyphIndex(font, U'\uF041'), 1u);
    EXPECT_TRUE(HasGlyph(font, U'\uF080'));
    EXPECT_FALSE(HasGlyph(font, U'\uF043'));
}

TEST(SymbolFont, MeasuresTheGlyphsItFinds) {
    const TFont font = SymbolFont();
    ASSERT_EQ(font.ActualFamily(), kFamily);
    EXPECT_EQ(TextWidth(font, U"A"), 50);
    EXPECT_EQ(TextWidth(font, U"AB\u20ACC"), 50 + 60 + 70 + 80);
    EXPECT_EQ(TextWidth(font, "AB\x80\x43"), 50 + 60 + 70 + 80);  // the same as bytes
    EXPECT_EQ(TextWidth(font, U"D\uF042"), 30 + 60);              // the missing glyph's advance
    EXPECT_EQ(TextHeight(font, U"A"), 80 + 20);                   // hhea ascender and descender
    const TOutlineMetrics metrics = OutlineMetrics(font);
    EXPECT_EQ(metrics.FirstChar, 30);
    EXPECT_EQ(metrics.Widths[0x80], 70);
    EXPECT_EQ(DesignAdvance(font, 3), 700);
    EXPECT_EQ(UnitsPerEm(font), 1000);
}

TEST(SymbolFont, GivesItsOutlinesAndProgram) {
    const TFont font = SymbolFont();
    ASSERT_EQ(font.ActualFamily(), kFamily);
    std::vector<TOutlineSegment> outline;
    ASSERT_TRUE(GlyphOutline(font, GlyphIndex(font, U'A'), outline));
    // The square, closed by a line back to its start.
    const int32_t expected[][2] = {{100, 0}, {400, 0}, {400, 700}, {100, 700}, {100, 0}};
    ASSERT_EQ(outline.size(), std::size(expected));
    for (size_t i = 0; i < outline.size(); ++i) {
        EXPECT_EQ(outline[i].Kind, i == 0 ? TSegmentKind::Move : TSegmentKind::Line);
        EXPECT_EQ(outline[i].Points[0].X, expected[i][0]);
        EXPECT_EQ(outline[i].Points[0].Y, expected[i][1]);
    }
    // Drawn, the square is 30 by 70 pixels, with the glyph's side bearing of 10.
    const TGlyphCoverage bitmap = GlyphCoverage(font, 1);
    EXPECT_NEAR(bitmap.Left, 10, 1);
    EXPECT_NEAR(bitmap.Width, 30, 2);
    EXPECT_NEAR(bitmap.Top, 70, 2);
    EXPECT_EQ(FontProgram(font).Bytes, MakeTrueTypeFont(SymbolSpec()));
}

}  // namespace
}  // namespace qm
