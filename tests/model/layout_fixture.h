// Models for layout tests, built directly: characters get fixed widths and heights, so the
// tests need no font files except where an empty line takes the height of " " from a font.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

#include "base/cp1252.h"
#include "model/document.h"
#include "model/layout.h"

namespace qm::test {

// A document whose page body has a plain box: `width` mm of text, `height` mm of lines, no
// margins, and no lines yet.
class LayoutDoc {
  public:
    explicit LayoutDoc(double width = 50.0, double height = 30.0) {
        TFieldRec& body = doc.Fields[0];
        body.Left = body.Top = 0;
        body.Right = width;
        body.Bottom = height;
        body.RightFromRight = body.BottomFromBottom = body.TopFromBottom = 0;
        body.MarginLeft = body.MarginTop = body.MarginRight = body.MarginBottom = 0;
        body.Lines.clear();
        plainFont = doc.GetNewFontIndex(doc.DefaultFontRec());
    }

    static TCharRec Char(uint8_t code, double width, double height, int32_t font) {
        TCharRec ch;
        ch.Code = code;
        ch.Width = width;
        ch.Height = height;
        ch.FontIndex = font;
        return ch;
    }

    // Appends a line holding `text` (characters `w` mm wide and `h` mm tall) to a field.
    TLineRec& Add(std::string_view text, int32_t endKind = 1, double w = 2.0, double h = 4.0,
                  int32_t field = 0) {
        TLineRec line;
        line.EndKind = endKind;
        for (char c : text)
            line.Chars.push_back(Char(static_cast<uint8_t>(c), w, h, plainFont));
        doc.Fields[field].Lines.push_back(std::move(line));
        return doc.Fields[field].Lines.back();
    }

    // Appends one imported table row: a line per cell, as the importer leaves them.
    void AddRow(std::initializer_list<std::string_view> cells, double w = 2.0, double h = 4.0) {
        const auto count = static_cast<int32_t>(cells.size());
        int32_t index = 0;
        for (std::string_view text : cells) {
            TLineRec& line = Add(text, 1, w, h);
            line.RowStart = line.RowEnd = line.InTable = 1;
            line.CellsInRow = count;
            line.CellIndex = index++;
            line.CellWidth = 1.0;
        }
    }

    void Layout() { doc.CompleteRefresh(); }

    const std::vector<TLineRec>& Lines(int32_t field = 0) const { return doc.Fields[field].Lines; }
    const TLineRec& Line(int32_t i, int32_t field = 0) const {
        return doc.Fields[field].Lines.at(i);
    }

    // The page bodies in chain order, starting at field 0.
    std::vector<int32_t> Pages() const {
        std::vector<int32_t> pages;
        for (int32_t f = 0; f >= 0 && pages.size() <= doc.Fields.size();
             f = doc.Fields[f].NextField) {
            pages.push_back(f);
        }
        return pages;
    }

    TDocument doc;
    int32_t plainFont = 0;
};

inline std::string TextOf(const TLineRec& line) {
    std::string text;
    for (const TCharRec& ch : line.Chars)
        text += Cp1252Encode(std::u32string(1, ch.Code))[0];
    return text;
}

// Every line's text of a field, "|" between lines.
inline std::string TextsOf(const TFieldRec& field) {
    std::string texts;
    for (const TLineRec& line : field.Lines) {
        if (!texts.empty()) texts += '|';
        texts += TextOf(line);
    }
    return texts;
}

// Everything the layout writes or reads, one line of text per record, for comparing models.
inline std::string DumpModel(const TDocument& doc) {
    std::ostringstream out;
    out.precision(17);
    out << "cursor " << doc.CurField << ' ' << doc.CurLine << ' ' << doc.CurChar << '\n';
    for (const TFieldRec& f : doc.Fields) {
        out << "field " << int(f.Kind) << ' ' << f.PageNo << ' ' << f.PrevField << ' '
            << f.NextField << ' ' << f.Left << ' ' << f.Top << ' ' << f.Right << ' ' << f.Bottom
            << ' ' << f.MarginLeft << ' ' << f.MarginTop << ' ' << int(f.PageSel) << '\n';
        for (const TLineRec& l : f.Lines) {
            const TParaFormat& p = l.Para;
            out << " line " << l.EndKind << int(l.RowStart) << int(l.RowEnd) << int(l.InTable)
                << ' ' << l.CellsInRow << ' ' << l.CellIndex << ' ' << l.LineHeight << ' '
                << int(l.Dirty) << ' ' << l.ColumnX << ' ' << l.ColumnYBack << ' '
                << l.ColumnYForward << ' ' << l.ColumnIndex << ' ' << l.ColumnsUsed << " para "
                << p.SpaceBefore << ' ' << p.SpaceAfter << ' ' << p.ListNumber << ' '
                << p.LeftIndent << ' ' << p.TabCount() << " cell " << l.CellWidth << ' '
                << l.TableIndent << ' ' << l.TableRightGap << '\n';
            out << "  ";
            for (const TCharRec& c : l.Chars) {
                out << int(c.Code) << ':' << c.Width << ':' << c.Height << ':' << int(c.TabLeader)
                    << (c.ParaCopy ? "p" : "") << ' ';
            }
            out << '\n';
        }
    }
    return out.str();
}

}  // namespace qm::test
