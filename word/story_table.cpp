#include "word/story_table.h"

#include "base/byte_reader.h"
#include "base/notices.h"
#include "word/plc.h"

namespace qm {

namespace {

// The records of the PLCs that locate the items: a footnote or endnote reference (FRD) holds
// 2 bytes, a comment reference (ATRDPre10) 30, a text box (FTXBXS) 22.
constexpr size_t kFrdBytes = 2;
constexpr size_t kAtrdBytes = 30;
constexpr size_t kFtxbxsBytes = 22;
constexpr size_t kFtxbxsReusableOffset = 8;

int64_t CountReferences(std::span<const uint8_t> table, uint32_t fc, uint32_t lcb,
                        size_t recordSize) {
    return ReadPlc<char>(table, fc, lcb, recordSize, [](ByteReader&, char&) {}).Count();
}

// Text boxes: entries marked reusable are room kept for new boxes, and so is the last entry
// always; the others are the boxes.
int64_t CountTextBoxes(std::span<const uint8_t> table, uint32_t fc, uint32_t lcb) {
    const Plc<uint16_t> boxes =
        ReadPlc<uint16_t>(table, fc, lcb, kFtxbxsBytes, [](ByteReader& r, uint16_t& reusable) {
            reusable = 1;
            r.Skip(kFtxbxsReusableOffset);
            r.U16(reusable);
        });
    int64_t count = 0;
    for (int32_t i = 0; i + 1 < boxes.Count(); ++i)
        count += boxes.Records[i] == 0 ? 1 : 0;
    return count;
}

struct TUnreadKind {
    TStoryKind Kind;
    const char* Noun;
    const char* Nouns;
    const char* What;
};

constexpr TUnreadKind kUnread[] = {
    {TStoryKind::Footnotes, "footnote", "footnotes", "left out: footnotes are not read."},
    {TStoryKind::Comments, "comment", "comments", "left out: comments are not read."},
    {TStoryKind::Endnotes, "endnote", "endnotes", "left out: endnotes are not read."},
    {TStoryKind::TextBoxes, "text box", "text boxes", "left out: text boxes are not read."},
    {TStoryKind::HeaderTextBoxes, "text box of a header or footer",
     "text boxes of headers and footers", "left out: text boxes are not read."},
};

}  // namespace

TStoryTable::TStoryTable(const TFib& fib, std::span<const uint8_t> tableStream) {
    const uint32_t lengths[kStoryKinds] = {fib.CcpText, fib.CcpFtn, fib.CcpHdd,  fib.CcpMcr,
                                           fib.CcpAtn,  fib.CcpEdn, fib.CcpTxbx, fib.CcpHdrTxbx};
    int64_t next = 0;
    for (size_t i = 0; i < kStoryKinds; ++i) {
        stories_[i].Cps = {next, next + static_cast<int64_t>(lengths[i]) - 1};
        next += lengths[i];
    }
    auto items = [&](TStoryKind kind) -> int64_t& {
        return stories_[static_cast<size_t>(kind)].Items;
    };
    items(TStoryKind::Footnotes) =
        CountReferences(tableStream, fib.FcPlcffndRef, fib.LcbPlcffndRef, kFrdBytes);
    items(TStoryKind::Comments) =
        CountReferences(tableStream, fib.FcPlcfandRef, fib.LcbPlcfandRef, kAtrdBytes);
    items(TStoryKind::Endnotes) =
        CountReferences(tableStream, fib.FcPlcfendRef, fib.LcbPlcfendRef, kFrdBytes);
    items(TStoryKind::TextBoxes) =
        CountTextBoxes(tableStream, fib.FcPlcftxbxTxt, fib.LcbPlcftxbxTxt);
    items(TStoryKind::HeaderTextBoxes) =
        CountTextBoxes(tableStream, fib.FcPlcfHdrtxbxTxt, fib.LcbPlcfHdrtxbxTxt);
}

void TStoryTable::ReportUnread(TNotices& notices) const {
    for (const TUnreadKind& unread : kUnread) {
        const TStory& story = (*this)[unread.Kind];
        if (story.Cps.Empty()) continue;
        // A story with text holds at least one item, whatever its table says.
        const int64_t count = story.Items > 0 ? story.Items : 1;
        notices.Add(TNoticeKind::StorySkipped, unread.Noun, unread.Nouns, unread.What, count);
    }
}

}  // namespace qm
