// The Word 6 and Word 95 version reader: the older FIB names tables that all lie in the main
// stream. They are read into the same parsed file as a Word 97 document's; what the older
// format does differently (page numbers of 16 bits, pages that follow the bin table's last,
// header stories stored only where a section has them, modifiers attached to pieces, code pages)
// is resolved here, and the property lists stay in the older codes for the resolver.
#include "base/byte_reader.h"
#include "word/code_pages.h"
#include "word/fib_word6.h"
#include "word/font_table.h"
#include "word/sprm_word6.h"
#include "word/word_file.h"

namespace qm {

namespace {

// The header stories of the separators, then six per section (word/header_stories.h).
constexpr int32_t kSeparatorStories = 6;
constexpr int32_t kStoriesPerSection = 6;
constexpr uint8_t kSprmSGprfIhdt = 153;
// The FIB's chse of a document whose text is in the Macintosh character set.
constexpr uint16_t kMacCharacterSet = 256;

// The bin table's page numbers (16 bits each), with the pages the table leaves out: they
// follow its last page up to the count the FIB gives, as far as the stream holds them.
std::vector<uint32_t> BinPages(std::span<const uint8_t> main, uint32_t fc, uint32_t lcb,
                               uint16_t pageCount) {
    const Plc<uint32_t> bins = ReadPlc<uint32_t>(main, fc, lcb, 2, [](ByteReader& r, uint32_t& pn) {
        uint16_t value = 0;
        r.U16(value);
        pn = value;
    });
    std::vector<uint32_t> pages = bins.Records;
    const uint64_t streamPages = main.size() / kFkpSize;
    while (!pages.empty() && pages.size() < pageCount && pages.back() + 1u < streamPages)
        pages.push_back(pages.back() + 1);
    return pages;
}

// Which header stories a section has (sprmSGprfIhdt of its property list): bit i for the
// story i of even header, odd header, even footer, odd footer, first header, first footer.
uint8_t SectionHeaderFlags(const TWordFile& file, int32_t section) {
    const uint32_t fcSepx = file.Sections.Sections().Records[section].FcSepx;
    ByteReader r(file.Main.Bytes());
    uint16_t size = 0;
    std::span<const uint8_t> list;
    std::span<const uint8_t> operand;
    if (fcSepx == 0xFFFFFFFF || !r.Seek(fcSepx) || !r.U16(size) ||
        !r.Bytes(std::min<size_t>(size, r.Remaining()), list) ||
        !FindWord6Sprm(list, kSprmSGprfIhdt, operand) || operand.empty())
        return 0;
    return operand[0];
}

// The older header story table holds only the stories that exist (the separators the
// document's properties name, then each section's); the Word 97 one has all of them, those
// not written being empty. This builds the latter from the former.
Plc<char> DenseHeaderStories(const TWordFile& file, const Plc<char>& stored, uint8_t docFlags) {
    Plc<char> dense;
    const auto& src = stored.Positions;
    if (src.empty()) return dense;
    size_t next = 0;
    dense.Positions.push_back(src[0]);
    auto slot = [&](bool present) {
        if (present && next + 1 < src.size()) {
            ++next;
            dense.Positions.push_back(std::max(src[next], dense.Positions.back()));
        } else {
            dense.Positions.push_back(dense.Positions.back());
        }
    };
    for (int32_t i = 0; i < kSeparatorStories; ++i)
        slot((docFlags >> i) & 1);
    for (int32_t s = 0; s < file.Sections.Sections().Count(); ++s) {
        const uint8_t flags = SectionHeaderFlags(file, s);
        for (int32_t i = 0; i < kStoriesPerSection; ++i)
            slot((flags >> i) & 1);
    }
    // The closing paragraph mark of the header text stands in a story of its own.
    dense.Positions.push_back(std::max(src.back(), dense.Positions.back()));
    dense.Records.resize(dense.Positions.size() - 1);
    return dense;
}

// The property list each piece's modifier adds, by the piece's bytes.
TPieceProperties PiecePropertiesOf(const TPieceTable& pieces) {
    TPieceProperties properties;
    const Plc<uint32_t>& plc = pieces.Pieces();
    const auto& lists = pieces.PropertyLists();
    for (int32_t i = 0; i < plc.Count(); ++i) {
        const uint16_t prm = pieces.Prm(i);
        if (prm == 0 || plc.Positions[i + 1] <= plc.Positions[i]) continue;
        std::vector<uint8_t> list;
        if ((prm & 1) == 0) {
            list = Word6PrmList(prm);
        } else if (const size_t index = prm >> 1; index < lists.size()) {
            list = TranslateWord6Sprms(lists[index]);
        }
        if (list.empty()) continue;
        const uint64_t fc = plc.Records[i];
        properties.Add(fc, fc + (plc.Positions[i + 1] - plc.Positions[i]), std::move(list));
    }
    properties.Finish();
    return properties;
}

void ReadFonts(TWordFile& file, const TWord6Header& header) {
    std::vector<uint8_t> charsets;
    file.Fonts =
        ReadWord6FontTable(file.Main.Bytes(), file.Fib.FcSttbfffn, header.LcbSttbfffn, charsets);
    file.CodePage =
        header.Chse == kMacCharacterSet ? kMacRomanCodePage : CodePageOfLanguage(header.Lid);
    for (uint8_t charset : charsets)
        file.FontCodePages.push_back(CodePageOfCharset(charset));
}

void ReadTables(TWordFile& file, const TWord6Header& header) {
    const TFib& fib = file.Fib;
    const auto main = file.Main.Bytes();
    ReadFonts(file, header);
    const std::vector<uint32_t> chpPages =
        BinPages(main, fib.FcPlcfbteChpx, fib.LcbPlcfbteChpx, header.CpnBteChp);
    const std::vector<uint32_t> papPages =
        BinPages(main, fib.FcPlcfbtePapx, fib.LcbPlcfbtePapx, header.CpnBtePap);
    file.ChpxBins = TBinTable::FromPages(chpPages, main);
    file.PapxBins = TBinTable::FromPages(papPages, main);
    file.Sections = TSectionTable::Read(main, fib.FcPlcfsed, fib.LcbPlcfsed);
    file.Dop = ReadDop(main, fib.FcDop);
    uint8_t docHeaderFlags = 0;
    ByteReader dop(main);
    if (dop.Seek(static_cast<uint64_t>(fib.FcDop) + 1)) dop.U8(docHeaderFlags);
    const Plc<char> stored =
        ReadPlc<char>(main, fib.FcPlcfhdd, fib.LcbPlcfhdd, 0, [](ByteReader&, char&) {});
    file.HeaderStories = DenseHeaderStories(file, stored, docHeaderFlags);
    file.Stylesheet = ReadStylesheet(main, fib.FcStshf, true);
    // The East Asian builds store pieces as Word 97 does: 16-bit text unless bit 30 is set.
    file.Pieces = TPieceTable::Read(main, fib.FcClx, fib.LcbClx, fib.WIdent != kWord6AsianIdent);
    file.PieceProperties = PiecePropertiesOf(file.Pieces);
    file.Stories = TStoryTable(fib, main);
}

}  // namespace

Result<TWordFile> ReadWord6File(TCfbStream main) {
    TWordFile file;
    file.Main = std::move(main);
    TWord6Header header;
    Result<TFib> fib = ReadWord6Fib(file.Main.Bytes(), header);
    if (!fib) return fib.Error();
    file.Fib = *fib;
    file.Word6 = true;
    // Pictures are stored in the main stream itself.
    const auto bytes = file.Main.Bytes();
    file.Data = TCfbStream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    file.HasData = true;
    ReadTables(file, header);
    return file;
}

}  // namespace qm
