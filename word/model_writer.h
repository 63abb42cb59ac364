// The one writer of an import into the document model: it moves the model's cursor, ends lines,
// inserts characters and pictures, turns cells' lines into table rows and sets the page
// geometry. The cursor's checks (a field and a line under it) are made here once.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/document.h"
#include "word/font_table.h"
#include "word/list_numbering.h"
#include "word/navigation_marks.h"
#include "word/picture_import.h"
#include "word/word_properties.h"

namespace qm {

// How a line ends (TLineRec::EndKind).
enum class TLineEnd : int32_t { Paragraph = 1, LineBreak = 2, PageBreak = 3 };

enum class TPictureAdded { Added, Skipped, ListFull };

class TModelWriter {
  public:
    // fonts give the font entries their face names and family classes; defaultTabTwips is the
    // document's default tab width, 0 for none.
    TModelWriter(TDocument& doc, std::span<const TFontTableEntry> fonts, uint16_t defaultTabTwips);

    // After an import, whether it read anything or not: the cursor returns to the start and the
    // model is marked as freshly imported.
    static void Rewind(TDocument& doc);

    void SetPageGeometry(const TSep& sep, bool facingPages);

    // List paragraphs are numbered from these tables from now on; without them the layout
    // numbers them.
    void UseLists(const TListTables& tables);
    // A paragraph end: a list paragraph that received no text still takes its format and label;
    // the label takes the paragraph mark's character properties.
    void EndListParagraph(const TRunFormat& format);
    // Before a paragraph mark outside tables: an empty paragraph (a line without characters)
    // takes its own format from its mark, as text would have written it.
    void EndEmptyParagraph(const TRunFormat& format);

    // A story starts at the cursor: no row is open, no cell's paragraph format is the target.
    void StartStory();
    // Puts the cursor at the end of field (a header or footer). False when the model has no
    // such field.
    bool MoveToEndOf(int32_t field);

    // The current line is about to receive count characters: room is made for them at once
    // (at most a few thousand) when the line has none yet.
    void ExpectChars(size_t count);
    // Inserts a text character with its font entry at the cursor, writes the paragraph format
    // and column settings into its line, and moves the cursor past it. False when the cursor
    // names no place.
    bool AppendChar(char32_t code, const TRunFormat& format);
    // Ends the current line and moves the cursor to a new line appended to the field.
    void EndLine(TLineEnd end);
    // Codes 11, 12 and 13 inside a table paragraph: kept in the cell's text as 14, 15 and 13; a
    // kept paragraph end carries the format of the text after it.
    void KeepTableMark(char32_t code);
    // A cell mark: the cell's line ends (each cell is one line).
    void EndCell(const TRowDefinition& row);
    // A row end: when as many cells ended as row defines, their lines become the cells of one
    // table row; the row is closed in every case.
    void EndRow(const TRowDefinition& row, const TSep& sep);
    // Appends picture to the pictures list and inserts a picture character of its display size.
    // Skipped for a picture without pixels or without a size; ListFull at kMaxPictures.
    TPictureAdded AppendPicture(const TDecodedPicture& picture, const TRunFormat& format);
    // The links and places the next characters receive.
    TNavigationMarks& Marks() { return marks_; }

  private:
    TFieldRec* CurrentField();
    TLineRec* CurrentLine();
    bool NewLine(TLineEnd end);
    void WriteParagraphFormat(const TRunFormat& format);
    void MakeFontEntry(const TRunFormat& format, TCharRec& ch);
    void WriteListLabel(const TRunFormat& format, TParaFormat& para);
    int32_t LabelFontEntry(const TChp& chp, const TListLevel& level);
    // A row definition that did not fit its operand since the last cell makes the row plain.
    void CatchUpDamage(const TRowDefinition& row);

    TDocument& doc_;
    std::span<const TFontTableEntry> fonts_;
    uint16_t defaultTabTwips_;

    // The row being read.
    int32_t cellCount_ = 0;  // cells ended so far
    uint32_t damageSeen_ = 0;
    TParaFormat* paraTarget_ = nullptr;  // a table paragraph's format copy, or none

    // The last conversions: a font entry and a paragraph format are made again only when the
    // properties changed or the place did.
    uint32_t fontVersion_ = UINT32_MAX;
    int32_t fontBase_ = -1;
    int32_t fontResult_ = 0;
    uint32_t paraVersion_ = UINT32_MAX;
    int32_t paraField_ = -1;
    int32_t paraLine_ = -1;
    const TParaFormat* paraWritten_ = nullptr;

    // The numbering, and the label of the paragraph last numbered (its place).
    std::optional<TListNumbering> numbering_;
    std::optional<TListLabel> label_;
    int32_t labelFont_ = -1;
    int32_t labelField_ = -1;
    int32_t labelLine_ = -1;
    const TParaFormat* labelTarget_ = nullptr;

    TNavigationMarks marks_;
};

}  // namespace qm
