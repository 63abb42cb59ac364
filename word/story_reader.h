// Reading one story (the main text, a header or a footer) character by character: through the
// piece table to the stored characters, asking the property resolver for each one's properties
// and telling the model writer what to insert. Fields are followed on a field stack so that
// only their results are shown.
#pragma once

#include <cstdint>

#include "model/sinks.h"
#include "word/code_pages.h"
#include "word/field_stack.h"
#include "word/model_writer.h"
#include "word/picture_import.h"
#include "word/property_resolver.h"
#include "word/story_table.h"
#include "word/word_file.h"

namespace qm {

// Why the reading stopped for good (later stories are not read either); 0 while it goes on.
// A failing read or seek in the main stream gives its TCfbResult.
inline constexpr int32_t kCharBudgetSpent = 100;

class TStoryReader {
  public:
    // charBudget: the CPs all stories together may read, so that a damaged piece table cannot
    // make the reading run on.
    TStoryReader(const TWordFile& file, TPropertyResolver& resolver, TModelWriter& writer,
                 TPictureReader& pictures, TProgressSink* progress, uint64_t charBudget);

    // Reads the story's CPs at the writer's cursor. The reading stops at a CP that no piece
    // holds, and for good at a failing read or when the budget is spent. Progress goes from 0 to
    // 100 through the story and back to 0 at its end.
    void Read(const TCpRange& story);

    uint64_t CharsRead() const { return budgetAtStart_ - budget_; }
    // Word 6 and Word 95 text: bytes of a code page that have no character, or only one of two
    // bytes (East Asian code pages), shown as '?'.
    int64_t UnconvertedChars() const { return codePages_.Unconverted(); }

  private:
    bool ReadUnit(int64_t cp, char32_t& code, TTextPos& pos, int32_t& fault) const;
    bool FetchUnit(int64_t cp, char32_t& code);
    uint64_t ParagraphMarkFc();
    bool Fetch(char32_t& code);
    void JoinSurrogates(int64_t last, char32_t& code);
    void Handle(char32_t code);
    void HandleBreak(char32_t code);
    void HandleCellMark();
    void ShowPictures();
    void ShowText(char32_t code);
    // Links, bookmarks and headings of the main text (story_links.cpp).
    void LinkFieldResult();
    void MarkBookmarks(int64_t cp);
    void CheckHeading();
    void EndParagraphMarks();
    uint8_t HeadingLevel() const;
    size_t CharsLeftInParagraph() const;
    char32_t InCodePage(char32_t byte);

    const TWordFile& file_;
    TPropertyResolver& resolver_;
    TModelWriter& writer_;
    TPictureReader& pictures_;
    TProgressSink* progress_;
    TFieldStack fields_;
    TCodePageDecoder codePages_;

    bool main_ = false;              // the story read is the main text
    size_t nextBookmark_ = 0;        // the first bookmark not yet placed
    bool paragraphChecked_ = false;  // the paragraph was asked whether it is a heading
    int64_t cp_ = 0;                 // the next CP to read
    int64_t last_ = -1;              // the story's last CP
    // The mark that ends the paragraph being read: its CP (-1 before it is looked for) and FC,
    // or, without a mark up to the story's end, the story's end and no FC (markFound_ false).
    int64_t markCp_ = -1;
    uint64_t markFc_ = 0;
    bool markFound_ = false;
    uint64_t fc_ = 0;    // where the character just read lies
    bool wide_ = false;  // it is stored in 16 bits
    int32_t stopped_ = 0;
    uint64_t budget_ = 0;
    uint64_t budgetAtStart_ = 0;
};

}  // namespace qm
