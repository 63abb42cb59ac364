// The page chain: gathering a chain's text into its first page body before the lines are
// broken, and removing the page bodies that pagination left empty.
#include <algorithm>
#include <list>

#include "model/layout_pass.h"

namespace qm {

namespace {

void SanitizeLink(int32_t& link, int32_t self, int32_t count) {
    if (link < 0 || link >= count || link == self) link = -1;
}

}  // namespace

void SanitizeChainLinks(TDocument& doc) {
    const int32_t count = doc.FieldCount();
    for (int32_t i = 0; i < count; ++i) {
        SanitizeLink(doc.Fields[i].PrevField, i, count);
        SanitizeLink(doc.Fields[i].NextField, i, count);
    }
}

void JoinPageChains(TDocument& doc) {
    // Walking backward, every field with a previous field hands its lines (with whatever it
    // received so far) to that field. Handing over whole lists of source fields keeps this
    // linear however long the chain is; the lines move once at the end.
    const int32_t count = doc.FieldCount();
    std::vector<std::list<int32_t>> parts(count);
    bool chained = false;
    for (int32_t i = 0; i < count; ++i)
        parts[i].push_back(i);
    for (int32_t i = count - 1; i >= 0; --i) {
        const int32_t prev = doc.Fields[i].PrevField;
        if (prev < 0) continue;
        parts[prev].splice(parts[prev].end(), parts[i]);
        chained = true;
    }
    if (!chained) return;

    std::vector<std::vector<TLineRec>> own(count);
    for (int32_t i = 0; i < count; ++i)
        own[i] = std::move(doc.Fields[i].Lines);
    const int32_t cursorField = doc.CurField;
    for (int32_t f = 0; f < count; ++f) {
        std::vector<TLineRec>& lines = doc.Fields[f].Lines;
        if (parts[f].size() == 1 && parts[f].front() == f) {
            lines = std::move(own[f]);
            continue;
        }
        size_t total = 0;
        for (int32_t source : parts[f])
            total += own[source].size();
        lines = TakeLineArray(total);
        for (int32_t source : parts[f]) {
            if (source == cursorField) {
                doc.CurField = f;
                doc.CurLine += static_cast<int32_t>(lines.size());
            }
            std::move(own[source].begin(), own[source].end(), std::back_inserter(lines));
        }
    }
}

namespace {

// The field (new index) that holds the cursor after the removal: its own, or for a cursor in a
// removed page the nearest page before it that stays.
int32_t CursorHome(const TDocument& doc, const std::vector<int32_t>& newIndex) {
    const auto count = static_cast<int32_t>(newIndex.size());
    int32_t field = doc.CurField;
    for (int32_t steps = 0; field >= 0 && newIndex[field] < 0 && steps < count; ++steps) {
        field = doc.Fields[field].PrevField;
    }
    return field >= 0 && newIndex[field] >= 0 ? newIndex[field] : 0;
}

void MoveCursorHome(TDocument& doc, int32_t home, bool toEnd) {
    doc.CurField = home;
    if (!toEnd || home >= doc.FieldCount()) return;
    const TFieldRec& page = doc.Fields[home];
    doc.CurLine = std::max(0, page.LineCount() - 1);
    doc.CurChar = page.Lines.empty() ? 0 : page.Lines[doc.CurLine].CharCount();
}

}  // namespace

void DropEmptyPages(TDocument& doc) {
    const int32_t count = doc.FieldCount();
    std::vector<int32_t> newIndex(count, -1);
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        const TFieldRec& field = doc.Fields[i];
        const bool removed =
            field.PrevField >= 0 && field.Kind <= kFieldFooter && field.Lines.empty();
        if (removed) {
            doc.Fields[field.PrevField].NextField = -1;
        } else {
            newIndex[i] = kept++;
        }
    }
    if (kept == count) return;
    const bool cursorInField = doc.CurField >= 0 && doc.CurField < count;
    const bool cursorRemoved = cursorInField && newIndex[doc.CurField] < 0;
    const int32_t home = cursorInField ? CursorHome(doc, newIndex) : 0;

    // A link to a removed field would name whatever moved into its place: it is cleared.
    auto remap = [&](int32_t link) { return link < 0 ? -1 : newIndex[link]; };
    std::vector<TFieldRec> fields;
    fields.reserve(kept);
    for (int32_t i = 0; i < count; ++i) {
        if (newIndex[i] < 0) continue;
        TFieldRec& field = doc.Fields[i];
        field.PrevField = remap(field.PrevField);
        field.NextField = remap(field.NextField);
        fields.push_back(std::move(field));
    }
    doc.Fields = std::move(fields);
    if (cursorInField) MoveCursorHome(doc, home, cursorRemoved);
}

}  // namespace qm
