// Before lines are broken again, the soft line ends of dirty paragraphs and the continuation
// rows of table cells are joined back into the lines they came from.
#include <algorithm>

#include "model/layout_pass.h"

namespace qm {

namespace {

bool IsWholeRow(const std::vector<TLineRec>& lines, size_t first) {
    const int32_t cells = lines[first].CellsInRow;
    if (lines[first].CellIndex != 0 || static_cast<size_t>(cells) > lines.size() - first) {
        return false;
    }
    for (int32_t r = 1; r < cells; ++r) {
        const TLineRec& cell = lines[first + r];
        if (cell.CellsInRow != cells || cell.CellIndex != r) return false;
    }
    return true;
}

// Where a line of a field was joined into and what separates it from the text before it.
struct TJoinTree {
    explicit TJoinTree(size_t n)
        : FirstChild(n, -1),
          LastChild(n, -1),
          NextSibling(n, -1),
          MarkCode(n, 0),
          Removed(n, 0),
          Count(n, 0) {}

    void Append(int32_t target, int32_t source) {
        if (LastChild[target] < 0) {
            FirstChild[target] = source;
        } else {
            NextSibling[LastChild[target]] = source;
        }
        LastChild[target] = source;
    }

    std::vector<int32_t> FirstChild, LastChild, NextSibling;
    std::vector<uint8_t> MarkCode;  // 13, 14 or 15: a kept end put in front of the joined text
    std::vector<uint8_t> Removed;
    std::vector<int64_t> Count;  // characters the line holds after the joins so far
};

bool ShouldJoin(const TLineRec& upper, const TLineRec& lower) {
    if (lower.RowStart || upper.RowEnd) return false;
    return (upper.EndKind == 0 && upper.Dirty) || (upper.InTable && lower.InTable);
}

TCharRec MakeKeptEnd(TDocument& doc, uint8_t code, const TParaFormat& following) {
    TCharRec mark;
    mark.Code = code;
    mark.FontIndex = doc.GetNewFontIndex(doc.DefaultFontRec());
    if (code == 13 || code == 15) mark.ParaCopy = DeepPtr<TParaFormat>(following);
    return mark;
}

// Collects, in text order, the pieces of the lines joined into `line`.
TJoinedPieces CollectPieces(TDocument& doc, std::vector<TLineRec>& lines, const TJoinTree& tree,
                            int32_t line) {
    TJoinedPieces pieces;
    std::vector<int32_t> stack{tree.FirstChild[line]};
    while (!stack.empty()) {
        const int32_t source = stack.back();
        if (source < 0) {
            stack.pop_back();
            continue;
        }
        stack.back() = tree.NextSibling[source];
        if (tree.MarkCode[source] != 0) {
            pieces.emplace_back(1, MakeKeptEnd(doc, tree.MarkCode[source], lines[source].Para));
        }
        if (!lines[source].Chars.empty()) pieces.push_back(std::move(lines[source].Chars));
        stack.push_back(tree.FirstChild[source]);
    }
    return pieces;
}

}  // namespace

void NormalizeRows(std::vector<TLineRec>& lines) {
    // Table rows are runs of CellsInRow consecutive lines with cell indexes 0, 1, ...; a line
    // that claims to be a cell of anything else is damaged and laid out as a plain line.
    size_t i = 0;
    while (i < lines.size()) {
        TLineRec& line = lines[i];
        if (line.EndKind < 0 || line.EndKind > 3) line.EndKind = 1;
        if (line.CellsInRow > 1 && IsWholeRow(lines, i)) {
            for (int32_t r = 1; r < line.CellsInRow; ++r) {
                TLineRec& cell = lines[i + r];
                if (cell.EndKind < 0 || cell.EndKind > 3) cell.EndKind = 1;
            }
            i += line.CellsInRow;
            continue;
        }
        line.CellsInRow = 1;
        line.CellIndex = 0;
        ++i;
    }
}

namespace {

// The cursor's line and character while the joins are recorded.
struct TJoinCursor {
    bool Here = false;
    int32_t Line = 0;
    int64_t Char = 0;
};

// Runs the joins from the last line up, each into the line (or same cell) above. Lines above
// the current one never move while this happens, so the joins are recorded as a tree over the
// original indexes and no character moves. Returns whether anything was joined.
bool RecordJoins(std::vector<TLineRec>& lines, TJoinTree& tree, TJoinCursor& cursor) {
    const auto n = static_cast<int32_t>(lines.size());
    for (int32_t i = 0; i < n; ++i)
        tree.Count[i] = static_cast<int64_t>(lines[i].Chars.size());
    bool joined = false;
    for (int32_t a = n - 1; a >= 1; --a) {
        const int32_t i = a - lines[a].CellsInRow;
        if (i < 0 || !ShouldJoin(lines[i], lines[a])) continue;
        TLineRec& upper = lines[i];
        if (upper.EndKind != 0) {
            tree.MarkCode[a] = static_cast<uint8_t>(upper.EndKind + 12);
            ++tree.Count[i];
        }
        const int64_t oldCount = tree.Count[i];
        tree.Count[i] += tree.Count[a];
        upper.Dirty = 1;
        upper.EndKind = lines[a].EndKind;
        upper.RowEnd = lines[a].RowEnd;
        tree.Append(i, a);
        tree.Removed[a] = 1;
        if (cursor.Here && cursor.Line == a) {
            cursor.Line = i;
            cursor.Char = std::min(cursor.Char + oldCount, tree.Count[i]);
        }
        joined = true;
    }
    return joined;
}

}  // namespace

std::vector<TJoinedPieces> JoinSoftLines(TDocument& doc, int32_t fieldIndex) {
    std::vector<TLineRec>& lines = doc.Fields[fieldIndex].Lines;
    const auto n = static_cast<int32_t>(lines.size());
    TJoinTree tree(n);
    TJoinCursor cursor{doc.CurField == fieldIndex && doc.CurLine >= 0 && doc.CurLine < n,
                       doc.CurLine, doc.CurChar};
    if (!RecordJoins(lines, tree, cursor)) return {};

    std::vector<TLineRec> kept = TakeLineArray(n);
    std::vector<TJoinedPieces> pieces;
    pieces.reserve(n);
    int32_t cursorLine = cursor.Line;
    for (int32_t i = 0; i < n; ++i) {
        if (tree.Removed[i]) continue;
        pieces.push_back(tree.FirstChild[i] >= 0 ? CollectPieces(doc, lines, tree, i)
                                                 : TJoinedPieces{});
        if (cursor.Here && i == cursor.Line) cursorLine = static_cast<int32_t>(kept.size());
        kept.push_back(std::move(lines[i]));
    }
    if (doc.CurField == fieldIndex && doc.CurLine >= n) {
        doc.CurLine -= n - static_cast<int32_t>(kept.size());  // stays past the last line
    }
    std::swap(lines, kept);
    ReturnLineArray(std::move(kept));
    if (cursor.Here) {
        doc.CurLine = cursorLine;
        doc.CurChar = static_cast<int32_t>(cursor.Char);
    }
    return pieces;
}

}  // namespace qm
