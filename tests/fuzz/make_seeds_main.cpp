// Writes the builder-made fuzz seeds into a folder: small Word documents that reach the
// importer's features (formatting, styles, sections, columns, headers, fields, tables, 8-bit
// and 16-bit pieces), pictures for the decoders and metafiles for the player.
//   qm_fuzz_seeds OUTDIR   writes OUTDIR/word, OUTDIR/cfb, OUTDIR/images, OUTDIR/metafile
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "builder/cfb_writer.h"
#include "builder/emf_writer.h"
#include "builder/wmf_writer.h"
#include "builder/property_set.h"
#include "builder/word6_builder.h"
#include "builder/word_builder.h"
#include "raster/image_fixtures.h"

namespace qm {
namespace {

using TBytes = std::vector<uint8_t>;

void Write(const std::filesystem::path& path, const TBytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TBytes Plain() {
    TWordBuilder b;
    b.Para(u"Hello, world.").Para(u"Second paragraph\tafter a tab.");
    return b.Build();
}

TBytes Formatted() {
    TWordBuilder b;
    b.Font("Arial").Font("Courier New");
    b.Text(u"bold ", sprm::Bold()).Text(u"italic ", sprm::Italic());
    b.Text(u"big ", sprm::Size(48) + sprm::FontNumber(1));
    b.Text(u"under ", sprm::Underline(1) + sprm::Color(6) + sprm::Highlight(7));
    b.Text(u"sup", sprm::Position(1) + sprm::SmallCaps() + sprm::Caps() + sprm::Strike());
    b.Paragraph(sprm::Justify(3) + sprm::IndentLeft(720) + sprm::IndentFirst(-360) +
                sprm::SpaceBefore(240) + sprm::LineSpacing(360, 1));
    b.Para(u"\tleft\tright", sprm::Tabs({}, {{1440, 0}, {4320, 2 | (1 << 3)}}));
    b.Para(u"numbered", sprm::ListRef(1));
    return b.Build();
}

TBytes Styled() {
    TWordBuilder b;
    TWordStyle heading;
    heading.Istd = 1;
    heading.Name = "Heading";
    heading.Papx = sprm::SpaceAfter(120);
    heading.Chpx = sprm::Bold() + sprm::Size(32);
    b.Style(heading);
    TWordStyle emphasis;
    emphasis.Istd = 2;
    emphasis.Character = true;
    emphasis.Base = 0x0FFF;
    emphasis.Name = "Emphasis";
    emphasis.Chpx = sprm::Italic();
    b.Style(emphasis);
    b.Para(u"A heading", {}, 1);
    b.Text(u"with ").Text(u"emphasis", sprm::CharStyle(2)).Paragraph();
    return b.Build();
}

TBytes Sections() {
    TWordBuilder b;
    b.Para(u"First section in two columns.");
    b.SectionBreak(sprm::Columns(2, 720, 1) + sprm::BreakKind(2));
    b.Para(u"Second section, landscape.");
    b.LastSection(sprm::PageSize(16838, 11906) + sprm::Margins(1440, 1440, 1440, 1440) +
                  sprm::TitlePage() + sprm::HeaderDistances(720, 720));
    b.Story(THeaderStory::OddHeader).Para(u"Header text");
    b.Story(THeaderStory::OddFooter).Para(u"Footer text");
    b.Story(THeaderStory::FirstHeader).Para(u"First page header");
    b.MainStory();
    return b.Build();
}

TBytes Fields() {
    TWordBuilder b;
    b.Text(u"Page ").Field(u" PAGE ", u"1").Text(u" of ").Field(u" NUMPAGES ", u"2");
    b.Paragraph();
    b.Text(u"hidden", sprm::FieldHidden()).Paragraph();
    return b.Build();
}

TBytes Wide() {
    TWordBuilder b;
    b.Wide(true).Text(u"Wide text \u20AC \u00E9\u00E8 ").Wide(false).Text(u"narrow ");
    b.Wide(true).Text(u"\u2014 again").Paragraph();
    b.Text(u"line\vbreak\fpage").Paragraph();
    return b.Build();
}

TBytes Table() {
    TWordBuilder b;
    b.Para(u"Before the table.");
    b.Cell(u"one").Cell(u"two").RowEnd(sprm::DefineRow({0, 2000, 4000}) +
                                       sprm::RowShading({0x0010, 0x0020}));
    b.Cell(u"three\rmore").Cell(u"four").RowEnd(sprm::DefineRow({0, 2000, 4000}));
    b.Para(u"After the table.");
    return b.Build();
}

TBytes TableStream0() {
    TWordBuilder b;
    b.Options().Table1 = false;
    b.Options().DecoyTableStream = true;
    b.Options().DataStream = false;
    b.Para(u"Tables in 0Table, a decoy 1Table beside them.");
    return b.Build();
}

TBytes LargeSectors() {
    TWordBuilder b;
    for (int i = 0; i < 40; ++i)
        b.Para(u"A paragraph long enough that the stream leaves the mini stream behind it.");
    TWordStreams streams = b.BuildStreams();
    TCfbWriteOptions options;
    options.MajorVersion = 4;
    return WriteCompoundFile(streams.RootStreams(), options);
}

// Word 6 documents: fonts of several character sets, a row with merged cells, and fast-saved
// pieces with their modifiers.
TBytes Word6CodePages() {
    TWord6Builder b;
    b.Language(0x0419).Font("Times New Roman").Font("Arial Cyr", 204).Font("Mincho", 128);
    b.Text("Western \xE9 ").Text("\xCF\xF0\xE8", sprm6::FontNumber(1) + sprm6::Bold());
    b.Text("\x82\xA0", sprm6::FontNumber(2)).Paragraph(sprm6::Justify(1));
    b.Text("Indented", sprm6::Size(28)).Paragraph(sprm6::IndentLeft(720) + sprm6::BorderTop(10));
    b.LastSection(sprm6::PageSize(11906, 16838));
    return b.Build();
}

TBytes Word6Table() {
    TWord6Builder b;
    // sprmTDefTable: three cells, the last two merged (fFirstMerged, fMerged), each with a
    // single bottom border; sprmPFInTable and sprmPTtp.
    TSprms6 row = {190, 41, 0, 3, 0, 0, 0xE8, 3, 0xD0, 7, 0xB8, 0x0B};
    for (uint16_t flags : {0, 1, 2}) {
        const TSprms6 tc = {static_cast<uint8_t>(flags), 0, 0, 0, 0, 0, 0x0A, 0, 0, 0};
        row.insert(row.end(), tc.begin(), tc.end());
    }
    const std::string cells = {'a', 7, 'b', 7, 'c', 7};
    b.Text(cells).Paragraph(sprm6::Op8(24, 1));
    b.Text("\x07").Paragraph(sprm6::Op8(24, 1) + sprm6::Op8(25, 1) + row);
    b.Text("After").Paragraph();
    return b.Build();
}

TBytes Word6FastSaved() {
    TWord6Builder b;
    const uint16_t list = b.PieceList(sprm6::Italic() + sprm6::Size(30));
    b.Text("first ").Piece(static_cast<uint16_t>((85 << 1) | (1 << 8))).Text("second ");
    b.Piece(static_cast<uint16_t>((list << 1) | 1)).Text("third").Paragraph();
    return b.Build();
}

// Encrypted with the password the import and conversion targets try: the text past the first
// blocks, and with CryptoAPI an encrypted summary stream.
TBytes Encrypted(TWordCipher cipher, uint32_t keyBits) {
    TWordBuilder b;
    b.Options().Protection.Cipher = cipher;
    b.Options().Protection.KeyBits = keyBits;
    b.Options().Protection.Password = "password";
    if (cipher == TWordCipher::CryptoApi)
        b.Options().Protection.SummaryStreams = {{"\x05SummaryInformation", TBytes(48, 7)}};
    b.Text(u"bold ", sprm::Bold()).Text(u"and plain text ");
    b.Para(u"in an encrypted document, long enough to pass a block of the cipher or two.");
    b.Para(u"Centred", sprm::Justify(1));
    return b.Build();
}

TBytes SmallCompoundFile() {
    return WriteCompoundFile({{"One", TBytes(100, 'a')}, {"Two", TBytes(5000, 'b')}});
}

// Pictures for the decoders.
TBytes SmallJpeg(bool progressive) {
    test::JpegRecipe recipe = test::GradientJpegRecipe(16, 8);
    recipe.Progressive = progressive;
    recipe.Quality = 50;
    return test::EncodeJpeg(recipe);
}

TBytes GreyJpeg() {
    test::JpegRecipe recipe;
    recipe.Width = 8;
    recipe.Height = 8;
    recipe.Components = 1;
    recipe.Input = JCS_GRAYSCALE;
    recipe.File = JCS_GRAYSCALE;
    recipe.Samples.assign(64, 0x80);
    return test::EncodeJpeg(recipe);
}

TBytes Png(int colorType, int bitDepth, bool interlaced) {
    test::PngRecipe recipe;
    recipe.Width = 6;
    recipe.Height = 4;
    recipe.ColorType = colorType;
    recipe.BitDepth = bitDepth;
    recipe.Interlaced = interlaced;
    const int channels = colorType == 2 ? 3 : colorType == 6 ? 4 : colorType == 4 ? 2 : 1;
    const size_t rowBytes = (recipe.Width * channels * bitDepth + 7) / 8;
    if (colorType == 3) {
        recipe.Palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
        recipe.Transparency = {0x80};
    }
    for (uint32_t y = 0; y < recipe.Height; ++y) {
        std::vector<uint8_t> row(rowBytes);
        for (size_t x = 0; x < rowBytes; ++x)
            row[x] = static_cast<uint8_t>(colorType == 3 ? (x + y) % 2 : x * 37 + y * 11);
        recipe.Rows.push_back(row);
    }
    return test::EncodePng(recipe);
}

// Metafiles ([MS-WMF] 2.3): a frame of 4 bytes (width, height) for the fuzz target, then the
// metafile header and records.
class TWmf {
  public:
    TWmf& Record(uint16_t function, std::vector<int16_t> params) {
        Put32(static_cast<uint32_t>(3 + params.size()));
        Put16(function);
        for (int16_t p : params)
            Put16(static_cast<uint16_t>(p));
        maxRecord_ = std::max<size_t>(maxRecord_, 3 + params.size());
        return *this;
    }
    TBytes Finish(uint16_t width, uint16_t height, bool placeable) {
        Record(0x0000, {});
        TBytes out;
        auto put16 = [&out](uint16_t v) {
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
        };
        put16(width);
        put16(height);
        if (placeable) {
            const uint16_t header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, width, height, 1440, 0, 0, 0};
            for (uint16_t v : header)
                put16(v);
        }
        const uint32_t words = static_cast<uint32_t>(9 + body_.size() / 2);
        const uint16_t header[9] = {1,
                                    9,
                                    0x0300,
                                    static_cast<uint16_t>(words),
                                    static_cast<uint16_t>(words >> 16),
                                    4,
                                    static_cast<uint16_t>(maxRecord_),
                                    0,
                                    0};
        for (uint16_t v : header)
            put16(v);
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

  private:
    void Put16(uint16_t v) {
        body_.push_back(static_cast<uint8_t>(v));
        body_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void Put32(uint32_t v) {
        Put16(static_cast<uint16_t>(v));
        Put16(static_cast<uint16_t>(v >> 16));
    }
    TBytes body_;
    size_t maxRecord_ = 3;
};

TBytes Shapes(bool placeable) {
    TWmf wmf;
    wmf.Record(0x020B, {0, 0}).Record(0x020C, {100, 200});  // SetWindowOrg (y, x), SetWindowExt
    wmf.Record(0x02FA, {0, 3, 0, 0x00FF, 0});               // CreatePenIndirect
    wmf.Record(0x02FC, {0, static_cast<int16_t>(0x8000), 0, 0});  // CreateBrushIndirect
    wmf.Record(0x012D, {0}).Record(0x012D, {1});                  // SelectObject
    wmf.Record(0x041B, {80, 90, 10, 10});                         // Rectangle
    wmf.Record(0x0418, {150, 90, 100, 10});                       // Ellipse
    wmf.Record(0x0214, {5, 5}).Record(0x0213, {190, 95});         // MoveTo, LineTo
    wmf.Record(0x0324, {3, 10, 10, 90, 10, 50, 80});              // Polygon
    wmf.Record(0x0325, {3, 10, 190, 90, 190, 50, 120});           // Polyline
    wmf.Record(0x01F0, {0});                                      // DeleteObject
    return wmf.Finish(200, 100, placeable);
}

TBytes Text() {
    TWmf wmf;
    wmf.Record(0x020C, {50, 300});
    // CreateFontIndirect: height, width, escapement, orientation, weight, flags, charset..., name
    wmf.Record(0x02FB, {-20, 0, 0, 0, 700, 0, 0, 0, 0x6941, 0x6C61, 0});
    wmf.Record(0x012D, {0});
    wmf.Record(0x0209, {0, 0xFF});                            // SetTextColor
    wmf.Record(0x0521, {5, 0x6548, 0x6C6C, 0x006F, 10, 10});  // TextOut "Hello"
    return wmf.Finish(300, 50, false);
}

TBytes Bitmap() {
    TWmf wmf;
    wmf.Record(0x020C, {2, 2});
    // StretchDIB of a 2 x 2 24-bit bitmap: rop, usage, src h, w, y, x, dest h, w, y, x, DIB.
    std::vector<int16_t> params = {0x0020, 0x00CC, 0, 2, 2, 0, 0, 2, 2, 0, 0};
    const int16_t dib[] = {40,     0,      2,      0,      2,      0,      1,      24,    0, 0,
                           16,     0,      0,      0,      0,      0,      0,      0,     0, 0,
                           0x00FF, 0x0000, 0x00FF, 0x0000, 0x0000, 0x0000, 0x00FF, 0x0000};
    params.insert(params.end(), std::begin(dib), std::end(dib));
    wmf.Record(0x0F43, params);
    return wmf.Finish(2, 2, true);
}

// The list tables as qm_fuzz_lists reads them: where PlfLfo starts, PlfLst, PlfLfo.
TBytes ListTables() {
    TWordListLevel number;
    number.Text = std::u16string(u"\x0000.\x0001.", 4);
    number.Papx = sprm::IndentLeft(720);
    TWordListLevel bullet;
    bullet.Nfc = 23;
    bullet.Text = u"\xF0B7";
    bullet.Chpx = sprm::FontNumber(1);
    const TBytes lists = ListTableBytes({{1, false, {number, number}}, {2, true, {bullet}}});
    const TBytes overrides = ListOverrideBytes({{1, {}}, {1, {{0, 5, bullet}}}, {2, {}}});
    TBytes out = {static_cast<uint8_t>(lists.size()), static_cast<uint8_t>(lists.size() >> 8), 0,
                  0};
    out.insert(out.end(), lists.begin(), lists.end());
    out.insert(out.end(), overrides.begin(), overrides.end());
    return out;
}

// Enhanced metafiles: four bytes of picture size (0 x 0: the metafile's own), then the file.
TBytes EmfSeed(const TEmfWriter& w) {
    TBytes out{0, 0, 0, 0};
    const std::vector<uint8_t> bytes = w.Bytes();
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

TBytes EmfShapes() {
    TEmfWriter w(120, 80);
    w.CreateBrush(1, 0, 0x0000FF).SelectObject(1).CreatePen(2, 0, 3, 0xFF0000).SelectObject(2);
    w.SetMapMode(8).SetWindowExt(1200, 800).SetViewportExt(120, 80);
    w.Rectangle({0, 0, 500, 400}).Ellipse({600, 0, 1100, 400}).MoveTo(0, 700).LineTo(1100, 700);
    w.Polygon16({{100, 500}, {300, 500}, {200, 600}});
    w.SaveDc().SetWorldTransform({1, 0, 0, 1, 10, 10}).IntersectClipRect({0, 0, 600, 600});
    w.BeginPath().MoveTo(0, 0).PolyBezierTo16({{0, 100}, {100, 100}, {100, 0}}).CloseFigure();
    w.EndPath().FillPath().RestoreDc(-1).ExtSelectClipRgn(5, {{0, 0, 60, 40}});
    return EmfSeed(w);
}

TBytes EmfTextAndBitmap() {
    TEmfWriter w(100, 60);
    w.CreateFont(1, -20, u"Arial").SelectObject(1).SetTextColor(0).ExtTextOutW(5, 5, u"Text");
    w.StretchDiBits({0, 30, 100, 60}, 2, 1, Dib24(2, 1, {0xFF0000, 0x00FF00}));
    return EmfSeed(w);
}

TBytes DibSeed() {
    TBytes out{0, 0, 0, 0, 'D', 'I', 'B'};
    const std::vector<uint8_t> dib = Dib24(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0, 0, 0});
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
// Summary information streams in the code pages the reader knows apart.
std::vector<std::pair<const char*, TBytes>> SummaryStreams() {
    const std::string utf16("T\0i\0", 4);
    return {
        {"cp1252.bin", SummaryInformationStream(1252, {{kSummaryTitle, "Caf\xE9", {}, false},
                                                       {kSummaryAuthor, "Ann", {}, false}})},
        {"cp1251.bin", SummaryInformationStream(1251, {{kSummarySubject, "\xCE\xF2", {}, false}})},
        {"utf8.bin",
         SummaryInformationStream(65001, {{kSummaryKeywords, "\xE2\x82\xAC", {}, false}})},
        {"utf16.bin", SummaryInformationStream(1200, {{kSummaryTitle, utf16, {}, false}})},
        {"wide.bin",
         SummaryInformationStream(std::nullopt, {{kSummaryTitle, "", u"\xD83D\xDE00", true}})},
    };
}

// Links, bookmarks, headings and summary information, for the import.
TBytes Navigation() {
    TWordBuilder b;
    TWordStyle heading;
    heading.Istd = 1;
    heading.Sti = 1;
    b.Style({0, false, 0x0FFF, "Normal", {}, {}}).Style(heading);
    b.Para(u"Heading", {}, 1);
    b.Text(u"See ").Field(u" HYPERLINK \"http://x.org/\" ", u"x").Paragraph();
    b.Field(u" HYPERLINK \\l \"mark\" ", u"y").Paragraph();
    b.Bookmark(u"mark").Para(u"Level", sprm::OutlineLevel(2));
    TWordStreams streams = b.BuildStreams();
    streams.Extra.emplace_back("\x05SummaryInformation", SummaryStreams()[0].second);
    return WriteCompoundFile(streams.RootStreams());
}

}  // namespace
}  // namespace qm

int main(int argc, char** argv) {
    using namespace qm;
    if (argc != 2) {
        std::fprintf(stderr, "usage: qm_fuzz_seeds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::pair<const char*, TBytes> docs[] = {
        {"plain.doc", Plain()},
        {"formatted.doc", Formatted()},
        {"styled.doc", Styled()},
        {"sections.doc", Sections()},
        {"fields.doc", Fields()},
        {"wide.doc", Wide()},
        {"table.doc", Table()},
        {"table0.doc", TableStream0()},
        {"sectors4096.doc", LargeSectors()},
        {"word6-codepages.doc", Word6CodePages()},
        {"word6-table.doc", Word6Table()},
        {"word6-fastsaved.doc", Word6FastSaved()},
        {"encrypted-rc4.doc", Encrypted(TWordCipher::Rc4, 128)},
        {"encrypted-cryptoapi40.doc", Encrypted(TWordCipher::CryptoApi, 40)},
        {"navigation.doc", Navigation()},
    };
    for (const auto& [name, bytes] : docs) {
        Write(out / "word" / name, bytes);
        Write(out / "cfb" / name, bytes);
    }
    Write(out / "cfb" / "two-streams.cfb", SmallCompoundFile());
    Write(out / "lists" / "outline.bin", ListTables());
    for (const auto& [name, bytes] : SummaryStreams())
        Write(out / "summary" / name, bytes);
    Write(out / "images" / "baseline.jpg", SmallJpeg(false));
    Write(out / "images" / "progressive.jpg", SmallJpeg(true));
    Write(out / "images" / "grey.jpg", GreyJpeg());
    Write(out / "images" / "rgb.png", Png(2, 8, false));
    Write(out / "images" / "palette.png", Png(3, 2, true));
    Write(out / "images" / "grey-alpha16.png", Png(4, 16, false));
    Write(out / "images" / "rgba.png", Png(6, 8, true));
    Write(out / "metafile" / "shapes.wmf", Shapes(false));
    Write(out / "metafile" / "shapes-placeable.wmf", Shapes(true));
    Write(out / "metafile" / "text.wmf", Text());
    Write(out / "metafile" / "bitmap.wmf", Bitmap());
    Write(out / "emf" / "shapes.emf", EmfShapes());
    Write(out / "emf" / "text-bitmap.emf", EmfTextAndBitmap());
    Write(out / "emf" / "picture.dib", DibSeed());
    return 0;
}
