// The writing half of the document builder: lays the description out as the streams of a
// Word 97 document (the FIB, the tables, the property pages).
#include <algorithm>
#include <stdexcept>

#include "builder/byte_put.h"
#include "builder/word_builder.h"

namespace qm {

namespace {

constexpr size_t kTextStart = 0x400;  // the text follows the FIB
constexpr size_t kPage = 512;
constexpr uint32_t kCompressed = 0x40000000;

void PadTo(std::vector<uint8_t>& out, size_t multiple) {
    while (out.size() % multiple)
        out.push_back(0);
}

// A run of FCs sharing one property list (an index into the builder's lists).
struct TRun {
    uint32_t Start;
    uint32_t End;
    int32_t Id;
};

// One formatted-property page under construction: positions from the front, entries after
// them, property lists from the back (at even offsets).
class TFkp {
  public:
    explicit TFkp(size_t entrySize) : entrySize_(entrySize) {}

    // Adds a run whose property bytes (already in their page form) are data; false when the
    // page is full.
    bool Add(const TRun& run, const std::vector<uint8_t>& data) {
        const size_t n = runs_.size() + 1;
        size_t low = low_;
        size_t offset = 0;
        if (!data.empty()) {
            if (data.size() + 2 > low) return false;
            offset = (low - data.size()) & ~size_t{1};
            low = offset;
        }
        if (4 * (n + 1) + entrySize_ * n > low) return false;
        if (!data.empty()) std::copy(data.begin(), data.end(), page_.begin() + offset);
        low_ = low;
        runs_.push_back(run);
        offsets_.push_back(static_cast<uint8_t>(offset / 2));
        return true;
    }
    bool Empty() const { return runs_.empty(); }
    uint32_t FirstFc() const { return runs_.front().Start; }

    std::vector<uint8_t> Finish() {
        std::vector<uint8_t> page = page_;
        const size_t n = runs_.size();
        for (size_t j = 0; j < n; ++j)
            PutU32(page, 4 * j, runs_[j].Start);
        PutU32(page, 4 * n, runs_.back().End);
        for (size_t j = 0; j < n; ++j)
            page[4 * (n + 1) + entrySize_ * j] = offsets_[j];
        page[kPage - 1] = static_cast<uint8_t>(n);
        return page;
    }

  private:
    size_t entrySize_;
    std::vector<uint8_t> page_ = std::vector<uint8_t>(kPage, 0);
    size_t low_ = kPage - 1;
    std::vector<TRun> runs_;
    std::vector<uint8_t> offsets_;
};

// Chpx in a page: a byte count and the list; an empty list has no entry.
std::vector<uint8_t> ChpxPageForm(const TSprms& chpx) {
    if (chpx.empty()) return {};
    if (chpx.size() > 255) throw std::invalid_argument("character property list too long");
    std::vector<uint8_t> data{static_cast<uint8_t>(chpx.size())};
    data.insert(data.end(), chpx.begin(), chpx.end());
    return data;
}

// PapxInFkp: a count of 16-bit words, the style index and the list.
std::vector<uint8_t> PapxPageForm(const TSprms& papx, uint16_t istd) {
    const size_t length = 2 + papx.size();
    std::vector<uint8_t> data;
    if (length % 2) {
        data.push_back(static_cast<uint8_t>((length + 1) / 2));
    } else {
        data.push_back(0);
        data.push_back(static_cast<uint8_t>(length / 2));
    }
    Put16(data, istd);
    data.insert(data.end(), papx.begin(), papx.end());
    return data;
}

}  // namespace

class TWordWriter {
  public:
    explicit TWordWriter(const TWordBuilder& b) : b_(b) {}

    TWordStreams Write() {
        GatherText();
        LayOutText();
        WriteFkps(
            chpxBins_, 1, [&](int32_t id) { return ChpxPageForm(b_.chpxs_[id]); },
            [&](const TWordBuilder::TChar& c) { return c.Chpx; });
        WriteFkps(
            papxBins_, 13,
            [&](int32_t id) { return PapxPageForm(b_.paras_[id].Papx, b_.paras_[id].Istd); },
            [&](const TWordBuilder::TChar& c) { return c.Para; });
        WriteTables();
        WriteFib();
        streams_.TableName = b_.options_.Table1 ? "1Table" : "0Table";
        streams_.HasData = b_.options_.DataStream;
        if (streams_.HasData) streams_.Data = b_.data_;
        if (b_.options_.DecoyTableStream) streams_.DecoyTable.assign(1024, 0xEE);
        ProtectStreams(streams_, b_.options_.Protection);
        return streams_;
    }

  private:
    struct TBin {
        std::vector<uint32_t> Fcs;
        std::vector<uint32_t> Pages;
    };

    // The stories follow each other: main text, footnotes, headers, comments, endnotes, text
    // boxes.
    void GatherText() {
        chars_ = b_.main_.Chars;
        ccpText_ = chars_.size();
        ccpFtn_ = AppendStory(b_.notes_[0]);
        const size_t headerStart = chars_.size();
        for (const auto& section : b_.headers_) {
            for (const auto& story : section) {
                storyStarts_.push_back(static_cast<uint32_t>(chars_.size() - headerStart));
                chars_.insert(chars_.end(), story.Chars.begin(), story.Chars.end());
            }
        }
        storyStarts_.push_back(static_cast<uint32_t>(chars_.size() - headerStart));
        hasHeaders_ = chars_.size() > headerStart;
        if (hasHeaders_) chars_.push_back({u'\r', false, 0, 0});  // the closing mark
        ccpHdd_ = chars_.size() - headerStart;
        ccpAtn_ = AppendStory(b_.notes_[1]);
        ccpEdn_ = AppendStory(b_.notes_[2]);
        ccpTxbx_ = AppendStory(b_.notes_[3]);
        // The last text box entry is room for a new box; its text is one paragraph mark.
        if (ccpTxbx_ > 0) {
            chars_.push_back({u'\r', false, 0, 0});
            ++ccpTxbx_;
        }
    }

    size_t AppendStory(const TWordBuilder::TStoryText& story) {
        chars_.insert(chars_.end(), story.Chars.begin(), story.Chars.end());
        return story.Chars.size();
    }

    void LayOutText() {
        auto& out = streams_.WordDocument;
        out.assign(kTextStart, 0);
        for (size_t cp = 0; cp < chars_.size(); ++cp) {
            const auto& c = chars_[cp];
            if (cp == 0 || c.Wide != chars_[cp - 1].Wide) {
                if (c.Wide) PadTo(out, 2);
                pieceCps_.push_back(static_cast<uint32_t>(cp));
                const auto at = static_cast<uint32_t>(out.size());
                pieceFcs_.push_back(c.Wide ? at : (at * 2) | kCompressed);
            }
            fcs_.push_back(static_cast<uint32_t>(out.size()));
            if (c.Wide) {
                Put16(out, c.Code);
            } else {
                Put8(out, static_cast<uint8_t>(c.Code));
            }
        }
        pieceCps_.push_back(static_cast<uint32_t>(chars_.size()));
        textEnd_ = static_cast<uint32_t>(out.size());
        fcs_.push_back(textEnd_);
    }

    template <class PageForm, class IdOf>
    void WriteFkps(TBin& bin, size_t entrySize, PageForm pageForm, IdOf idOf) {
        std::vector<TRun> runs;
        for (size_t i = 0; i < chars_.size(); ++i) {
            const int32_t id = idOf(chars_[i]);
            if (!runs.empty() && runs.back().Id == id) {
                runs.back().End = fcs_[i + 1];
            } else {
                if (!runs.empty()) runs.back().End = fcs_[i];
                runs.push_back({fcs_[i], fcs_[i + 1], id});
            }
        }
        auto& out = streams_.WordDocument;
        TFkp page(entrySize);
        auto flush = [&] {
            PadTo(out, kPage);
            bin.Fcs.push_back(page.FirstFc());
            bin.Pages.push_back(static_cast<uint32_t>(out.size() / kPage));
            const std::vector<uint8_t> bytes = page.Finish();
            out.insert(out.end(), bytes.begin(), bytes.end());
            page = TFkp(entrySize);
        };
        for (const TRun& run : runs) {
            const std::vector<uint8_t> data = pageForm(run.Id);
            if (!page.Add(run, data)) {
                flush();
                if (!page.Add(run, data)) throw std::invalid_argument("property list too long");
            }
        }
        if (!page.Empty()) flush();
        if (!runs.empty()) bin.Fcs.push_back(runs.back().End);
    }

    void WriteTables();
    void WriteNoteTables(std::vector<uint8_t>& t);
    void WriteBookmarks(std::vector<uint8_t>& t);
    void WriteStylesheet(std::vector<uint8_t>& t);
    void WriteFontTable(std::vector<uint8_t>& t);
    void WriteClx(std::vector<uint8_t>& t);
    static void Append(std::vector<uint8_t>& t, const std::vector<uint8_t>& bytes) {
        t.insert(t.end(), bytes.begin(), bytes.end());
    }
    void WriteSections(std::vector<uint8_t>& t);
    void WriteFib();
    void SetPair(size_t offset, uint32_t fc, uint32_t lcb) {
        PutU32(streams_.WordDocument, offset, fc);
        PutU32(streams_.WordDocument, offset + 4, lcb);
    }
    // Writes a table with its position and length into the FIB pair at fibOffset.
    template <class Body>
    void Table(std::vector<uint8_t>& t, size_t fibOffset, Body body) {
        PadTo(t, 2);
        const auto start = static_cast<uint32_t>(t.size());
        body();
        SetPair(fibOffset, start, static_cast<uint32_t>(t.size() - start));
    }

    const TWordBuilder& b_;
    TWordStreams streams_;
    std::vector<TWordBuilder::TChar> chars_;
    size_t ccpText_ = 0;
    size_t ccpFtn_ = 0;
    size_t ccpHdd_ = 0;
    size_t ccpAtn_ = 0;
    size_t ccpEdn_ = 0;
    size_t ccpTxbx_ = 0;
    bool hasHeaders_ = false;
    std::vector<uint32_t> storyStarts_;
    std::vector<uint32_t> fcs_;
    std::vector<uint32_t> pieceCps_;
    std::vector<uint32_t> pieceFcs_;
    uint32_t textEnd_ = 0;
    TBin chpxBins_;
    TBin papxBins_;
};

void TWordWriter::WriteTables() {
    auto& t = streams_.Table;
    // Room for the encryption header, which comes first.
    t.assign(ProtectionHeaderBytes(b_.options_.Protection), 0);
    WriteStylesheet(t);
    WriteSections(t);
    if (hasHeaders_ && b_.options_.HeaderTable) {
        Table(t, 0xF2, [&] {
            for (int i = 0; i < 6; ++i)
                Put32(t, 0);  // the separator stories: empty
            for (uint32_t cp : storyStarts_)
                Put32(t, cp);
        });
    }
    for (auto [bin, offset] : {std::pair{&chpxBins_, 0xFA}, std::pair{&papxBins_, 0x102}}) {
        if (bin->Pages.empty()) continue;
        Table(t, offset, [&, bin = bin] {
            for (uint32_t fc : bin->Fcs)
                Put32(t, fc);
            for (uint32_t pn : bin->Pages)
                Put32(t, pn);
        });
    }
    WriteNoteTables(t);
    WriteBookmarks(t);
    WriteFontTable(t);
    Table(t, 0x192, [&] {
        std::vector<uint8_t> dop(500, 0);
        dop[0] = b_.options_.FacingPages ? 1 : 0;
        PutU16(dop, 10, b_.options_.DefaultTabTwips);
        t.insert(t.end(), dop.begin(), dop.end());
    });
    WriteClx(t);
    if (!b_.lists_.empty()) Table(t, 0x2E2, [&] { Append(t, ListTableBytes(b_.lists_)); });
    if (!b_.listOverrides_.empty())
        Table(t, 0x2EA, [&] { Append(t, ListOverrideBytes(b_.listOverrides_)); });
}

void TWordWriter::WriteBookmarks(std::vector<uint8_t>& t) {
    const auto& marks = b_.bookmarks_;
    if (marks.empty()) return;
    Table(t, 0x142, [&] {  // SttbfBkmk: extended, no extra data
        Put16(t, 0xFFFF);
        Put16(t, static_cast<uint16_t>(marks.size()));
        Put16(t, 0);
        for (const auto& [name, cp] : marks) {
            Put16(t, static_cast<uint16_t>(name.size()));
            for (char16_t c : name)
                Put16(t, c);
        }
    });
    const auto last = static_cast<uint32_t>(b_.main_.Chars.size());
    Table(t, 0x14A, [&] {  // PlcfBkf: the starts, then an FBKF per bookmark
        for (const auto& mark : marks)
            Put32(t, mark.second);
        Put32(t, last);
        for (size_t i = 0; i < marks.size(); ++i) {
            Put16(t, static_cast<uint16_t>(i));
            Put16(t, 0);
        }
    });
    Table(t, 0x152, [&] {  // PlcfBkl: the ends
        for (const auto& mark : marks)
            Put32(t, std::min(mark.second + 1, last));
        Put32(t, last);
    });
}

void TWordWriter::WriteClx(std::vector<uint8_t>& t) {
    Table(t, 0x1A2, [&] {
        Put8(t, 2);
        Put32(t, static_cast<uint32_t>(4 * pieceCps_.size() + 8 * pieceFcs_.size()));
        for (uint32_t cp : pieceCps_)
            Put32(t, cp);
        for (uint32_t fc : pieceFcs_) {
            Put16(t, 0);
            Put32(t, fc);
            Put16(t, 0);
        }
    });
}

// The reference tables (where the notes' marks are, one record each: FRD 2 bytes, ATRDPre10 30)
// and the text tables (where each note's text starts in its story).
void TWordWriter::WriteNoteTables(std::vector<uint8_t>& t) {
    struct TNoteTables {
        const TWordBuilder::TStoryText& Story;
        size_t RefOffset;
        size_t TextOffset;
        size_t RecordSize;
        size_t Length;
    };
    const TNoteTables notes[] = {
        {b_.notes_[0], 0xAA, 0xB2, 2, ccpFtn_},
        {b_.notes_[1], 0xBA, 0xC2, 30, ccpAtn_},
        {b_.notes_[2], 0x20A, 0x212, 2, ccpEdn_},
    };
    for (const TNoteTables& n : notes) {
        if (n.Story.References.empty()) continue;
        Table(t, n.RefOffset, [&] {
            for (uint32_t cp : n.Story.References)
                Put32(t, cp);
            Put32(t, static_cast<uint32_t>(ccpText_));
            for (size_t i = 0; i < n.Story.References.size(); ++i) {
                std::vector<uint8_t> record(n.RecordSize, 0);
                record[0] = 1;  // numbered automatically
                t.insert(t.end(), record.begin(), record.end());
            }
        });
        Table(t, n.TextOffset, [&] {
            for (uint32_t cp : n.Story.ItemStarts)
                Put32(t, cp);
            Put32(t, static_cast<uint32_t>(n.Length));
        });
    }
    if (ccpTxbx_ == 0) return;
    // PlcftxbxTxt: FTXBXS of 22 bytes, the reusable flag at byte 8; the last entry is reusable.
    Table(t, 0x25A, [&] {
        const auto& starts = b_.notes_[3].ItemStarts;
        for (uint32_t cp : starts)
            Put32(t, cp);
        Put32(t, static_cast<uint32_t>(ccpTxbx_ - 1));
        Put32(t, static_cast<uint32_t>(ccpTxbx_));
        for (size_t i = 0; i <= starts.size(); ++i) {
            std::vector<uint8_t> ftxbxs(22, 0);
            if (i < starts.size()) {
                ftxbxs[0] = 1;  // cTxbx: one shape
            } else {
                ftxbxs[8] = 1;  // fReusable
            }
            t.insert(t.end(), ftxbxs.begin(), ftxbxs.end());
        }
    });
}

void TWordWriter::WriteSections(std::vector<uint8_t>& t) {
    auto& main = streams_.WordDocument;
    std::vector<std::pair<uint32_t, TSprms>> sections;
    for (const auto& s : b_.sections_)
        sections.emplace_back(static_cast<uint32_t>(s.End), s.Sepx);
    if (sections.empty() || sections.back().first < ccpText_ || !b_.lastSepx_.empty()) {
        sections.emplace_back(static_cast<uint32_t>(ccpText_), b_.lastSepx_);
    }
    std::vector<uint32_t> fcSepx;
    for (const auto& s : sections) {
        if (s.second.empty()) {
            fcSepx.push_back(0xFFFFFFFF);
            continue;
        }
        PadTo(main, 2);
        fcSepx.push_back(static_cast<uint32_t>(main.size()));
        Put16(main, static_cast<uint16_t>(s.second.size()));
        main.insert(main.end(), s.second.begin(), s.second.end());
    }
    Table(t, 0xCA, [&] {
        Put32(t, 0);
        for (const auto& s : sections)
            Put32(t, s.first);
        for (uint32_t fc : fcSepx) {
            Put16(t, 0);
            Put32(t, fc);
            Put16(t, 0);
            Put32(t, 0xFFFFFFFF);
        }
    });
}

void TWordWriter::WriteStylesheet(std::vector<uint8_t>& t) {
    std::vector<TWordStyle> styles = b_.styles_;
    if (styles.empty()) styles.push_back({0, false, 0x0FFF, "Normal", {}, {}});
    uint16_t count = 0;
    for (const auto& s : styles)
        count = std::max<uint16_t>(count, s.Istd + 1);
    Table(t, 0xA2, [&] {
        Put16(t, 18);  // the STSHI: count, base size 10, flags, three limits, three fonts
        Put16(t, count);
        Put16(t, 10);
        Put16(t, 1);
        Put16(t, 0x5B);
        Put16(t, 0x0F);
        Put16(t, 0);
        Put16(t, b_.options_.StandardFont);  // ASCII, then East Asian and other text
        Put16(t, 0);
        Put16(t, 0);
        for (uint16_t istd = 0; istd < count; ++istd) {
            auto it = std::find_if(styles.begin(), styles.end(),
                                   [&](const TWordStyle& s) { return s.Istd == istd; });
            if (it == styles.end()) {
                Put16(t, 0);
                continue;
            }
            std::vector<uint8_t> std;
            Put16(std, it->Sti);
            Put16(std, static_cast<uint16_t>((it->Character ? 2 : 1) | (it->Base << 4)));
            Put16(std, static_cast<uint16_t>((it->Character ? 1 : 2) | (istd << 4)));
            Put16(std, 0);
            Put16(std, 0);
            Put16(std, static_cast<uint16_t>(it->Name.size()));
            for (char c : it->Name)
                Put16(std, static_cast<uint8_t>(c));
            Put16(std, 0);
            auto upx = [&](const std::vector<uint8_t>& list) {
                Put16(std, static_cast<uint16_t>(list.size()));
                std.insert(std.end(), list.begin(), list.end());
                PadTo(std, 2);
            };
            if (it->Character) {
                upx(it->Chpx);
            } else {
                std::vector<uint8_t> papx;
                Put16(papx, istd);
                papx.insert(papx.end(), it->Papx.begin(), it->Papx.end());
                upx(papx);
                upx(it->Chpx);
            }
            Put16(t, static_cast<uint16_t>(std.size()));
            t.insert(t.end(), std.begin(), std.end());
        }
    });
    PutU32(streams_.WordDocument, 0x9A, 0);
}

void TWordWriter::WriteFontTable(std::vector<uint8_t>& t) {
    auto fonts = b_.fonts_;
    if (fonts.empty()) fonts.push_back({u"Times New Roman", u""});
    Table(t, 0x112, [&] {
        Put16(t, static_cast<uint16_t>(fonts.size()));
        Put16(t, 0);
        for (const auto& font : fonts) {
            std::vector<uint8_t> ffn(40, 0);  // size, family, weight, charset, panose, signature
            ffn[1] = font.Ffid;
            PutU16(ffn, 2, 400);
            for (char16_t c : font.Name)
                Put16(ffn, c);
            Put16(ffn, 0);
            if (!font.Alt.empty()) {
                ffn[5] = static_cast<uint8_t>(font.Name.size() + 1);
                for (char16_t c : font.Alt)
                    Put16(ffn, c);
                Put16(ffn, 0);
            }
            ffn[0] = static_cast<uint8_t>(ffn.size() - 1);
            t.insert(t.end(), ffn.begin(), ffn.end());
        }
    });
}

void TWordWriter::WriteFib() {
    auto& f = streams_.WordDocument;
    const TWordOptions& o = b_.options_;
    PutU16(f, 0x00, o.WIdent);
    PutU16(f, 0x02, o.NFib);
    PutU16(f, 0x06, 0x0409);  // lid: English (US)
    uint16_t flags = 0x0004;  // fComplex: the text is described by a piece table
    if (o.Encrypted) flags |= 0x0100;
    if (o.Protection.XorObfuscated) flags |= 0x8100;  // fEncrypted and fObfuscated
    if (o.Table1) flags |= 0x0200;
    PutU16(f, 0x0A, flags);
    PutU16(f, 0x0C, 0x00BF);  // nFibBack
    PutU32(f, 0x18, static_cast<uint32_t>(kTextStart));
    PutU32(f, 0x1C, textEnd_);
    PutU16(f, 0x20, 14);                               // csw
    PutU16(f, 0x3E, 22);                               // cslw
    PutU32(f, 0x40, static_cast<uint32_t>(f.size()));  // cbMac
    PutU32(f, 0x4C, static_cast<uint32_t>(ccpText_));
    PutU32(f, 0x50, static_cast<uint32_t>(ccpFtn_));
    PutU32(f, 0x54, static_cast<uint32_t>(ccpHdd_));
    PutU32(f, 0x5C, static_cast<uint32_t>(ccpAtn_));
    PutU32(f, 0x60, static_cast<uint32_t>(ccpEdn_));
    PutU32(f, 0x64, static_cast<uint32_t>(ccpTxbx_));
    PutU16(f, 0x98, 93);  // cbRgFcLcb: the Word 97 pairs
    PutU16(f, 0x382, 0);  // cswNew
}

TWordStreams TWordBuilder::BuildStreams() const {
    return TWordWriter(*this).Write();
}

}  // namespace qm
