// Pagination: the lines of a field are stacked from its top; the first line that no longer
// fits (or that follows a page break, or that lands beyond the last text column, or that
// starts a paragraph to begin on a new page) starts the next page body. Headers and footers are
// measured the same way but keep all their lines.
//
// A page body's overflow is not moved into the next page's array (which would move the rest
// of the document once per page): the overflow stays in one buffer, and each page takes its
// lines from the front of what is left.
#include <iterator>
#include <map>
#include <optional>

#include "model/columns.h"
#include "model/layout.h"
#include "model/layout_pass.h"

namespace qm {

namespace {

// For each line of a buffer: where its run of equal column settings ends, and how many lines
// before it have an extent that is negative or not a number.
struct TRunIndex {
    std::vector<size_t> RunEnd;
    std::vector<size_t> BadBefore;

    void Build(const std::vector<TLineRec>& lines) {
        const size_t n = lines.size();
        RunEnd.assign(n, n);
        BadBefore.assign(n + 1, 0);
        for (size_t i = n; i-- > 1;) {
            RunEnd[i - 1] = SameColumnSettings(lines[i - 1], lines[i]) ? RunEnd[i] : i;
        }
        for (size_t i = 0; i < n; ++i) {
            BadBefore[i + 1] = BadBefore[i] + (ColumnExtent(lines[i]) >= 0 ? 0 : 1);
        }
    }
};

struct TFieldSize {
    double Width = 0;   // text width, for the column positions
    double Height = 0;  // available height, margins included
};

void ApplyColumnInfo(TLineRec& line, const TColumnInfo& info, double fieldWidth) {
    const double columnWidth =
        (fieldWidth - (line.ColumnCount - 1) * line.ColumnSpacing) / line.ColumnCount;
    line.ColumnIndex = info.ColumnIndex;
    line.ColumnsUsed = info.ColumnsUsed;
    line.ColumnX = (columnWidth + line.ColumnSpacing) * info.ColumnIndex;
    line.ColumnYBack = info.YBack;
    line.ColumnYForward = info.YForward;
}

// A line whose predecessor ended a paragraph (or a page) is its paragraph's first.
bool StartsParagraph(int32_t endBefore) {
    return endBefore == 1 || endBefore == 3;
}

// The first line of the paragraph holding lines[i] (the page's lines only).
size_t ParagraphStart(std::span<const TLineRec> lines, size_t i) {
    while (i > 0 && !StartsParagraph(lines[i - 1].EndKind))
        --i;
    return i;
}

// Where a page that runs out of room at line `a` ends so that no paragraph kept together is
// split, none kept with the next one is parted from it, and a paragraph with widow control
// leaves no line of its own alone. When that would leave the page empty, or take a table row or
// columns apart, the page ends at `a` after all.
size_t KeptBreak(std::span<const TLineRec> lines, size_t a) {
    size_t start = a;
    const TParaFormat& para = lines[a].Para;
    const size_t first = ParagraphStart(lines, a);
    if (para.KeepTogether) {
        start = first;
    } else if (para.WidowControl && a > first) {
        // The last line does not go alone: the one before it goes with it, and a first line
        // that would then stay alone goes too.
        if (StartsParagraph(lines[a].EndKind)) start = a - 1;
        if (start == first + 1) start = first;
    }
    while (start > 0 && StartsParagraph(lines[start - 1].EndKind) &&
           lines[start - 1].Para.KeepWithNext) {
        start = ParagraphStart(lines, start - 1);
    }
    if (start == 0) return a;
    for (size_t i = start; i <= a; ++i) {
        if (lines[i].InTable || lines[i].ColumnCount > 1) return a;
    }
    return start;
}

// Places the lines of one page (`lines`, starting at `base` in the indexed buffer) and returns
// how many of them stay on it. Every page keeps at least its first line.
size_t PlaceLines(std::span<TLineRec> lines, size_t base, const TRunIndex& index,
                  const TFieldRec& field, const TFieldSize& size) {
    double y = field.MarginTop + field.MarginBottom;
    int32_t endBefore = 1;
    std::optional<TColumnBalance> balance;
    for (size_t a = 0; a < lines.size(); ++a) {
        TLineRec& line = lines[a];
        if (a > 0 && line.Para.PageBreakBefore && StartsParagraph(endBefore)) return a;
        if (line.SpaceAbove > 0) y += line.SpaceAbove;
        bool needBreak = false;
        if (line.ColumnCount > 1) {
            if (a == 0 || !SameColumnSettings(lines[a - 1], line) || !balance) {
                const double runTop = y;
                const size_t end = index.RunEnd[base + a];
                const bool monotone = index.BadBefore[end] == index.BadBefore[base + a];
                balance.emplace(lines.subspan(a, end - base - a), end == index.RunEnd.size(),
                                size.Height - 1.0 - runTop, monotone);
            }
            const TColumnInfo info = balance->Next();
            ApplyColumnInfo(line, info, size.Width);
            y = y - info.YBack + info.YForward;
            needBreak = info.NeedBreak;
        }
        if (line.CellsInRow > 1 && line.CellIndex > 0) {
            y -= line.SpaceAbove;  // the row's cells stand side by side
        } else {
            y += line.LineHeight;
            if (line.SpaceBelow > 0) y += line.SpaceBelow;
        }
        if ((needBreak || endBefore == 3) && a > 0) return a;
        if (y > size.Height && a > 0) {
            // The empty line behind the text's last paragraph mark shows nothing: it never
            // starts a page of its own.
            if (a + 1 == lines.size() && line.Chars.empty() && endBefore == 1) return a + 1;
            return KeptBreak(lines, a);
        }
        endBefore = line.EndKind;
    }
    return lines.size();
}

TFieldSize SizeOf(const TFieldRec& field, const TLayoutPage& page) {
    return {FieldTextWidth(field, page), FieldAvailableHeight(field, page)};
}

// The page body that receives a page's overflow: its chained next page, or a new one.
int32_t NextPageBody(TDocument& doc, int32_t f) {
    const int32_t next = doc.Fields[f].NextField;
    if (next > f && next < doc.FieldCount() && doc.Fields[next].Kind == kFieldBody &&
        doc.Fields[next].PrevField == f) {
        return next;
    }
    doc.NewPage(false);
    const int32_t added = doc.FieldCount() - 1;
    TFieldRec& current = doc.Fields[f];
    std::vector<TLineRec> lines = std::move(current.Lines);
    TFieldRec copy = current;  // geometry, margins and settings, without lines
    current.Lines = std::move(lines);
    copy.PageNo = current.PageNo + 1;
    copy.PrevField = f;
    copy.NextField = -1;
    current.NextField = added;
    doc.Fields[added] = std::move(copy);
    return added;
}

struct TOverflow {
    std::vector<TLineRec> Lines;
    size_t Offset = 0;  // lines before it are placed on earlier pages
    TRunIndex Index;
};

void PaginateBody(TLayoutPass& pass, int32_t f, std::map<int32_t, TOverflow>& overflows) {
    TDocument& doc = pass.Doc;
    TOverflow text;
    if (auto it = overflows.find(f); it != overflows.end()) {
        text = std::move(it->second);
        overflows.erase(it);
        std::vector<TLineRec>& own = doc.Fields[f].Lines;
        if (!own.empty()) {
            // The page's own lines follow the text it receives.
            std::move(own.begin(), own.end(), std::back_inserter(text.Lines));
            own.clear();
            text.Index.Build(text.Lines);
        }
    } else {
        if (doc.Fields[f].Lines.empty()) return;
        text.Lines = std::move(doc.Fields[f].Lines);
        text.Index.Build(text.Lines);
    }

    const std::span<TLineRec> page(text.Lines.data() + text.Offset,
                                   text.Lines.size() - text.Offset);
    size_t kept =
        PlaceLines(page, text.Offset, text.Index, doc.Fields[f], SizeOf(doc.Fields[f], pass.Page));
    if (kept < page.size() && doc.Fields[f].PageNo >= kMaxPages - 1) {
        // No page beyond the last allowed one: the rest of the text stays on this one.
        kept = page.size();
        pass.Limited = true;
    }
    doc.Fields[f].Lines.assign(std::make_move_iterator(page.begin()),
                               std::make_move_iterator(page.begin() + kept));
    text.Offset += kept;
    if (text.Offset >= text.Lines.size()) {
        ReturnLineArray(std::move(text.Lines));
        return;
    }

    const int32_t next = NextPageBody(doc, f);
    if (doc.CurField == f && doc.CurLine >= static_cast<int32_t>(kept)) {
        doc.CurField = next;
        doc.CurLine -= static_cast<int32_t>(kept);
    }
    overflows[next] = std::move(text);
}

}  // namespace

void PaginateFields(TLayoutPass& pass) {
    TDocument& doc = pass.Doc;
    for (int32_t f = 0; f < doc.FieldCount(); ++f) {
        TFieldRec& field = doc.Fields[f];
        if (field.Kind != kFieldHeader && field.Kind != kFieldFooter) continue;
        TRunIndex index;
        index.Build(field.Lines);
        PlaceLines(field.Lines, 0, index, field, SizeOf(field, pass.Page));
    }
    std::map<int32_t, TOverflow> overflows;
    for (int32_t f = 0; f < doc.FieldCount(); ++f) {
        if (doc.Fields[f].Kind == kFieldBody) PaginateBody(pass, f, overflows);
    }
}

}  // namespace qm
