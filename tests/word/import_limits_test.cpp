// The import's bounds on hostile and huge documents: a text length claim far beyond the file,
// a million one-character pieces, more characters or paragraphs than the import takes,
// pictures claiming billions of pixels, and documents of ten thousand pages.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "builder/picture_builder.h"
#include "builder/wmf_writer.h"
#include "model/layout.h"
#include "word/picture_import.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

// FibRgLw97.ccpText, FibRgFcLcb97.fcClx and lcbClx in the main stream.
constexpr size_t kCcpTextOffset = 0x4C;
constexpr size_t kFcClxOffset = 0x1A2;
constexpr size_t kLcbClxOffset = 0x1A6;
constexpr uint32_t kCompressed = 0x40000000;

uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t offset) {
    return bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
           static_cast<uint32_t>(bytes.at(offset + 3)) << 24;
}

void Append32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutU32BigEndian(std::vector<uint8_t>& bytes, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// The CRC of a PNG's first chunk (IHDR: 13 bytes of data at 16, CRC over type and data).
void FixIhdrCrc(std::vector<uint8_t>& png) {
    const uLong crc = crc32(0, png.data() + 12, 17);
    PutU32BigEndian(png, 29, static_cast<uint32_t>(crc));
}

// The one 8-bit piece a builder document of plain text has: where its text starts in the
// main stream and how many CPs it covers. The offset of its last CP in the table stream too.
struct TSinglePiece {
    uint32_t TextFc = 0;
    uint32_t Cps = 0;
    size_t EndCpOffset = 0;
};

TSinglePiece SinglePiece(const TWordStreams& s) {
    const uint32_t clx = GetU32(s.WordDocument, kFcClxOffset);
    EXPECT_EQ(s.Table.at(clx), 2);                    // the piece table
    EXPECT_EQ(GetU32(s.Table, clx + 1), 4u * 2 + 8);  // of one piece
    TSinglePiece piece;
    piece.Cps = GetU32(s.Table, clx + 9) - GetU32(s.Table, clx + 5);
    const uint32_t fc = GetU32(s.Table, clx + 15);
    EXPECT_TRUE(fc & kCompressed);
    piece.TextFc = (fc & ~kCompressed) / 2;
    piece.EndCpOffset = clx + 9;
    return piece;
}

// Replaces the piece table by one of a piece per character, each pointing at the same byte
// the single piece had there.
void SplitIntoOneCharacterPieces(TWordStreams& s) {
    const TSinglePiece piece = SinglePiece(s);
    std::vector<uint8_t> clx = {2};
    Append32(clx, (piece.Cps + 1) * 4 + piece.Cps * 8);
    for (uint32_t cp = 0; cp <= piece.Cps; ++cp)
        Append32(clx, cp);
    for (uint32_t cp = 0; cp < piece.Cps; ++cp) {
        clx.push_back(0);
        clx.push_back(0);
        Append32(clx, ((piece.TextFc + cp) * 2) | kCompressed);
        clx.push_back(0);
        clx.push_back(0);
    }
    PutU32(s.WordDocument, kFcClxOffset, static_cast<uint32_t>(s.Table.size()));
    PutU32(s.WordDocument, kLcbClxOffset, static_cast<uint32_t>(clx.size()));
    s.Table.insert(s.Table.end(), clx.begin(), clx.end());
}

// Claims a main text of 2^31 - 1 characters, and (when piece is set) a piece that covers them.
void ClaimTwoGigabytes(TWordStreams& s, bool piece) {
    const size_t endCp = SinglePiece(s).EndCpOffset;
    PutU32(s.WordDocument, kCcpTextOffset, 0x7FFFFFFF);
    if (piece) PutU32(s.Table, endCp, 0x7FFFFFFF);
}

TWordBuilder TwoParagraphs() {
    TWordBuilder b;
    b.Para(u"Hello").Para(u"world");
    return b;
}

TEST(ImportLimits, ATwoGigabyteTextClaimReadsTheTextThereIs) {
    TWordStreams s = TwoParagraphs().BuildStreams();
    ClaimTwoGigabytes(s, false);
    TDocument doc;
    const TImportResult r = ImportStreams(doc, s);
    EXPECT_TRUE(r.Converted);
    // The reading ends where the pieces end, nowhere near the claim.
    EXPECT_EQ(FieldText(doc, 0).substr(0, 12), "Hello\nworld\n");
    EXPECT_LE(r.CharactersRead, static_cast<int64_t>(SinglePiece(s).Cps) + 2);
}

TEST(ImportLimits, ATwoGigabytePieceEndsWithTheMainStream) {
    TWordStreams s = TwoParagraphs().BuildStreams();
    ClaimTwoGigabytes(s, true);
    TDocument doc;
    const TImportResult r = ImportStreams(doc, s);
    EXPECT_TRUE(r.Converted);
    EXPECT_EQ(FieldText(doc, 0).substr(0, 12), "Hello\nworld\n");
    // The piece runs on over the bytes behind the text, up to the end of the stream.
    EXPECT_GT(r.CharactersRead, 12);
    EXPECT_LE(r.CharactersRead, static_cast<int64_t>(s.WordDocument.size()));
}

TEST(ImportLimits, MoreCharactersThanTheImportTakesAreRefusedBeforeReading) {
    TWordStreams s = TwoParagraphs().BuildStreams();
    ClaimTwoGigabytes(s, true);
    s.WordDocument.resize(s.WordDocument.size() + kMaxCharacters + 4096, 'a');
    TDocument doc;
    const std::string before = FieldText(doc, 0);
    TRecordingMessages messages;
    const TImportResult r = ImportStreams(doc, s, &messages);
    EXPECT_FALSE(r.Converted);
    EXPECT_EQ(r.Kind, TErrorKind::LimitExceeded);
    EXPECT_EQ(r.Message, "The document has more than 8388608 characters.");
    EXPECT_EQ(r.CharactersRead, 0);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].first, r.Message);
    EXPECT_EQ(messages.Shown[0].second, TMessageIcon::Error);
    EXPECT_EQ(FieldText(doc, 0), before);
}

TEST(ImportLimits, MoreParagraphsThanTheImportTakesAreRefusedBeforeReading) {
    TWordBuilder b;
    b.Text(std::u16string(kMaxParagraphs, u'\r')).Para(u"one too many");
    TDocument doc;
    const TImportResult r = Import(doc, b);
    EXPECT_FALSE(r.Converted);
    EXPECT_EQ(r.Kind, TErrorKind::LimitExceeded);
    EXPECT_EQ(r.Message, "The document has more than 262144 paragraphs.");
    EXPECT_EQ(doc.Fields[0].LineCount(), 1);
}

TEST(ImportLimits, AMillionOneCharacterPiecesReadAsOneText) {
    constexpr int kParagraphs = 10000;
    constexpr int kLetters = 99;
    TWordBuilder b;
    std::string expected;
    std::u16string paragraph;
    for (int i = 0; i < kLetters; ++i)
        paragraph += static_cast<char16_t>(u'a' + i % 26);
    for (int p = 0; p < kParagraphs; ++p) {
        b.Para(paragraph);
        expected += std::string(paragraph.begin(), paragraph.end()) + "\n";
    }
    TWordStreams s = b.BuildStreams();
    SplitIntoOneCharacterPieces(s);
    // The type byte, the size, a million and one CPs and a million descriptors.
    ASSERT_EQ(GetU32(s.WordDocument, kLcbClxOffset), 5 + 1'000'001u * 4 + 1'000'000u * 8);

    TDocument doc;
    const TImportResult r = ImportStreams(doc, s);
    ASSERT_TRUE(r.Converted);
    EXPECT_EQ(r.CharactersRead, 1'000'000);
    EXPECT_EQ(FieldText(doc, 0), expected);
    doc.CompleteRefresh();
    EXPECT_FALSE(doc.LayoutLimited);
    EXPECT_GT(doc.GetAnzPages(), 100);
}

// A document of `pages` pages: a short line ended by a page break on each.
TWordBuilder PageBreaks(int32_t pages) {
    TWordBuilder b;
    std::u16string text;
    for (int32_t i = 1; i < pages; ++i)
        text += u"p\f";
    b.Text(text).Para(u"end");
    return b;
}

TEST(ImportLimits, TenThousandPagesAreConverted) {
    TDocument doc;
    const TImportResult r = ImportWordBytes(doc, PageBreaks(kMaxPages).Build(), nullptr, nullptr);
    EXPECT_TRUE(r.Converted);
    EXPECT_EQ(doc.GetAnzPages(), kMaxPages);
}

TEST(ImportLimits, APageMoreIsRefusedAfterTheLayoutAndTheModelEmptied) {
    TDocument doc;
    TRecordingMessages messages;
    const TImportResult r =
        ImportWordBytes(doc, PageBreaks(kMaxPages + 1).Build(), nullptr, &messages);
    EXPECT_FALSE(r.Converted);
    EXPECT_EQ(r.Kind, TErrorKind::LimitExceeded);
    EXPECT_EQ(r.Message, "The document has more than 10000 pages.");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].first, r.Message);
    EXPECT_EQ(doc.GetAnzPages(), 1);
    EXPECT_EQ(FieldText(doc, 0), "");
    EXPECT_FALSE(doc.LayoutLimited);
}

// Pictures whose headers claim more pixels than any image may have are left out before
// their pixels are allocated (kMaxPixels); the text around them stays.
TEST(ImportLimits, PicturesClaimingBillionsOfPixelsAreLeftOut) {
    std::vector<uint8_t> png = MakePng(1, 1, {0xFF0000});
    // IHDR width and height (PNG 1.2, 4.1.1), then its CRC recomputed below.
    PutU32BigEndian(png, 16, 100000);
    PutU32BigEndian(png, 20, 100000);
    FixIhdrCrc(png);
    TStoredPicture huge;
    huge.Kind = TStoredKind::Png;
    huge.Bytes = png;
    TStoredPicture metafile;
    metafile.Kind = TStoredKind::Metafile;
    metafile.Bytes = TWmfWriter().Rectangle({0, 0, 10, 10}).Bytes();
    metafile.Bounds = {0, 0, 100000, 100000};
    TWordBuilder b;
    b.Text(u"before ").Picture(StorePicture(huge)).Picture(StorePicture(metafile));
    b.Text(u" after").Paragraph();
    TDocument doc;
    const TImportResult r = Import(doc, b);
    EXPECT_TRUE(r.Converted);
    EXPECT_EQ(doc.BildCount(), 0);
    EXPECT_EQ(FieldText(doc, 0), "before  after\n");
    EXPECT_EQ(r.Notices.Sentences(),
              std::vector<std::string>{
                  "2 pictures were left out: damaged, too large, or of a kind not read."});
}

std::vector<std::string> PictureNotices(const TPictureState& state) {
    TNotices notices;
    ReportPictures(state, notices);
    return notices.Sentences();
}

// The import's pixel budget: a picture that no longer fits is left out and counted, and so is
// every picture after the budget is spent.
TEST(ImportLimits, PicturesBeyondThePixelBudgetAreLeftOutAndCounted) {
    TStoredPicture png;
    png.Kind = TStoredKind::Png;
    png.Bytes = MakePng(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    const std::vector<uint8_t> data = StorePicture(png);
    TPictureState state;
    state.PixelsLeft = 6;
    EXPECT_EQ(DecodePictures(data, 0, state).size(), 1u);
    EXPECT_EQ(state.PixelsLeft, 2);
    EXPECT_TRUE(DecodePictures(data, 0, state).empty());
    EXPECT_EQ(state.OverLimit, 1);
    state.PixelsLeft = 0;
    EXPECT_TRUE(DecodePictures(data, 0, state).empty());
    EXPECT_EQ(state.OverLimit, 2);
    EXPECT_EQ(state.Unreadable, 0);
    EXPECT_EQ(PictureNotices(state),
              std::vector<std::string>{"2 pictures were left out: a document shows at most "
                                       "268435456 picture pixels and 65536 pictures."});
    state.OverLimit = 0;
    state.Unreadable = 1;
    EXPECT_EQ(PictureNotices(state),
              std::vector<std::string>{"1 picture was left out: damaged, too large, or of a "
                                       "kind not read."});
    EXPECT_TRUE(PictureNotices(TPictureState{}).empty());
}

}  // namespace
}  // namespace qm::testing
