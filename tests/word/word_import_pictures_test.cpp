// Inline pictures: JPEG, PNG, DIB, metafile and EMF pictures stored in the "Data" stream become
// pictures list entries and picture characters of their display size; damaged and implausible
// pictures give no picture, and nothing is written to disk on the way.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "builder/emf_writer.h"
#include "builder/picture_builder.h"
#include "builder/wmf_writer.h"
#include "word/inflate.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

constexpr double kMmPerTwip = 25.39995 / 1440;
constexpr uint32_t kRed = 0x0000FF;  // 0x00BBGGRR, as getpixel gives it
constexpr uint32_t kBlue = 0xFF0000;

// Left half red, right half blue, as 0xRRGGBB pixels, top row first.
std::vector<uint32_t> HalfAndHalf(uint32_t width, uint32_t height) {
    std::vector<uint32_t> rgb;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            rgb.push_back(x < width / 2 ? 0xFF0000 : 0x0000FF);
    return rgb;
}

std::vector<uint8_t> HalfAndHalfJpeg(int32_t width, int32_t height) {
    TDib dib;
    EXPECT_TRUE(newdib(dib, width, height, 24, nullptr, 0));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            setpixel(dib, x, y, x < width / 2 ? kRed : kBlue);
    std::vector<uint8_t> jpeg;
    EXPECT_TRUE(SaveDibMemory(dib, kFormatJpeg, jpeg));
    return jpeg;
}

// A metafile that fills the left half of its 100 x 50 window red.
std::vector<uint8_t> RedHalfMetafile() {
    TWmfWriter w;
    w.SetWindowOrg(0, 0).SetWindowExt(100, 50);
    w.CreateBrush(0, kRed).SelectObject(0).CreatePen(5, 0, 0).SelectObject(1);
    w.Rectangle({0, 0, 50, 50});
    return w.Bytes();
}

TStoredPicture Png() {
    TStoredPicture p;
    p.Kind = TStoredKind::Png;
    p.Bytes = MakePng(16, 8, HalfAndHalf(16, 8));
    return p;
}

TStoredPicture Metafile() {
    TStoredPicture p;
    p.Kind = TStoredKind::Metafile;
    p.Bytes = RedHalfMetafile();
    p.Bounds = {0, 0, 100, 50};
    return p;
}

// "a", the picture, "b" and a paragraph end.
TWordBuilder WithPicture(const std::vector<uint8_t>& stored) {
    TWordBuilder b;
    b.Text(u"a").Picture(stored).Text(u"b").Paragraph();
    return b;
}

const TCharRec* PictureChar(const TDocument& doc) {
    for (const TLineRec& line : doc.Fields[0].Lines)
        for (const TCharRec& ch : line.Chars)
            if (ch.Kind == 1) return &ch;
    return nullptr;
}

bool Near(uint32_t color, uint32_t expected) {
    for (int shift : {0, 8, 16}) {
        const int a = (color >> shift) & 0xFF, b = (expected >> shift) & 0xFF;
        if (std::abs(a - b) > 48) return false;
    }
    return true;
}

TEST(WordImportPictures, AJpegPictureBecomesAPictureCharacterOfItsDisplaySize) {
    TStoredPicture p;
    p.Kind = TStoredKind::Jpeg;
    p.Bytes = HalfAndHalfJpeg(16, 8);
    p.DxaGoal = 2880;
    p.DyaGoal = 1440;
    TDocument doc;
    ASSERT_TRUE(Import(doc, WithPicture(StorePicture(p))).Converted);
    EXPECT_EQ(FieldText(doc, 0),
              "a\x01"
              "b\n");
    ASSERT_EQ(doc.BildCount(), 1);
    const TBildRec& picture = doc.BilderListe[0];
    EXPECT_EQ(DIBWidth(picture), 16);
    EXPECT_EQ(DIBHeight(picture), 8);
    EXPECT_TRUE(Near(getpixel(picture, 2, 4), kRed));
    EXPECT_TRUE(Near(getpixel(picture, 13, 4), kBlue));
    const TCharRec* ch = PictureChar(doc);
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(ch->BildIndex, 0);
    EXPECT_DOUBLE_EQ(ch->Width, 2880 * kMmPerTwip);
    EXPECT_DOUBLE_EQ(ch->Height, 25.39995);
    EXPECT_EQ(FontOf(doc, ch).Name, doc.DefFontName);  // the default entry, not measured
}

TEST(WordImportPictures, PngPicturesDecodeWithEitherIdentifierCountAndAStoreName) {
    for (bool twoUids : {false, true}) {
        TStoredPicture p = Png();
        p.TwoUids = twoUids;
        p.StoreName = "image1.png";
        TDocument doc;
        ASSERT_TRUE(Import(doc, WithPicture(StorePicture(p))).Converted);
        ASSERT_EQ(doc.BildCount(), 1) << twoUids;
        EXPECT_EQ(getpixel(doc.BilderListe[0], 0, 0), kRed);
        EXPECT_EQ(getpixel(doc.BilderListe[0], 15, 7), kBlue);
    }
}

TEST(WordImportPictures, APictureRecordWithoutAStoreEntryIsReadToo) {
    TStoredPicture p = Png();
    p.StoreEntry = false;
    TDocument doc;
    ASSERT_TRUE(Import(doc, WithPicture(StorePicture(p))).Converted);
    EXPECT_EQ(doc.BildCount(), 1);
}

TEST(WordImportPictures, MetafilesArePlayedIntoAPictureOfTheirBounds) {
    for (bool compressed : {true, false}) {
        TStoredPicture p = Metafile();
        p.CompressMetafile = compressed;
        p.TwoUids = !compressed;
        TDocument doc;
        ASSERT_TRUE(Import(doc, WithPicture(StorePicture(p))).Converted);
        ASSERT_EQ(doc.BildCount(), 1) << compressed;
        const TBildRec& picture = doc.BilderListe[0];
        EXPECT_EQ(DIBWidth(picture), 100);
        EXPECT_EQ(DIBHeight(picture), 50);
        EXPECT_EQ(DIBBitCount(picture), 24);
        EXPECT_EQ(getpixel(picture, 25, 25), kRed);
        EXPECT_EQ(getpixel(picture, 75, 25), 0xFFFFFFu);
    }
}

TEST(WordImportPictures, MetafilesDrawingInFineUnitsGetAtMost300PixelsPerInch) {
    TStoredPicture p = Metafile();
    p.Bytes = TWmfWriter().SetWindowExt(4000, 2000).Bytes();
    p.Bounds = {0, 0, 4000, 2000};
    p.DxaGoal = 1440;  // one inch by half an inch
    p.DyaGoal = 720;
    TDocument doc;
    ASSERT_TRUE(Import(doc, WithPicture(StorePicture(p))).Converted);
    ASSERT_EQ(doc.BildCount(), 1);
    EXPECT_EQ(DIBWidth(doc.BilderListe[0]), 300);
    EXPECT_EQ(DIBHeight(doc.BilderListe[0]), 150);
}

TEST(WordImportPictures, TheDisplaySizeIsTheGoalSizeScaled) {
    TStoredPicture p = Png();
    p.DxaGoal = 2000;
    p.DyaGoal = 1000;
    p.Mx = 500;
    p.My = 1500;
    TDocument doc;
    ASSERT_TRUE(Import(doc, WithPicture(StorePicture(p))).Converted);
    const TCharRec* ch = PictureChar(doc);
    ASSERT_NE(ch, nullptr);
    EXPECT_DOUBLE_EQ(ch->Width, 1000 * kMmPerTwip);
    EXPECT_DOUBLE_EQ(ch->Height, 1500 * kMmPerTwip);
}

TEST(WordImportPictures, OnlyPicturesStoredAsDrawingRecordsAreRead) {
    for (uint16_t mm : {98, 99, 0x64 + 1, 0x66}) {
        TStoredPicture p = Png();
        p.Mm = mm;
        TDocument doc;
        const TImportResult r = Import(doc, WithPicture(StorePicture(p)));
        ASSERT_TRUE(r.Converted);
        EXPECT_EQ(FieldText(doc, 0), "ab\n") << mm;
        EXPECT_EQ(doc.BildCount(), 0) << mm;
        const std::string kind =
            mm == 0x66 ? "linked picture" : "picture in the older metafile form";
        EXPECT_EQ(r.Notices.Sentences(),
                  std::vector<std::string>{"1 " + kind +
                                           " was left out: pictures of this kind are not drawn."})
            << mm;
    }
}

TEST(WordImportPictures, PicturesOfKindsNotDrawnAreNamedByKind) {
    // A Windows metafile stored as an EMF has no EMF header: it is named as damaged.
    TStoredPicture emf = Metafile();
    emf.Kind = TStoredKind::Emf;
    TStoredPicture pict = Metafile();
    pict.Kind = TStoredKind::Pict;
    pict.StoreEntry = false;
    TWordBuilder b;
    const uint32_t emfAt = b.AddData(StorePicture(emf));
    b.Text(u"a").PictureAnchor(emfAt).Picture(StorePicture(Png())).Picture(StorePicture(pict));
    // The same EMF shown again, and another one: a picture is counted once where it is stored.
    b.PictureAnchor(emfAt).Picture(StorePicture(emf)).Text(u"b").Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(doc.BildCount(), 1);  // the PNG
    EXPECT_EQ(FieldText(doc, 0), std::string("a\x01") + "b\n");
    EXPECT_EQ(r.Notices.Sentences(),
              (std::vector<std::string>{
                  "1 PICT picture was left out: pictures of this kind are not drawn.",
                  "2 EMF pictures were left out: the header or frame is damaged."}));
    EXPECT_EQ(r.Notices.Items()[0].Kind, TNoticeKind::PictureKind);
    EXPECT_EQ(r.Notices.Items()[1].Kind, TNoticeKind::PictureLeftOut);
}

// An EMF of a 200 x 100 pixel frame whose left half is filled red.
TEmfWriter RedHalfEmf() {
    TEmfWriter w(200, 100);
    w.CreateBrush(1, 0, kRed).SelectObject(1).SelectObject(kEmfStockNullPen);
    w.Rectangle({0, 0, 100, 100});
    return w;
}

TEST(WordImportPictures, EmfAndDibPicturesAreDrawnEmfAtThreeHundredDotsPerInch) {
    TStoredPicture emf;
    emf.Kind = TStoredKind::Emf;
    emf.Bytes = RedHalfEmf().Bytes();
    emf.DxaGoal = 1440;  // one inch by half an inch
    emf.DyaGoal = 720;
    TStoredPicture dib;
    dib.Kind = TStoredKind::Dib;
    dib.Bytes = Dib24(4, 2, std::vector<uint32_t>(8, 0x0000FF));  // blue, as 0xRRGGBB
    TWordBuilder b;
    b.Text(u"a").Picture(StorePicture(emf)).Picture(StorePicture(dib)).Text(u"b").Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_TRUE(r.Notices.Sentences().empty());
    ASSERT_EQ(doc.BildCount(), 2);
    const TBildRec& drawn = doc.BilderListe[0];
    EXPECT_EQ(DIBWidth(drawn), 300);
    EXPECT_EQ(DIBHeight(drawn), 150);
    EXPECT_EQ(getpixel(drawn, 50, 75), kRed);
    EXPECT_EQ(getpixel(drawn, 250, 75), 0xFFFFFFu);
    const TBildRec& bitmap = doc.BilderListe[1];
    EXPECT_EQ(DIBWidth(bitmap), 4);
    EXPECT_EQ(getpixel(bitmap, 1, 1), kBlue);
}

TEST(WordImportPictures, EmfPicturesDrawnBlankOrInPartAreNamed) {
    TStoredPicture blank;
    blank.Kind = TStoredKind::Emf;
    blank.Bytes = TEmfWriter(50, 50).SetWindowExt(10, 10).Bytes();
    TStoredPicture partial = blank;
    partial.Bytes = RedHalfEmf().Record(0x7777, {}).Bytes();  // a record of a kind not read
    TStoredPicture cut = blank;
    cut.Bytes = RedHalfEmf().RecordSized(43, 4096, {}).Bytes();
    TWordBuilder b;
    b.Text(u"a").Picture(StorePicture(blank)).Picture(StorePicture(partial));
    b.Picture(StorePicture(cut)).Text(u"b").Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(doc.BildCount(), 3);  // all shown, as far as they draw
    EXPECT_EQ(r.Notices.Sentences(),
              (std::vector<std::string>{
                  "1 EMF picture was drawn blank: no record draws anything.",
                  "2 EMF pictures were drawn in part: records of kinds not read, or damaged "
                  "ones, were skipped."}));
}

TEST(WordImportPictures, DrawingRecordsWithoutAPictureAreToldAsUnreadable) {
    // A picture record of a type no picture kind has, and a shape without any picture record.
    std::vector<uint8_t> odd = StorePicture(Png());
    for (size_t i = 68; i + 4 <= odd.size(); ++i) {
        if (odd[i] == 0x1E && odd[i + 1] == 0xF0) {  // the PNG record's type, 0xF01E
            odd[i] = 0x30;
            break;
        }
    }
    TStoredPicture bare = Png();
    bare.StoreEntry = false;
    std::vector<uint8_t> shapeOnly = StorePicture(bare);
    PutU32(shapeOnly, 0, 68 + 3 * 8 + 8);  // lcb: the header and the shape's records only
    TWordBuilder b;
    b.Text(u"a").Picture(odd).Picture(shapeOnly).Text(u"b").Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(doc.BildCount(), 0);
    EXPECT_EQ(r.Notices.Sentences(),
              std::vector<std::string>{
                  "2 pictures were left out: damaged, too large, or of a kind not read."});
}

TEST(WordImportPictures, OnlyCharacterOneWithTheSpecialFlagAndADataStreamIsAPicture) {
    TWordBuilder notSpecial;
    const uint32_t fc = notSpecial.AddData(StorePicture(Png()));
    notSpecial.Text(u"a").Text(u"\x01", sprm::PicLocation(fc) + sprm::Special(0)).Paragraph();
    TWordBuilder noData = WithPicture(StorePicture(Png()));
    noData.Options().DataStream = false;
    for (const TWordBuilder* b : {&notSpecial, &noData}) {
        TDocument doc;
        ASSERT_TRUE(Import(doc, *b).Converted);
        EXPECT_EQ(doc.BildCount(), 0);
        EXPECT_EQ(PictureChar(doc), nullptr);
    }
}

TEST(WordImportPictures, APictureShownTwiceIsDecodedOnceAndSharesItsPixels) {
    TWordBuilder b;
    const uint32_t fc = b.AddData(StorePicture(Png()));
    b.PictureAnchor(fc).Text(u" ").PictureAnchor(fc).Paragraph();
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    ASSERT_EQ(doc.BildCount(), 2);
    EXPECT_EQ(doc.BilderListe[0].PixelBlock, doc.BilderListe[1].PixelBlock);
    EXPECT_EQ(FieldText(doc, 0), "\x01 \x01\n");
}

TEST(WordImportPictures, APictureAloneInItsParagraphTakesTheParagraphFormat) {
    TWordBuilder b;
    b.Picture(StorePicture(Png())).Paragraph(sprm::Justify(1));
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(doc.Fields[0].Lines.at(0).Para.Align, 1);
}

// Builds "a", the damaged picture, "b" and expects the text without a picture.
void ExpectNoPicture(const std::vector<uint8_t>& stored, const std::string& what) {
    TDocument doc;
    ASSERT_TRUE(Import(doc, WithPicture(stored)).Converted) << what;
    EXPECT_EQ(doc.BildCount(), 0) << what;
    EXPECT_EQ(PictureChar(doc), nullptr) << what;
    EXPECT_EQ(FieldText(doc, 0), "ab\n") << what;
}

void PutLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

// Where the stored picture's parts lie: the picture header, the shape container (24 bytes of
// records), the store entry's header and its 36 bytes, the picture record's header.
constexpr size_t kBlipHeader = 68 + 8 + 24 + 8 + 36;
constexpr size_t kBlipBody = kBlipHeader + 8;

TEST(WordImportPictures, DamagedPicturesGiveNoPictureAndTheTextGoesOn) {
    std::vector<uint8_t> png = StorePicture(Png());
    std::vector<uint8_t> cutFile = png;
    cutFile.resize(cutFile.size() - 40);  // the PNG loses its end; the records still fit
    PutLe32(cutFile, 0, static_cast<uint32_t>(cutFile.size()));
    PutLe32(cutFile, kBlipHeader + 4, static_cast<uint32_t>(cutFile.size() - kBlipBody));
    ExpectNoPicture(cutFile, "truncated PNG");

    std::vector<uint8_t> shortLcb = png;
    PutLe32(shortLcb, 0, 200);  // the records reach past the picture's length
    ExpectNoPicture(shortLcb, "record beyond lcb");

    std::vector<uint8_t> lcbBelowHeader = png;
    PutLe32(lcbBelowHeader, 0, 10);
    ExpectNoPicture(lcbBelowHeader, "lcb below cbHeader");

    std::vector<uint8_t> hugeRecord = png;
    PutLe32(hugeRecord, kBlipHeader + 4, 0xFFFFFFF0);
    ExpectNoPicture(hugeRecord, "record length near 4 GiB");

    std::vector<uint8_t> unknownInstance = png;
    unknownInstance.at(kBlipHeader) = 0x70;  // instance 0x6E7
    ExpectNoPicture(unknownInstance, "unknown instance");

    TStoredPicture garbage = Png();
    garbage.Kind = TStoredKind::Jpeg;
    garbage.Bytes.assign(300, 0x41);
    ExpectNoPicture(StorePicture(garbage), "not a JPEG");

    TStoredPicture header = Png();
    header.Bytes.resize(30);
    ExpectNoPicture(StorePicture(header), "a PNG header alone");

    TStoredPicture noWidth = Png();
    noWidth.DxaGoal = 0;
    ExpectNoPicture(StorePicture(noWidth), "a display width of 0");
}

TEST(WordImportPictures, DamagedOrImplausibleMetafilesGiveNoPicture) {
    TStoredPicture zero = Metafile();
    zero.Bytes = TWmfWriter().Rectangle({0, 0, 10, 10}).Bytes();
    zero.Bounds = {0, 0, 0, 0};
    ExpectNoPicture(StorePicture(zero), "zero bounds, no window");

    TStoredPicture gigantic = Metafile();
    gigantic.Bounds = {0, 0, 2000000000, 2000000000};
    ExpectNoPicture(StorePicture(gigantic), "gigantic bounds");

    std::vector<uint8_t> badStream = StorePicture(Metafile());
    badStream.at(kBlipBody + 16 + 34 + 2) = 0x07;  // a reserved deflate block type
    ExpectNoPicture(badStream, "damaged deflate data");

    std::vector<uint8_t> cbSaveTooLong = StorePicture(Metafile());
    PutLe32(cbSaveTooLong, kBlipBody + 16 + 28, 0x7FFFFFFF);
    ExpectNoPicture(cbSaveTooLong, "compressed size beyond the record");

    std::vector<uint8_t> otherCompression = StorePicture(Metafile());
    otherCompression.at(kBlipBody + 16 + 32) = 0x01;
    ExpectNoPicture(otherCompression, "unknown compression");

    TStoredPicture notAMetafile = Metafile();
    notAMetafile.Bytes.assign(200, 0x33);
    ExpectNoPicture(StorePicture(notAMetafile), "no metafile header");
}

TEST(WordImportPictures, AStatedSizeThatLiesDoesNotDriveTheAllocation) {
    for (uint32_t claim : {0u, 1u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> stored = StorePicture(Metafile());
        PutLe32(stored, kBlipBody + 16, claim);  // the metafile's inflated size
        TDocument doc;
        ASSERT_TRUE(Import(doc, WithPicture(stored)).Converted);
        EXPECT_EQ(doc.BildCount(), 1) << claim;
    }
}

TEST(WordImportPictures, InflatingStopsAtItsLimitAndAtTheEndOfTheData) {
    const std::vector<uint8_t> raw(5000, 0x5A);
    const std::vector<uint8_t> stream = ZlibStored(raw);
    std::vector<uint8_t> out;
    ASSERT_TRUE(InflateZlib(stream, 10, 5000, out));
    EXPECT_EQ(out, raw);
    EXPECT_FALSE(InflateZlib(stream, 5000, 4999, out));
    const std::vector<uint8_t> cut(stream.begin(), stream.begin() + 100);
    EXPECT_FALSE(InflateZlib(cut, 5000, 1 << 20, out));
    EXPECT_FALSE(InflateZlib({}, 0, 100, out));
}

TEST(WordImportPictures, PicturesAtPlacesOutsideTheDataStreamAreSkipped) {
    for (uint32_t fc : {0u, 60u, 1u << 20, 0xFFFFFFFFu}) {
        TWordBuilder b;
        b.Text(u"a").PictureAnchor(fc).Text(u"b").Paragraph();
        TDocument doc;
        ASSERT_TRUE(Import(doc, b).Converted) << fc;
        EXPECT_EQ(doc.BildCount(), 0) << fc;
        EXPECT_EQ(FieldText(doc, 0), "ab\n") << fc;
    }
}

// Points TMPDIR at a new empty folder while it lives.
class TPrivateTempFolder {
  public:
    TPrivateTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qmpicXXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        setenv("TMPDIR", folder_.c_str(), 1);
    }
    ~TPrivateTempFolder() {
        if (old_)
            setenv("TMPDIR", old_->c_str(), 1);
        else
            unsetenv("TMPDIR");
        std::filesystem::remove_all(folder_);
    }
    const std::filesystem::path& Folder() const { return folder_; }

  private:
    std::filesystem::path folder_;
    std::optional<std::string> old_;
};

TEST(WordImportPictures, NothingIsWrittenToTheTemporaryFolder) {
    TPrivateTempFolder temp;
    ASSERT_EQ(std::filesystem::temp_directory_path(), temp.Folder());
    TStoredPicture jpeg = Png();
    jpeg.Kind = TStoredKind::Jpeg;
    jpeg.Bytes = HalfAndHalfJpeg(8, 8);
    TWordBuilder b;
    b.Picture(StorePicture(jpeg)).Picture(StorePicture(Png())).Picture(StorePicture(Metafile()));
    b.Paragraph();
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(doc.BildCount(), 3);
    EXPECT_TRUE(std::filesystem::is_empty(temp.Folder()));
}

}  // namespace
}  // namespace qm::testing
