#include "word/story_reader.h"

#include <algorithm>

#include "base/cp1252.h"
#include "base/notices.h"
#include "cfb/compound_file.h"

namespace qm {

namespace {

// The control codes of a story's text.
constexpr char32_t kPictureAnchor = 1;
constexpr char32_t kCellMark = 7;
constexpr char32_t kTab = 9;
constexpr char32_t kLineBreak = 11;
constexpr char32_t kPageBreak = 12;  // also the section mark
constexpr char32_t kParagraphEnd = 13;
constexpr char32_t kFieldBegin = 19;
constexpr char32_t kFieldSeparator = 20;
constexpr char32_t kFieldEnd = 21;
constexpr char32_t kNonBreakingHyphen = 30;
constexpr char32_t kOptionalHyphen = 31;

// ReadUnit's fault when no piece holds the CP (not a stream fault: reading just stops).
constexpr int32_t kNoPiece = -1;

bool HighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool LowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Progress through a story in percent, reported only when the value changes.
class TStoryProgress {
  public:
    TStoryProgress(TProgressSink* sink, int64_t first, int64_t last)
        : sink_(sink), first_(first), span_(last - first) {}

    void Report(int64_t cp) {
        if (!sink_ || span_ <= 0 || cp < next_) return;
        const int64_t percent = std::min<int64_t>(100 * (cp - first_) / span_, 100);
        sink_->SetProStatus(static_cast<int>(percent));
        // The first CP at which the percentage grows again.
        next_ = first_ + ((percent + 1) * span_ + 99) / 100;
    }

  private:
    TProgressSink* sink_;
    int64_t first_;
    int64_t span_;
    int64_t next_ = 0;
};

}  // namespace

TStoryReader::TStoryReader(const TWordFile& file, TPropertyResolver& resolver, TModelWriter& writer,
                           TPictureReader& pictures, TProgressSink* progress, uint64_t charBudget)
    : file_(file),
      resolver_(resolver),
      writer_(writer),
      pictures_(pictures),
      progress_(progress),
      budget_(charBudget),
      budgetAtStart_(charBudget) {}

// The code at cp: a 16-bit unit as it is (units below 32 are control codes), an 8-bit character
// through Windows-1252 (in a Word 6 document the byte itself, which InCodePage converts once
// its font is known). False when no piece holds cp or its bytes lie outside the stream.
bool TStoryReader::ReadUnit(int64_t cp, char32_t& code, TTextPos& pos, int32_t& fault) const {
    if (file_.Pieces.Count() == 0) {
        pos.Fc = static_cast<uint64_t>(file_.Fib.FcMin) + static_cast<uint64_t>(cp);
    } else if (!file_.Pieces.Map(cp, pos)) {
        fault = kNoPiece;
        return false;
    }
    const std::span<const uint8_t> stream = file_.Main.Bytes();
    if (pos.Fc > stream.size()) {
        fault = kCfbSeekFault;
        return false;
    }
    const size_t width = pos.Wide ? 2 : 1;
    if (width > stream.size() - pos.Fc) {
        fault = kCfbReadFault;
        return false;
    }
    if (pos.Wide) {
        code = static_cast<char32_t>(stream[pos.Fc] | (stream[pos.Fc + 1] << 8));
    } else {
        code = file_.Word6 ? stream[pos.Fc] : Cp1252ToUnicode(stream[pos.Fc]);
    }
    return true;
}

bool TStoryReader::FetchUnit(int64_t cp, char32_t& code) {
    TTextPos pos;
    int32_t fault = 0;
    const bool read = ReadUnit(cp, code, pos, fault);
    if (fault == kNoPiece) return false;
    fc_ = pos.Fc;
    wide_ = pos.Wide;
    if (fault != 0) stopped_ = fault;
    return read;
}

// Where the mark that ends the paragraph of the character just read lies. A paragraph's
// properties belong to its mark: in a document saved fast, the paragraph's text may lie in
// pieces whose property runs belong to other paragraphs. The mark is a paragraph or cell mark,
// or the section mark that ends a section; each CP is looked at once, as the marks are found in
// order. Without a mark up to the story's end, each character's own place stands in for it.
uint64_t TStoryReader::ParagraphMarkFc() {
    const int64_t cp = cp_ - 1;
    if (cp > markCp_) {
        markFound_ = false;
        markCp_ = last_;
        for (int64_t at = cp; at <= last_; ++at) {
            char32_t code = 0;
            TTextPos pos;
            int32_t fault = 0;
            if (!ReadUnit(at, code, pos, fault)) break;
            const bool sectionMark = code == kPageBreak && resolver_.SectionStartsAt(at + 1);
            if (code == kParagraphEnd || code == kCellMark || sectionMark) {
                markCp_ = at;
                markFc_ = pos.Fc;
                markFound_ = true;
                break;
            }
        }
    }
    return markFound_ ? markFc_ : fc_;
}

// Reads the character at cp_, which costs one CP of the budget.
bool TStoryReader::Fetch(char32_t& code) {
    if (budget_ == 0) {
        stopped_ = kCharBudgetSpent;
        return false;
    }
    --budget_;
    return FetchUnit(cp_, code);
}

// A character beyond the 16-bit range is stored as two units, a high and a low surrogate; both
// CPs make the one character, whose properties are those of the first.
void TStoryReader::JoinSurrogates(int64_t last, char32_t& code) {
    if (!wide_ || !HighSurrogate(code) || cp_ > last || budget_ == 0) return;
    const uint64_t fc = fc_;
    char32_t low = 0;
    const int32_t stopped = stopped_;
    if (FetchUnit(cp_, low) && wide_ && LowSurrogate(low)) {
        --budget_;
        ++cp_;
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    // The first unit stays the character: its place, and a fault at the next one is found
    // when that one is read.
    fc_ = fc;
    wide_ = true;
    stopped_ = stopped;
}

void TStoryReader::Read(const TCpRange& story) {
    cp_ = story.First;
    last_ = story.Last;
    markCp_ = -1;
    markFound_ = false;
    fields_.Clear();
    main_ = story.First == 0 && file_.Fib.CcpText > 0;
    nextBookmark_ = 0;
    paragraphChecked_ = false;
    writer_.Marks().SetLink(-1);
    writer_.Marks().EndHeading();
    resolver_.StartStory();
    writer_.StartStory();
    TStoryProgress progress(progress_, story.First, story.Last);
    while (stopped_ == 0 && cp_ <= story.Last) {
        char32_t code = 0;
        if (!Fetch(code)) break;
        if (main_) MarkBookmarks(cp_);
        cp_ += 1;
        JoinSurrogates(story.Last, code);
        Handle(code);
        progress.Report(cp_);
    }
    if (progress_) progress_->SetProStatus(0);
}

void TStoryReader::Handle(char32_t code) {
    if (code == kFieldBegin) fields_.Begin();
    if (code == kFieldSeparator && fields_.Separate()) LinkFieldResult();
    if (code == kFieldEnd) fields_.End();
    if (code == kFieldBegin || code == kFieldSeparator || code == kFieldEnd)
        writer_.Marks().SetLink(fields_.Link());
    // A section mark: the section after it starts at cp_.
    if (code == kPageBreak && resolver_.SectionStartsAt(cp_)) {
        resolver_.ApplySection(cp_);
        if (resolver_.Sep().Bkc == 0) return;  // a continuous section break ends no line
    }
    if (code == kLineBreak || code == kPageBreak || code == kParagraphEnd) {
        HandleBreak(code);
    } else if (code == kPictureAnchor && file_.HasData) {
        resolver_.Update(fc_, ParagraphMarkFc());
        if (resolver_.Chp().FSpec && !resolver_.Chp().FVanish) ShowPictures();
    } else if (code == kCellMark) {
        HandleCellMark();
    } else if (code == kTab || (code >= kNonBreakingHyphen && !fields_.InCode())) {
        // Quirk: a tab shows even inside a field's code.
        // An optional hyphen is kept as a soft hyphen: shown only where a line breaks at it.
        if (code == kNonBreakingHyphen) code = '-';
        if (code == kOptionalHyphen) code = kSoftHyphen;
        resolver_.Update(fc_, ParagraphMarkFc());
        if (file_.Word6 && !wide_) code = InCodePage(code);
        // Hidden text and the hidden part of a field are not shown.
        if (!resolver_.Chp().FldVanish && !resolver_.Chp().FVanish) ShowText(code);
    } else if (fields_.InCode() && code >= 32) {
        fields_.AddCode(code);
    }
    // Every other control code is dropped, and so is the text of a field's code.
}

void TStoryReader::HandleBreak(char32_t code) {
    resolver_.Update(fc_, ParagraphMarkFc());
    if (code == kParagraphEnd) EndParagraphMarks();
    if (resolver_.Pap().FInTable) {
        writer_.KeepTableMark(code);
        return;
    }
    if (code == kParagraphEnd) {
        writer_.EndEmptyParagraph(resolver_.Format());
        writer_.EndListParagraph(resolver_.Format());
    }
    writer_.EndLine(code == kParagraphEnd ? TLineEnd::Paragraph
                    : code == kLineBreak  ? TLineEnd::LineBreak
                                          : TLineEnd::PageBreak);
}

void TStoryReader::HandleCellMark() {
    resolver_.Update(fc_, ParagraphMarkFc());
    EndParagraphMarks();
    // A cell mark outside a table (a file whose paragraph properties do not fit its text)
    // ends the paragraph, so that what stands on either side of it stays apart.
    if (resolver_.Pap().FInTable != 1) {
        HandleBreak(kParagraphEnd);
        return;
    }
    if (resolver_.Pap().FTtp == 1) {
        writer_.EndRow(resolver_.Row(), resolver_.Sep());
        resolver_.EndRow();
    } else {
        writer_.EndCell(resolver_.Row());
    }
}

void TStoryReader::ShowPictures() {
    CheckHeading();
    for (const TDecodedPicture& picture : pictures_.At(resolver_.Chp().FcPic)) {
        if (writer_.AppendPicture(picture, resolver_.Format()) == TPictureAdded::ListFull)
            pictures_.CountListFull();
    }
}

// The characters the paragraph's text will still bring, counted from its run of paragraph
// properties; 0 when unknown.
size_t TStoryReader::CharsLeftInParagraph() const {
    const uint64_t end = resolver_.ParagraphRunEnd();
    if (end <= fc_) return 0;
    return static_cast<size_t>((end - fc_) / (wide_ ? 2 : 1));
}

// A byte of Word 6 text as the character of its font's code page, or of the document's.
char32_t TStoryReader::InCodePage(char32_t byte) {
    const uint16_t font = resolver_.Chp().FtcAscii;
    uint16_t codePage = font < file_.FontCodePages.size() ? file_.FontCodePages[font] : 0;
    if (codePage == 0) codePage = file_.CodePage;
    return codePages_.Decode(static_cast<uint8_t>(byte), codePage);
}

void TStoryReader::ShowText(char32_t code) {
    CheckHeading();
    writer_.ExpectChars(CharsLeftInParagraph());
    writer_.AppendChar(code, resolver_.Format());
}

}  // namespace qm
