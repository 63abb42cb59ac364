// Text outside Windows-1252 in the PDF: each glyph shown by id in a Type 0 font of the face that
// has it, with an embedded subset and a ToUnicode CMap, so that viewers draw it and text
// extraction gives the code points back. Text Windows-1252 holds keeps its simple font.
#include <gtest/gtest.h>

#include <hb.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "pdf/pdf_font_subset.h"
#include "pdf/pdf_fonts.h"
#include "pdf/pdf_page_surface.h"
#include "pdf_test_support.h"
#include "raster/glyph_shapes.h"
#include "raster/hb_face_cache.h"

namespace qm {
namespace {

using test::RunCommand;

// Draws text as the page walk does: one run per character, each at the position the widths
// before it give, through the PDF page surface.
void DrawLine(TPDFCanvas& canvas, const std::string& face, std::u32string_view text, int32_t y,
              int underline = 0) {
    TPDFPageSurface surface(canvas, nullptr);
    surface.SelectFont(face, 12.0, underline ? kStyleUnderline : 0, 1, kFamilyUnknown);
    TTextRunStyle style;
    style.UnderlineKind = underline;
    int32_t x = 40;
    for (size_t i = 0; i < text.size(); ++i) {
        const std::u32string_view one = text.substr(i, 1);
        surface.DrawTextRun(x, y, one, style);
        x += surface.TextWidth(one);
    }
}

class PdfType0 : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"qpdf", "pdftotext", "pdffonts"}) {
            if (!test::HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
        }
    }

    std::string Write(const std::function<void(TPDFCanvas&)>& draw) {
        const std::string path = folder_.File("type0.pdf");
        TPDFCanvas canvas;
        EXPECT_TRUE(canvas.BeginDoc(path));
        draw(canvas);
        unembedded_ = canvas.UnembeddedGlyphs();
        EXPECT_TRUE(canvas.EndDoc()) << canvas.ErrorText();
        return path;
    }

    static std::string Run(const std::string& command) {
        std::string out;
        EXPECT_EQ(RunCommand(command + " 2>&1", out), 0) << command << "\n" << out;
        return out;
    }

    test::TTempFolder folder_;
    int32_t unembedded_ = 0;
};

TEST_F(PdfType0, CyrillicGreekAndCjkAreEmbeddedAndExtractExactly) {
    const std::string path = Write([](TPDFCanvas& canvas) {
        DrawLine(canvas, "Times New Roman", U"Привет, мир", 100);
        DrawLine(canvas, "Times New Roman", U"Καλημέρα κόσμε", 130);
        DrawLine(canvas, "Noto Sans CJK JP", U"日本語のテキスト", 160);
        DrawLine(canvas, "Times New Roman", U"caf\u00e9 \u20ac5", 190);
    });
    EXPECT_EQ(unembedded_, 0);

    std::string check;
    EXPECT_EQ(RunCommand("qpdf --check '" + path + "' 2>&1", check), 0) << check;
    EXPECT_EQ(check.find("WARNING"), std::string::npos) << check;

    // The simple font for the Latin text and the spaces, one Type 0 font per face of the rest.
    const std::string fonts = Run("pdffonts '" + path + "'");
    EXPECT_NE(fonts.find("TrueType          WinAnsi          no"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("CID TrueType      Identity-H       yes yes yes"), std::string::npos)
        << fonts;
    // The CJK face's compact outlines are a CIDFont: a bare CFF program.
    EXPECT_NE(fonts.find("CID Type 0C       Identity-H       yes yes yes"), std::string::npos)
        << fonts;

    const std::string text = Run("pdftotext -enc UTF-8 '" + path + "' -");
    EXPECT_EQ(text, "Привет, мир\nΚαλημέρα κόσμε\n日本語のテキスト\ncafé €5\n\n\f");
}

// The share of dark pixels in a binary PGM image (pdftoppm -gray), 0 for anything else.
double Ink(const std::string& pgm) {
    std::istringstream in(pgm);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (magic != "P5" || maxValue != 255 || pixels == 0) return 0.0;
    const size_t start = pgm.size() - pixels;
    size_t dark = 0;
    for (size_t i = start; i < pgm.size(); ++i)
        dark += static_cast<uint8_t>(pgm[i]) < 128 ? 1 : 0;
    return static_cast<double>(dark) / static_cast<double>(pixels);
}

TEST_F(PdfType0, SubsetsAreReadableFontProgramsThatDrawTheirGlyphs) {
    // qpdf checks the structure only, and text extraction reads the ToUnicode CMap, not the
    // font: the glyphs have to be found in the subset and drawn, which rendering exercises.
    if (!test::HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    const std::string path = Write([](TPDFCanvas& canvas) {
        DrawLine(canvas, "Times New Roman", U"Ωмега", 100);
        canvas.NextPage();
        // A CIDFont's subset, whose glyphs are found by CID.
        DrawLine(canvas, "Noto Sans CJK JP", U"漢字", 100);
        canvas.NextPage();
        DrawLine(canvas, "Noto Sans CJK JP", U"", 100);
    });
    const std::string out = Run("pdftoppm -r 72 -gray '" + path + "' '" + folder_.File("p") + "'");
    EXPECT_EQ(out.find("rror"), std::string::npos) << out;
    const double blank = Ink(test::ReadFile(folder_.File("p-3.pgm")));
    EXPECT_GT(Ink(test::ReadFile(folder_.File("p-1.pgm"))), blank);
    EXPECT_GT(Ink(test::ReadFile(folder_.File("p-2.pgm"))), blank);
}

TEST(PdfType0Content, WinAnsiCodePointsWriteTheBytesOfTheSimpleFont) {
    // Every code point Windows-1252 holds, the five undefined bytes included, gives the file
    // the 8-bit string gives.
    std::u32string codes;
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        codes.push_back(Cp1252ToUnicode(static_cast<uint8_t>(b)));
        bytes.push_back(static_cast<char>(b));
    }
    const std::string fromCodes = test::WritePdf([&](TPDFCanvas& canvas) {
        canvas.Font.Name = "Arial";
        canvas.TextOut(10, 20, std::u32string_view(codes));
        EXPECT_EQ(canvas.TextWidth(std::u32string_view(codes)), canvas.TextWidth(bytes));
    });
    const std::string fromBytes = test::WritePdf([&](TPDFCanvas& canvas) {
        canvas.Font.Name = "Arial";
        canvas.TextOut(10, 20, bytes);
    });
    EXPECT_EQ(fromCodes, fromBytes);
}

TEST(PdfType0Content, MixedRunsFollowEachOthersWidthsAndShowGlyphIds) {
    TFont times;
    int32_t latinWidth = 0;
    const std::string pdf = test::WritePdf([&](TPDFCanvas& canvas) {
        canvas.Font.Name = "Times New Roman";
        canvas.Font.Size = 12;
        latinWidth = canvas.TextWidth(std::string_view("ab"));
        canvas.TextOut(10, 20, std::u32string_view(U"abЖc"));
        times = selfont("Times New Roman", 72, 100.0, 12.0, 0, 1);
        // The underline of a run measures the Cyrillic letter in its own face.
        EXPECT_EQ(canvas.TextWidth(std::u32string_view(U"abЖc")),
                  latinWidth + TextWidth(times, U"Ж") + canvas.TextWidth(std::string_view("c")));
    });
    const uint32_t zhe = GlyphIndex(times, U'Ж');
    ASSERT_NE(zhe, 0u);
    char hex[8];
    std::snprintf(hex, sizeof hex, "<%04X>", zhe);
    const std::string content = test::PageContent(pdf, 1);
    const int32_t ascent = FontMetrics(times).Ascent;
    // The same baseline as the Latin letters, after their width; the font selected anew.
    const std::string y = std::to_string(841 - 20 - ascent);
    EXPECT_NE(content.find("/F1 12 Tf\n10 " + y + "  Td (ab) Tj"), std::string::npos) << content;
    EXPECT_NE(content.find("/F2 12 Tf\n" + std::to_string(10 + latinWidth) + " " + y + "  Td " +
                           hex + " Tj"),
              std::string::npos)
        << content;
    EXPECT_NE(content.find("/F1 12 Tf\n"), content.rfind("/F1 12 Tf\n")) << content;

    // The Type 0 font's widths are the glyph's design advance in thousandths of the em.
    const int64_t width = std::llround(DesignAdvance(times, zhe) * 1000.0 / UnitsPerEm(times));
    EXPECT_NE(pdf.find("/W [" + std::to_string(zhe) + " [" + std::to_string(width) + "] ]"),
              std::string::npos);
    EXPECT_NE(pdf.find("/CIDToGIDMap /Identity"), std::string::npos);
    EXPECT_NE(pdf.find("/Encoding /Identity-H"), std::string::npos);
}

TEST(PdfType0Objects, ToUnicodeGivesEachGlyphItsTextInUtf16) {
    TPDFFontEntry entry;
    entry.Name = "Some Face";
    entry.Kind = TPDFFontKind::Type0;
    entry.Face = selfont("Times New Roman", 72, 100.0, 12.0, 0, 1);
    // A ligature stands for two characters; a glyph without text of its own is embedded and
    // measured but extracts as nothing.
    entry.Glyphs = {{5, U"\u0416"}, {7, U"\U0001D400"}, {9, U"\u0644\u0627"}, {11, U""}};
    test::TRecordingWriter out(10);
    TFontPrograms programs;
    WriteType0FontObjects(out, entry, programs);
    ASSERT_EQ(out.Objects.size(), 5u);
    // The Type 0 font points at the objects that follow it.
    EXPECT_NE(out.Objects[0].find("/DescendantFonts [11 0 R]"), std::string::npos);
    EXPECT_NE(out.Objects[0].find("/ToUnicode 14 0 R"), std::string::npos);
    EXPECT_NE(out.Objects[1].find("/FontDescriptor 12 0 R"), std::string::npos);
    EXPECT_NE(out.Objects[2].find("/FontFile2 13 0 R"), std::string::npos);
    // The subset tag: six capitals and "+", the same for the same glyphs.
    const std::string tag = SubsetTag("Some Face", {5, 7, 9, 11});
    ASSERT_EQ(tag.size(), 7u);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(tag[static_cast<size_t>(i)] >= 'A' && tag[static_cast<size_t>(i)] <= 'Z');
    EXPECT_NE(out.Objects[0].find("/BaseFont /" + tag + "Some#20Face"), std::string::npos);
    EXPECT_NE(tag, SubsetTag("Some Face", {5, 8}));
    // The CMap stream, inflated.
    const std::string& cmapObject = out.Objects[4];
    const size_t start = cmapObject.find("stream\n") + 7;
    const size_t end = cmapObject.rfind("\nendstream");
    const std::string cmap = test::Inflate(cmapObject.substr(start, end - start));
    EXPECT_NE(cmap.find("3 beginbfchar\n<0005> <0416>\n<0007> <D835DC00>\n<0009> <06440627>\n"
                        "endbfchar"),
              std::string::npos)
        << cmap;
    EXPECT_NE(out.Objects[1].find(" 11 ["), std::string::npos);
}

TEST(PdfType0Content, OneFontPerFaceAndStyleCollectsItsGlyphsOverAllPages) {
    const std::string pdf = test::WritePdf([](TPDFCanvas& canvas) {
        canvas.Font.Name = "Times New Roman";
        canvas.TextOut(10, 20, std::u32string_view(U"\u0416"));
        canvas.Font.Style = kStyleUnderline;  // decoration is drawn apart: the same face
        canvas.TextOut(10, 40, std::u32string_view(U"\u0417"));
        canvas.NextPage();
        canvas.Font.Size = 20;  // another size: the same font
        canvas.TextOut(10, 20, std::u32string_view(U"\u0416\u03a9"));
        canvas.Font.Style = kStyleBold;  // another face
        canvas.TextOut(10, 40, std::u32string_view(U"\u0416"));
        const TPDFFontTable& fonts = canvas.Fonts();
        ASSERT_EQ(fonts.Count(), 2u);
        EXPECT_EQ(fonts.Entries()[0].Kind, TPDFFontKind::Type0);
        EXPECT_EQ(fonts.Entries()[0].Glyphs.size(), 3u);  // Zhe, Ze and Omega, each once
        EXPECT_EQ(fonts.Entries()[1].Style, kStyleBold);
        EXPECT_EQ(fonts.Entries()[1].Glyphs.size(), 1u);
    });
    // Both pages list both fonts, five objects each, after the two pages' contents.
    EXPECT_EQ(test::ObjectText(pdf, 16).find("/Resources <<"), std::string::npos);
    size_t pages = 0;
    for (size_t at = 0; (at = pdf.find("/Font << /F1 6 0 R/F2 11 0 R>>", at)) != std::string::npos;
         ++at)
        ++pages;
    EXPECT_EQ(pages, 2u);
    EXPECT_NE(test::ObjectText(pdf, 6).find("/Subtype /Type0"), std::string::npos);
    EXPECT_NE(test::ObjectText(pdf, 11).find(",Bold"), std::string::npos);
}

TEST(PdfFontSubset, ProgramsThatAreNoFontsCannotBeEmbedded) {
    // The bytes of a font file are untrusted: nothing that is not a font with outlines gets
    // through, and nothing breaks on the way.
    TFontProgram empty;
    EXPECT_EQ(EmbeddableFormat(empty), TOutlineFormat::None);
    EXPECT_EQ(SubsetFont(empty, {1, 2}).Format, TOutlineFormat::None);
    TFontProgram garbage;
    garbage.Bytes.assign(4096, 0x5A);
    EXPECT_EQ(EmbeddableFormat(garbage), TOutlineFormat::None);
    // A real program cut short after its table directory.
    TFontProgram cut = FontProgram(selfont("Times New Roman", 72, 100.0, 12.0, 0, 1));
    ASSERT_GT(cut.Bytes.size(), 300u);
    cut.Bytes.resize(300);
    EXPECT_EQ(SubsetFont(cut, {1, 2}).Format, TOutlineFormat::None);
    // A face index beyond the file's faces.
    TFontProgram whole = FontProgram(selfont("Times New Roman", 72, 100.0, 12.0, 0, 1));
    EXPECT_EQ(EmbeddableFormat(whole), TOutlineFormat::TrueType);
    whole.FaceIndex = 7;
    EXPECT_EQ(EmbeddableFormat(whole), TOutlineFormat::None);
}

TEST(PdfFaceCache, EachFaceOfACollectionIsOpenedOnItsOwnOnce) {
    // The Japanese and Korean faces of the CJK collection: one file, two indexes.
    const TFontSource japanese = FontSource(selfont("Noto Sans CJK JP", 72, 100.0, 12.0, 0, 1));
    const TFontSource korean = FontSource(selfont("Noto Sans CJK KR", 72, 100.0, 12.0, 0, 1));
    if (japanese.File.empty() || japanese.File != korean.File)
        GTEST_SKIP() << "the CJK faces are not installed as one collection";
    ASSERT_NE(japanese.FaceIndex, korean.FaceIndex);
    EXPECT_TRUE(japanese.CidKeyed);
    hb_face_t* first = CachedFontFace(japanese.File, japanese.FaceIndex);
    hb_face_t* second = CachedFontFace(korean.File, korean.FaceIndex);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(hb_face_get_index(first), static_cast<unsigned>(japanese.FaceIndex));
    EXPECT_EQ(hb_face_get_index(second), static_cast<unsigned>(korean.FaceIndex));
    EXPECT_EQ(CachedFontFace(japanese.File, japanese.FaceIndex), first);
    // An index the collection lacks, and a file that is not there.
    EXPECT_EQ(CachedFontFace(japanese.File, 999), nullptr);
    EXPECT_EQ(CachedFontFace(japanese.File + ".missing", 0), nullptr);
    // A TrueType face is no CIDFont.
    EXPECT_FALSE(FontSource(selfont("Times New Roman", 72, 100.0, 12.0, 0, 1)).CidKeyed);
}

TEST(PdfFontSubset, ACidFontSubsetHoldsTheGlyphsShownWhateverTextTheyStandFor) {
    const TFont font = selfont("Noto Sans CJK JP", 72, 100.0, 12.0, 0, 1);
    const uint32_t kan = GlyphIndex(font, U'漢');
    const uint32_t ji = GlyphIndex(font, U'字');
    if (!FontSource(font).CidKeyed || kan == 0 || ji == 0)
        GTEST_SKIP() << "no CIDFont face with these characters is installed";
    TFontPrograms programs;
    const TFontSubset byText = programs.SubsetShown(font, {{kan, U"漢"}, {ji, U"字"}});
    EXPECT_EQ(byText.Format, TOutlineFormat::CidCff);
    EXPECT_FALSE(byText.Bytes.empty());
    // A glyph standing for other text than the one its character map gives (as a ligature or a
    // symbol's meaning would) is still embedded, the same program as before.
    EXPECT_EQ(programs.SubsetShown(font, {{kan, U"漢"}, {ji, U"x"}}).Bytes, byText.Bytes);
    EXPECT_EQ(programs.SubsetShown(font, {{kan, U"漢"}, {ji, U"字x"}}).Bytes, byText.Bytes);
    EXPECT_EQ(programs.SubsetShown(font, {{kan, U"漢"}, {ji, U""}}).Bytes, byText.Bytes);
    EXPECT_LT(programs.SubsetShown(font, {{kan, U"漢"}}).Bytes.size(), byText.Bytes.size());
}

TEST(PdfEmbedFonts, SimpleFontsGetAFontFileObjectAndTheRestStays) {
    const auto draw = [](TPDFCanvas& canvas) {
        canvas.Font.Name = "Arial";
        canvas.TextOut(10, 20, std::string_view("Hi"));
        canvas.Font.Name = "Times New Roman";
        canvas.TextOut(10, 40, std::u32string_view(U"xЖ"));
    };
    const std::string plain = test::WritePdf(draw);
    const std::string embedded = test::WritePdf([&](TPDFCanvas& canvas) {
        canvas.SetEmbedFonts(true);
        draw(canvas);
    });
    // Pages draw the same; the simple fonts are one object more each, so the Type 0 font
    // (third in the table) moves by two.
    EXPECT_EQ(test::PageContent(plain, 1), test::PageContent(embedded, 1));
    EXPECT_NE(plain.find("/F1 4 0 R/F2 5 0 R/F3 6 0 R"), std::string::npos);
    EXPECT_NE(embedded.find("/F1 4 0 R/F2 6 0 R/F3 8 0 R"), std::string::npos);
    EXPECT_EQ(plain.find("/FontFile2"), plain.rfind("/FontFile2"));  // the Type 0 font's only
    const std::string arial = test::ObjectText(embedded, 4);
    EXPECT_NE(arial.find("/Encoding /WinAnsiEncoding"), std::string::npos);
    EXPECT_NE(arial.find("/FontFile2 5 0 R>>"), std::string::npos) << arial;
    // The widths stay those of the face on the system.
    const std::string plainArial = test::ObjectText(plain, 4);
    EXPECT_EQ(arial.substr(arial.find("/FirstChar")),
              plainArial.substr(plainArial.find("/FirstChar")));
    EXPECT_NE(test::ObjectText(embedded, 5).find("/Length1 "), std::string::npos);
}

}  // namespace
}  // namespace qm
