#include "builder/word6_builder.h"

#include <algorithm>

#include "builder/byte_put.h"
#include "builder/cfb_writer.h"

namespace qm {

namespace {

constexpr uint32_t kFcMin = 0x300;  // the text follows the header's 768 bytes
constexpr size_t kPage = 512;

void PutU16At(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32At(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    PutU16At(bytes, at, static_cast<uint16_t>(value));
    PutU16At(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

// A run of stored characters with one property list: FCs [Start, End).
struct TRun {
    uint32_t Start;
    uint32_t End;
    std::vector<uint8_t> Stored;  // the list as the page holds it; empty: none
};

// Formatted-property pages: the runs' FCs, one entry per run (its list's offset / 2 and
// entrySize - 1 bytes more), the lists from the page's end down; the run count in the last byte.
struct TPages {
    std::vector<std::vector<uint8_t>> Pages;
    std::vector<uint32_t> FirstFcs;  // each page's first FC, then the last page's end
};

std::vector<uint8_t> WritePage(const std::vector<TRun>& runs, size_t entrySize) {
    std::vector<uint8_t> page(kPage, 0);
    const size_t crun = runs.size();
    size_t top = kPage - 1;
    for (size_t j = 0; j < crun; ++j) {
        PutU32At(page, 4 * j, runs[j].Start);
        if (runs[j].Stored.empty()) continue;
        const size_t at = (top - runs[j].Stored.size()) & ~size_t{1};
        std::copy(runs[j].Stored.begin(), runs[j].Stored.end(), page.begin() + at);
        page[4 * (crun + 1) + entrySize * j] = static_cast<uint8_t>(at / 2);
        top = at;
    }
    PutU32At(page, 4 * crun, runs.back().End);
    page[kPage - 1] = static_cast<uint8_t>(crun);
    return page;
}

TPages WritePages(const std::vector<TRun>& runs, size_t entrySize) {
    TPages pages;
    std::vector<TRun> current;
    size_t data = 0;
    auto flush = [&] {
        pages.FirstFcs.push_back(current.front().Start);
        pages.Pages.push_back(WritePage(current, entrySize));
        current.clear();
        data = 0;
    };
    for (const TRun& run : runs) {
        const size_t need = run.Stored.size() + 2;
        if (!current.empty() &&
            4 * (current.size() + 2) + entrySize * (current.size() + 1) + data + need > kPage - 2)
            flush();
        current.push_back(run);
        data += need;
    }
    if (!current.empty()) flush();
    pages.FirstFcs.push_back(runs.empty() ? kFcMin : runs.back().End);
    return pages;
}

}  // namespace

class TWord6Writer {
  public:
    explicit TWord6Writer(const TWord6Builder& b) : b_(b) {}
    std::vector<uint8_t> Write();

  private:
    void PlaceText();
    std::vector<TRun> Runs(bool paragraphs) const;
    uint32_t Here() const { return static_cast<uint32_t>(out_.size()); }
    // A table written from fc to here: its place and length into the FIB at at.
    void PutFcLcb(size_t at, uint32_t fc) {
        PutU32At(out_, at, fc);
        PutU32At(out_, at + 4, Here() - fc);
    }
    void WriteBinTable(size_t at, const TPages& pages, uint32_t firstPn);
    void WriteStylesheet();
    void WriteFonts();
    void WriteSection();
    void WriteClx();

    const TWord6Builder& b_;
    std::vector<uint8_t> out_;
    std::vector<uint32_t> fcs_;  // each character's place in the stream
};

void TWord6Writer::PlaceText() {
    // Piece k holds the characters from its start to the next one's; the pieces are stored
    // last first, so that the piece table is needed to read them in order.
    std::vector<size_t> starts{0};
    for (const auto& piece : b_.pieces_)
        if (piece.FirstChar > 0) starts.push_back(piece.FirstChar);
    starts.push_back(b_.chars_.size());
    fcs_.assign(b_.chars_.size(), 0);
    for (size_t k = starts.size() - 1; k-- > 0;) {
        for (size_t i = starts[k]; i < starts[k + 1]; ++i) {
            fcs_[i] = Here();
            out_.push_back(b_.chars_[i].Byte);
        }
    }
}

std::vector<TRun> TWord6Writer::Runs(bool paragraphs) const {
    std::vector<size_t> order(b_.chars_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t c) { return fcs_[a] < fcs_[c]; });
    std::vector<TRun> runs;
    int32_t last = -2;
    for (size_t i : order) {
        const int32_t id = paragraphs ? b_.chars_[i].Para : b_.chars_[i].Chpx;
        if (!runs.empty() && id == last && runs.back().End == fcs_[i]) {
            runs.back().End = fcs_[i] + 1;
            continue;
        }
        TRun run{fcs_[i], fcs_[i] + 1, {}};
        if (paragraphs) {
            // PAPX: a count of words, then the style index (0) and the list, padded to even.
            TSprms6 list = id >= 0 ? b_.papxs_[static_cast<size_t>(id)] : TSprms6{};
            if (list.size() % 2) list.push_back(0);
            run.Stored = {static_cast<uint8_t>((list.size() + 2) / 2), 0, 0};
            run.Stored.insert(run.Stored.end(), list.begin(), list.end());
        } else if (id >= 0 && !b_.chpxs_[static_cast<size_t>(id)].empty()) {
            const TSprms6& list = b_.chpxs_[static_cast<size_t>(id)];
            run.Stored = {static_cast<uint8_t>(list.size())};
            run.Stored.insert(run.Stored.end(), list.begin(), list.end());
        }
        runs.push_back(std::move(run));
        last = id;
    }
    return runs;
}

void TWord6Writer::WriteBinTable(size_t at, const TPages& pages, uint32_t firstPn) {
    const uint32_t fc = Here();
    for (uint32_t first : pages.FirstFcs)
        Put32(out_, first);
    for (size_t k = 0; k < pages.Pages.size(); ++k)
        Put16(out_, static_cast<uint16_t>(firstPn + k));
    PutFcLcb(at, fc);
}

void TWord6Writer::WriteStylesheet() {
    const uint32_t fc = Here();
    // STSHI: one style, 8-byte style bases, standard font 0.
    Put16(out_, 14);
    for (uint16_t v : {1, 8, 0, 0, 0, 0, 0})
        Put16(out_, v);
    // Style 0, a paragraph style without a base: its base, its name, an empty paragraph list
    // (the style index only) and an empty character list.
    const std::vector<uint8_t> style = {0,   0,   0xF1, 0xFF, 2, 0, 0, 0, 6, 'N', 'o',
                                        'r', 'm', 'a',  'l',  0, 2, 0, 0, 0, 0,   0};
    Put16(out_, static_cast<uint16_t>(style.size()));
    out_.insert(out_.end(), style.begin(), style.end());
    PutFcLcb(0x60, fc);
}

void TWord6Writer::WriteFonts() {
    auto fonts = b_.fonts_;
    if (fonts.empty()) fonts.push_back({"Times New Roman", 0});
    const uint32_t fc = Here();
    Put16(out_, 0);
    for (const auto& [name, charset] : fonts) {
        Put8(out_, static_cast<uint8_t>(5 + name.size() + 1));
        Put8(out_, 0x16);  // variable pitch, roman
        Put16(out_, 400);
        Put8(out_, charset);
        Put8(out_, 0);
        out_.insert(out_.end(), name.begin(), name.end());
        Put8(out_, 0);
    }
    PutU16At(out_, fc, static_cast<uint16_t>(Here() - fc));
    PutFcLcb(0xD0, fc);
}

void TWord6Writer::WriteSection() {
    const uint32_t sepx = Here();
    Put16(out_, static_cast<uint16_t>(b_.sepx_.size()));
    out_.insert(out_.end(), b_.sepx_.begin(), b_.sepx_.end());
    const uint32_t fc = Here();
    Put32(out_, 0);
    Put32(out_, static_cast<uint32_t>(b_.chars_.size()));
    Put16(out_, 0);
    Put32(out_, sepx);
    Put16(out_, 0);
    Put32(out_, 0xFFFFFFFF);
    PutFcLcb(0x88, fc);
}

void TWord6Writer::WriteClx() {
    if (b_.pieces_.empty()) return;
    const uint32_t fc = Here();
    for (const TSprms6& list : b_.pieceLists_) {
        Put8(out_, 1);
        Put16(out_, static_cast<uint16_t>(list.size()));
        out_.insert(out_.end(), list.begin(), list.end());
    }
    std::vector<TWord6Builder::TPieceStart> pieces;
    for (const auto& piece : b_.pieces_)
        if (piece.FirstChar < b_.chars_.size()) pieces.push_back(piece);
    if (pieces.empty() || pieces.front().FirstChar != 0) pieces.insert(pieces.begin(), {0, 0});
    Put8(out_, 2);
    Put32(out_, static_cast<uint32_t>(4 + 12 * pieces.size()));
    for (const auto& piece : pieces)
        Put32(out_, static_cast<uint32_t>(piece.FirstChar));
    Put32(out_, static_cast<uint32_t>(b_.chars_.size()));
    for (const auto& piece : pieces) {
        Put16(out_, 0);
        Put32(out_, fcs_[piece.FirstChar]);
        Put16(out_, piece.Prm);
    }
    PutFcLcb(0x160, fc);
    PutU16At(out_, 0x0A, 0x0004);  // fComplex
}

std::vector<uint8_t> TWord6Writer::Write() {
    out_.assign(kFcMin, 0);
    PutU16At(out_, 0x00, 0xA5DC);
    PutU16At(out_, 0x02, b_.nFib_);
    PutU16At(out_, 0x06, b_.lid_);
    PutU32At(out_, 0x18, kFcMin);
    PlaceText();
    PutU32At(out_, 0x1C, Here());
    PutU32At(out_, 0x34, static_cast<uint32_t>(b_.chars_.size()));
    const TPages chp = WritePages(Runs(false), 1);
    const TPages pap = WritePages(Runs(true), 7);
    out_.resize((out_.size() + kPage - 1) / kPage * kPage, 0);
    const uint32_t firstChp = Here() / kPage;
    for (const auto& page : chp.Pages)
        out_.insert(out_.end(), page.begin(), page.end());
    const uint32_t firstPap = Here() / kPage;
    for (const auto& page : pap.Pages)
        out_.insert(out_.end(), page.begin(), page.end());
    WriteStylesheet();
    WriteSection();
    WriteBinTable(0xB8, chp, firstChp);
    WriteBinTable(0xC0, pap, firstPap);
    PutU16At(out_, 0x18A, static_cast<uint16_t>(firstChp));
    PutU16At(out_, 0x18C, static_cast<uint16_t>(firstPap));
    PutU16At(out_, 0x18E, static_cast<uint16_t>(chp.Pages.size()));
    PutU16At(out_, 0x190, static_cast<uint16_t>(pap.Pages.size()));
    WriteFonts();
    const uint32_t dop = Here();
    out_.resize(out_.size() + 84, 0);
    PutU16At(out_, dop + 10, 720);  // the default tab width
    PutFcLcb(0x150, dop);
    WriteClx();
    return out_;
}

TWord6Builder& TWord6Builder::Font(std::string name, uint8_t charset) {
    fonts_.emplace_back(std::move(name), charset);
    return *this;
}

TWord6Builder& TWord6Builder::Language(uint16_t lid) {
    lid_ = lid;
    return *this;
}

TWord6Builder& TWord6Builder::Version(uint16_t nFib) {
    nFib_ = nFib;
    return *this;
}

TWord6Builder& TWord6Builder::Text(std::string_view bytes, TSprms6 chpx) {
    chpxs_.push_back(std::move(chpx));
    for (char c : bytes)
        chars_.push_back({static_cast<uint8_t>(c), static_cast<int32_t>(chpxs_.size() - 1), -1});
    return *this;
}

TWord6Builder& TWord6Builder::Paragraph(TSprms6 papx) {
    chars_.push_back({'\r', -1, -1});
    papxs_.push_back(std::move(papx));
    for (size_t i = openParagraph_; i < chars_.size(); ++i)
        chars_[i].Para = static_cast<int32_t>(papxs_.size() - 1);
    openParagraph_ = chars_.size();
    return *this;
}

TWord6Builder& TWord6Builder::Piece(uint16_t prm) {
    pieces_.push_back({chars_.size(), prm});
    return *this;
}

uint16_t TWord6Builder::PieceList(TSprms6 grpprl) {
    pieceLists_.push_back(std::move(grpprl));
    return static_cast<uint16_t>(pieceLists_.size() - 1);
}

TWord6Builder& TWord6Builder::LastSection(TSprms6 sepx) {
    sepx_ = std::move(sepx);
    return *this;
}

std::vector<uint8_t> TWord6Builder::Build() const {
    TWord6Writer writer(*this);
    return WriteCompoundFile({{"WordDocument", writer.Write()}});
}

}  // namespace qm
