#include "word/import_context.h"
#include "word/story.h"

namespace qm {

namespace {

// [MS-DOC] 2.8.22 Plcfhdd: stories 0 to 5 are the separators; each section then has six, in
// the order even header, odd header, even footer, odd footer, first header, first footer.
constexpr int32_t kFirstSectionStory = 6;

// (field, slot) in reading order: field 1 first-page header, 2 first-page footer, 3 even-page
// header, 4 even-page footer, 5 odd-page header, 6 odd-page footer.
constexpr int32_t kStoryFields[6][2] = {{3, 0}, {5, 1}, {4, 2}, {6, 3}, {1, 4}, {2, 5}};

void ReadHeaderFooterStory(WordImportContext& ctx, int32_t fieldIndex, int32_t slot) {
    const int32_t k = slot + kFirstSectionStory;
    if (k >= ctx.headerStories.Count()) return;
    TDocument& doc = ctx.Doc;
    // The header and footer fields come with the layout; a model without them gets no text.
    if (fieldIndex >= doc.FieldCount()) return;
    const TFieldRec& field = doc.Fields[fieldIndex];
    doc.CurField = fieldIndex;
    doc.CurLine = field.LineCount() > 0 ? field.LineCount() - 1 : 0;
    doc.CurChar = field.LineCount() > 0 ? field.Lines[doc.CurLine].CharCount() : 0;
    const int64_t base = static_cast<int64_t>(ctx.fib.CcpText) + ctx.fib.CcpFtn;
    const auto& cps = ctx.headerStories.Positions;
    ReadStory(ctx, base + cps[k], base + cps[k + 1] - 1);
}

}  // namespace

void ReadHeaderFooterStories(WordImportContext& ctx) {
    for (const auto& [field, slot] : kStoryFields)
        ReadHeaderFooterStory(ctx, field, slot);
}

}  // namespace qm
