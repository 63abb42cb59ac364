#include "word/property_resolver.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "word/sprm.h"
#include "word/sprm_word6.h"

namespace qm {

namespace {

// BxPap: each paragraph run's entry is 13 bytes (offset byte and PHE); Word 6's PHE is shorter.
constexpr size_t kBxPapSize = 13;
constexpr size_t kWord6BxPapSize = 7;

// The byte at pos of a page, or 0 outside it.
uint8_t PageByte(const TFkpRun& run, size_t pos) {
    return pos < run.Page.size() ? run.Page[pos] : 0;
}

}  // namespace

TPropertyResolver::TPropertyResolver(const TWordFile& file) : file_(file) {
    state_.Chp = file.Stylesheet.LastChp;
    state_.Pap = file.Stylesheet.LastPap;
}

void TPropertyResolver::Apply(std::span<const uint8_t> list) {
    state_.HugePapx = -1;
    ApplySprms(state_, file_.Stylesheet.Styles, list);
    if (state_.HugePapx < 0) return;
    // A property list too long for its page stands in the "Data" stream (PrcData: its size,
    // then the list); a list there naming another is not followed again.
    const int64_t at = state_.HugePapx;
    state_.HugePapx = -1;
    ByteReader r(file_.Data.Bytes());
    uint16_t size = 0;
    std::span<const uint8_t> huge;
    if (!r.Seek(static_cast<size_t>(at)) || !r.U16(size) || !r.Bytes(size, huge)) {
        lostHugePapx_.insert(at);
        return;
    }
    ApplySprms(state_, file_.Stylesheet.Styles, huge);
    state_.HugePapx = -1;
}

void TPropertyResolver::ApplyStored(std::span<const uint8_t> list) {
    if (file_.Word6) {
        Apply(TranslateWord6Sprms(list));
    } else {
        Apply(list);
    }
}

void TPropertyResolver::SetParagraphBase(size_t istd) {
    const auto& styles = file_.Stylesheet.Styles;
    const bool known = istd < styles.size();
    const TStyleEntry& style = known ? styles[istd] : styles[0];
    state_.Pap = style.Pap;
    state_.Pap.Istd = static_cast<uint16_t>(known ? istd : 0);
    state_.Chp = style.Chp;
    state_.ParaStylePap = state_.Pap;
    state_.ParaStyleChp = state_.Chp;
}

// The style index and property list of the run's PapxInFkp; false when the run has none.
bool TPropertyResolver::PapxList(const TFkpRun& run, uint16_t& istd,
                                 std::span<const uint8_t>& list) const {
    istd = 0;
    const size_t bxSize = file_.Word6 ? kWord6BxPapSize : kBxPapSize;
    const size_t entry = (static_cast<size_t>(run.Crun) + 1) * 4 + bxSize * run.Index;
    const size_t b = PageByte(run, entry);
    if (b == 0 || 2 * b > 510) return false;
    // PapxInFkp: a count of 16-bit words (or 0 and the count in the next byte), then the style
    // index and the property list. Word 6 counts the words of both, without the escape.
    ByteReader r(run.Page);
    r.Seek(2 * b);
    uint8_t cw = 0;
    r.U8(cw);
    int64_t length = 2 * static_cast<int64_t>(cw) - (file_.Word6 ? 2 : 3);
    if (cw == 0 && !file_.Word6) {
        r.U8(cw);
        length = 2 * static_cast<int64_t>(cw) - 2;
    }
    r.U16(istd);
    if (length > 0) r.Bytes(static_cast<size_t>(length), list);
    return true;
}

void TPropertyResolver::ApplyParagraphRun(const TFkpRun& run) {
    uint16_t istd = 0;
    std::span<const uint8_t> list;
    if (!PapxList(run, istd, list)) {
        SetParagraphBase(0);
        return;
    }
    SetParagraphBase(istd);
    if (!list.empty()) ApplyStored(list);
    // A list paragraph takes its level's paragraph properties (the indents, mostly) beneath its
    // own: the style, then the level, then the paragraph's list once more.
    if (state_.Pap.Ilfo == 0) return;
    const TListLevel* level = file_.Lists.LevelOf(state_.Pap.Ilfo, state_.Pap.Ilvl);
    if (!level) return;
    SetParagraphBase(istd);
    Apply(WithWord97Indents(level->Papx));
    Apply(WithWord97Indents(list));
}

void TPropertyResolver::ApplyCharacterRun(const TFkpRun& run) {
    const size_t b = PageByte(run, (static_cast<size_t>(run.Crun) + 1) * 4 + run.Index);
    if (b == 0 || 2 * b > 510) return;
    // Chpx: a byte count, then the property list.
    ByteReader r(run.Page);
    r.Seek(2 * b);
    uint8_t cb = 0;
    r.U8(cb);
    std::span<const uint8_t> list;
    if (r.Bytes(cb, list)) ApplyStored(list);
}

void TPropertyResolver::Update(uint64_t fc, uint64_t paragraphFc) {
    const int32_t paraRun = file_.PapxBins.FindRun(paragraphFc);
    const int32_t charRun = file_.ChpxBins.FindRun(fc);
    const int32_t pieceList = file_.PieceProperties.Empty() ? -1 : file_.PieceProperties.Find(fc);
    if (cached_ && paraRun == lastParaRun_ && charRun == lastCharRun_ &&
        pieceList == lastPieceList_)
        return;
    if (paraRun >= 0) ApplyParagraphRun(file_.PapxBins.Run(paraRun));
    if (charRun >= 0) ApplyCharacterRun(file_.ChpxBins.Run(charRun));
    if (pieceList >= 0) Apply(file_.PieceProperties.List(pieceList));
    lastParaRun_ = paraRun;
    lastCharRun_ = charRun;
    lastPieceList_ = pieceList;
    // Without a paragraph run nothing resets the CHP, so a character list (a toggle, say) acts
    // again on every character, as it would without the cache.
    cached_ = paraRun >= 0 || charRun < 0;
    ++version_;
}

bool TPropertyResolver::ApplySection(int64_t cp) {
    state_.Sep = TSep{};
    cached_ = false;
    ++version_;
    const int32_t i = file_.Sections.Find(cp);
    if (i < 0) return false;
    const Plc<TSectionDescriptor>& sections = file_.Sections.Sections();
    const uint32_t fcSepx = sections.Records[i].FcSepx;
    if (fcSepx != 0xFFFFFFFF) {
        ByteReader r(file_.Main.Bytes());
        uint16_t size = 0;
        if (r.Seek(fcSepx) && r.U16(size)) {
            std::span<const uint8_t> list;
            r.Bytes(std::min<size_t>(size, r.Remaining()), list);
            ApplyStored(list);
        }
    }
    return cp == sections.Positions[i];
}

void TPropertyResolver::EndRow() {
    state_.Row.Forget();
    cached_ = false;
}

uint64_t TPropertyResolver::ParagraphRunEnd() const {
    return lastParaRun_ < 0 ? 0 : file_.PapxBins.Run(lastParaRun_).End;
}

}  // namespace qm
