// The story reader's part in links, bookmarks and headings: a linking field's result becomes
// a link, a bookmark's first character and a heading's first character become places.
#include "word/field_links.h"
#include "word/story_reader.h"

namespace qm {

void TStoryReader::LinkFieldResult() {
    if (const std::optional<TFieldTarget> target = FieldTarget(fields_.Code()))
        fields_.SetLink(writer_.Marks().AddLink(*target));
}

// Bookmarks of the main text that start at or before cp start at the next character shown
// (one that starts on a field mark or a hidden character starts where the text shows).
void TStoryReader::MarkBookmarks(int64_t cp) {
    const std::vector<TBookmark>& bookmarks = file_.Bookmarks;
    while (nextBookmark_ < bookmarks.size() && bookmarks[nextBookmark_].Cp <= cp &&
           bookmarks[nextBookmark_].Cp < file_.Fib.CcpText) {
        writer_.Marks().MarkBookmark(bookmarks[nextBookmark_].Name);
        ++nextBookmark_;
    }
}

// The heading level of the paragraph being read: the built-in heading styles give theirs,
// other paragraphs their outline level; 0 for body text.
uint8_t TStoryReader::HeadingLevel() const {
    const TPap& pap = resolver_.Pap();
    const std::vector<TStyleEntry>& styles = file_.Stylesheet.Styles;
    if (pap.Istd < styles.size()) {
        const uint16_t sti = styles[pap.Istd].Sti;
        if (sti >= 1 && sti <= 9) return static_cast<uint8_t>(sti);
    }
    return pap.OutLvl < 9 ? static_cast<uint8_t>(pap.OutLvl + 1) : 0;
}

// At the paragraph's first shown character: a heading starts there.
void TStoryReader::CheckHeading() {
    if (!main_ || paragraphChecked_) return;
    paragraphChecked_ = true;
    if (const uint8_t level = HeadingLevel(); level > 0) writer_.Marks().StartHeading(level);
}

void TStoryReader::EndParagraphMarks() {
    paragraphChecked_ = false;
    writer_.Marks().EndHeading();
}

}  // namespace qm
