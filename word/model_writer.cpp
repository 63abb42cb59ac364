#include "word/model_writer.h"

#include <algorithm>

#include "word/model_format.h"
#include "word/page_geometry.h"
#include "word/sprm.h"
#include "word/table_rows.h"

namespace qm {

namespace {

// The most characters reserved at once for a line (a damaged run may claim the whole stream).
constexpr size_t kMaxLineReserve = 4096;
constexpr double kMmPerTwip = 25.39995 / 1440;

// The codes a table paragraph keeps for its line and page breaks.
constexpr char32_t kCellLineBreak = 14;
constexpr char32_t kCellPageBreak = 15;
constexpr char32_t kParagraphEnd = 13;

}  // namespace

TModelWriter::TModelWriter(TDocument& doc, std::span<const TFontTableEntry> fonts,
                           uint16_t defaultTabTwips)
    : doc_(doc), fonts_(fonts), defaultTabTwips_(defaultTabTwips), marks_(doc) {}

void TModelWriter::Rewind(TDocument& doc) {
    doc.CurField = doc.CurLine = doc.CurChar = 0;
    // The rows just written hold their widths as the file gives them; the next layout settles
    // them.
    doc.RowsUnsettled = true;
}

void TModelWriter::SetPageGeometry(const TSep& sep, bool facingPages) {
    WritePageGeometry(doc_, sep, facingPages);
}

TFieldRec* TModelWriter::CurrentField() {
    if (doc_.CurField < 0 || doc_.CurField >= doc_.FieldCount()) return nullptr;
    return &doc_.Fields[doc_.CurField];
}

TLineRec* TModelWriter::CurrentLine() {
    TFieldRec* field = CurrentField();
    if (!field || doc_.CurLine < 0 || doc_.CurLine >= field->LineCount()) return nullptr;
    return &field->Lines[doc_.CurLine];
}

void TModelWriter::StartStory() {
    cellCount_ = 0;
    paraTarget_ = nullptr;
}

bool TModelWriter::MoveToEndOf(int32_t fieldIndex) {
    // The header and footer fields come with the layout; a model without them gets no text.
    if (fieldIndex < 0 || fieldIndex >= doc_.FieldCount()) return false;
    const TFieldRec& field = doc_.Fields[fieldIndex];
    doc_.CurField = fieldIndex;
    doc_.CurLine = field.LineCount() > 0 ? field.LineCount() - 1 : 0;
    doc_.CurChar = field.LineCount() > 0 ? field.Lines[doc_.CurLine].CharCount() : 0;
    return true;
}

void TModelWriter::ExpectChars(size_t count) {
    TLineRec* line = CurrentLine();
    if (!line || line->Chars.capacity() != 0) return;
    line->Chars.reserve(std::min(count, kMaxLineReserve));
}

bool TModelWriter::AppendChar(char32_t code, const TRunFormat& format) {
    TCharRec* ch = doc_.NewChar();
    if (!ch) return false;
    ch->Code = code;
    marks_.Apply(*ch);
    WriteParagraphFormat(format);
    // Width and Height stay 0: the layout measures every character it has not measured yet.
    MakeFontEntry(format, *ch);
    doc_.CurChar += 1;
    return true;
}

bool TModelWriter::NewLine(TLineEnd end) {
    TFieldRec* field = CurrentField();
    if (!field) return false;
    if (doc_.CurLine == field->LineCount()) doc_.InsertNewLine(doc_.CurField, doc_.CurLine);
    TLineRec* line = CurrentLine();
    if (!line) return false;
    line->EndKind = static_cast<int32_t>(end);
    doc_.InsertNewLine(doc_.CurField, field->LineCount());
    doc_.CurLine += 1;
    doc_.CurChar = 0;
    // A kept paragraph end's format copy belongs to the line just ended: the new line's text
    // writes its own format, also after table paragraphs that no cell mark closed.
    paraTarget_ = nullptr;
    return true;
}

void TModelWriter::EndLine(TLineEnd end) {
    NewLine(end);
}

void TModelWriter::KeepTableMark(char32_t code) {
    TCharRec* ch = doc_.NewChar();
    if (!ch) return;
    ch->Code = code == 11 ? kCellLineBreak : code == 12 ? kCellPageBreak : kParagraphEnd;
    if (code == kParagraphEnd) {
        const TLineRec& line = doc_.Fields[doc_.CurField].Lines[doc_.CurLine];
        ch->ParaCopy = DeepPtr<TParaFormat>(CellParagraphFormat(line.Para));
        paraTarget_ = ch->ParaCopy.get();
    }
    doc_.CurChar += 1;
}

void TModelWriter::CatchUpDamage(const TRowDefinition& row) {
    if (row.Damaged == damageSeen_) return;
    damageSeen_ = row.Damaged;
    cellCount_ = 0;
}

void TModelWriter::EndCell(const TRowDefinition& row) {
    CatchUpDamage(row);
    if (NewLine(TLineEnd::Paragraph)) cellCount_ += 1;
}

void TModelWriter::EndRow(const TRowDefinition& row, const TSep& sep) {
    CatchUpDamage(row);
    const int32_t n = cellCount_;
    TFieldRec* field = CurrentField();
    // The n lines before the cursor line are the row's cells.
    if (n > 0 && n <= kMaxRowCells && n == row.DefinedCells && field && doc_.CurLine >= n &&
        doc_.CurLine <= field->LineCount()) {
        const TFieldRec& body = doc_.Fields[0];
        const TRowArea area{doc_.PageWidthMM - body.MarginLeft - body.MarginRight, body.MarginLeft,
                            body.MarginRight};
        MakeTableRow(
            std::span<TLineRec>(field->Lines.data() + (doc_.CurLine - n), static_cast<size_t>(n)),
            row, sep, area);
    }
    cellCount_ = 0;
    paraTarget_ = nullptr;
}

TPictureAdded TModelWriter::AppendPicture(const TDecodedPicture& picture,
                                          const TRunFormat& format) {
    if (!picture.Picture.HasImage() || picture.WidthTwips == 0 || picture.HeightTwips == 0)
        return TPictureAdded::Skipped;
    if (doc_.BildCount() >= kMaxPictures) return TPictureAdded::ListFull;
    TCharRec* ch = doc_.NewChar();
    if (ch == nullptr) return TPictureAdded::Skipped;
    doc_.BilderListe.push_back(picture.Picture);
    ch->Kind = 1;
    ch->Code = 1;  // the picture character's own code; pictures are known by their kind
    marks_.Apply(*ch);
    ch->BildIndex = static_cast<uint16_t>(doc_.BildCount() - 1);
    ch->Width = picture.WidthTwips * kMmPerTwip;
    ch->Height = picture.HeightTwips * kMmPerTwip;
    // A paragraph holding only a picture still takes its format (alignment, indents).
    WriteParagraphFormat(format);
    doc_.CurChar += 1;
    return TPictureAdded::Added;
}

void TModelWriter::WriteParagraphFormat(const TRunFormat& format) {
    TLineRec* line = CurrentLine();
    if (!line) return;
    TParaFormat* target = paraTarget_ ? paraTarget_ : &line->Para;
    if (paraVersion_ == format.Version && paraField_ == doc_.CurField &&
        paraLine_ == doc_.CurLine && paraWritten_ == target) {
        return;
    }
    qm::WriteParagraphFormat(format.Pap, defaultTabTwips_, *target);
    WriteListLabel(format, *target);
    WriteColumnSettings(format.Sep, *line);
    paraVersion_ = format.Version;
    paraField_ = doc_.CurField;
    paraLine_ = doc_.CurLine;
    paraWritten_ = target;
}

void TModelWriter::MakeFontEntry(const TRunFormat& format, TCharRec& ch) {
    if (ch.FontIndex < 0 || ch.FontIndex >= doc_.FontCount()) return;
    if (fontVersion_ != format.Version || fontBase_ != ch.FontIndex) {
        fontBase_ = ch.FontIndex;
        fontResult_ =
            doc_.GetNewFontIndex(FontFormat(format.Chp, fonts_, doc_.Fonts[ch.FontIndex]));
        fontVersion_ = format.Version;
    }
    ch.FontIndex = fontResult_;
    ch.RightToLeft = format.Chp.FBiDi ? 1 : 0;
}

void TModelWriter::UseLists(const TListTables& tables) {
    numbering_.emplace(tables);
}

void TModelWriter::EndEmptyParagraph(const TRunFormat& format) {
    TLineRec* line = CurrentLine();
    if (!line || !line->Chars.empty() || paraTarget_) return;
    WriteParagraphFormat(format);
    line->Para.MarkFont =
        doc_.GetNewFontIndex(FontFormat(format.Chp, fonts_, doc_.DefaultFontRec()));
}

void TModelWriter::EndListParagraph(const TRunFormat& format) {
    TLineRec* line = CurrentLine();
    if (!numbering_ || format.Pap.Ilfo == 0 || !line || paraTarget_) return;
    if (line->Chars.empty()) WriteParagraphFormat(format);
    // The label is formatted as the paragraph mark is, not as the text's first run.
    if (line->Para.ListKind != 3 || !label_ || labelTarget_ != &line->Para ||
        labelField_ != doc_.CurField || labelLine_ != doc_.CurLine)
        return;
    labelFont_ = LabelFontEntry(format.Chp, *label_->Level);
    line->Para.ListFont = labelFont_;
}

// A list paragraph is counted once, at its first format; every later writing of its format
// (its text's properties changed) takes the same label again.
void TModelWriter::WriteListLabel(const TRunFormat& format, TParaFormat& para) {
    if (para.ListKind != 2 || !numbering_) return;
    if (labelField_ != doc_.CurField || labelLine_ != doc_.CurLine || labelTarget_ != &para) {
        labelField_ = doc_.CurField;
        labelLine_ = doc_.CurLine;
        labelTarget_ = &para;
        label_ = numbering_->Next(format.Pap.Ilfo, format.Pap.Ilvl);
        if (label_) labelFont_ = LabelFontEntry(format.Chp, *label_->Level);
    }
    if (!label_) return;
    para.ListKind = 3;
    para.ListLabel = label_->Text;
    para.ListFollow = label_->Follow;
    para.ListAlign = label_->Level->Align;
    para.ListFont = labelFont_;
}

// The label's font: the paragraph's text properties changed by the level's character list.
int32_t TModelWriter::LabelFontEntry(const TChp& chp, const TListLevel& level) {
    TPropertyState state;
    state.Chp = chp;
    ApplySprms(state, {}, level.Chpx);
    return doc_.GetNewFontIndex(FontFormat(state.Chp, fonts_, doc_.DefaultFontRec()));
}

}  // namespace qm
