#include "builder/long_document.h"

#include <array>
#include <string>

namespace qm {

namespace {

constexpr int32_t kParagraphsPerPage = 7;

constexpr std::array<std::u16string_view, 32> kWords = {
    u"the",     u"document", u"of",       u"a",        u"page",    u"converter",  u"reads",
    u"every",   u"line",     u"and",      u"writes",   u"it",      u"into",       u"PDF",
    u"with",    u"fonts",    u"measured", u"at",       u"printer", u"resolution", u"while",
    u"columns", u"tables",   u"pictures", u"headers",  u"footers", u"keep",       u"their",
    u"place",   u"on",       u"paper",    u"Quillmere"};

// A linear congruential sequence: the same words in the same order on every run.
class TWordSequence {
  public:
    std::u16string_view Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return kWords[(state_ >> 33) % kWords.size()];
    }

  private:
    uint64_t state_ = 42;
};

// One paragraph of about `chars` characters, its runs of plain and emphasised words written to
// the builder; the paragraph mark is not written.
void WriteParagraphText(TWordBuilder& builder, TWordSequence& words, int64_t chars,
                        int64_t& wordCount) {
    std::u16string plain;
    int64_t written = 0;
    while (written < chars) {
        const std::u16string_view word = words.Next();
        ++wordCount;
        const bool bold = wordCount % 11 == 0;
        const bool italic = wordCount % 17 == 0;
        if (bold || italic) {
            builder.Text(plain);
            plain.clear();
            builder.Text(word, bold ? sprm::Bold() : sprm::Italic());
        } else {
            plain += word;
        }
        plain += u' ';
        written += static_cast<int64_t>(word.size()) + 1;
    }
    builder.Text(plain);
}

}  // namespace

TWordBuilder LongTextDocument(int32_t pages) {
    TWordBuilder builder;
    TWordSequence words;
    int64_t wordCount = 0;
    // The page's characters less one paragraph mark per paragraph.
    const int64_t perParagraph = kLongDocumentPageChars / kParagraphsPerPage - 1;
    for (int32_t page = 0; page < pages; ++page) {
        for (int32_t p = 0; p < kParagraphsPerPage; ++p) {
            WriteParagraphText(builder, words, perParagraph, wordCount);
            // A page ends in a page break instead of the paragraph mark.
            const bool pageEnd = p == kParagraphsPerPage - 1 && page + 1 < pages;
            if (pageEnd) {
                builder.Text(u"\f");
            } else {
                builder.Paragraph();
            }
        }
    }
    return builder;
}

}  // namespace qm
