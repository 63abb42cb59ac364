// Helpers of the Word import tests: recording sinks, importing a built document, and reading
// the model's text back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/cp1252.h"
#include "builder/cfb_writer.h"
#include "builder/word_builder.h"
#include "model/document.h"
#include "model/sinks.h"
#include "word/word_import.h"

namespace qm::testing {

class TRecordingMessages : public TMessageSink {
  public:
    void ShowMessage(std::string_view text, TMessageIcon icon) override {
        Shown.emplace_back(std::string(text), icon);
    }
    std::vector<std::pair<std::string, TMessageIcon>> Shown;
};

class TRecordingProgress : public TProgressSink {
  public:
    void SetProStatus(int percent) override { Values.push_back(percent); }
    std::vector<int> Values;
};

// A model with the six header and footer fields, whether or not the layout made them.
inline void EnsureHeaderFooterFields(TDocument& doc) {
    while (doc.FieldCount() < 7) {
        doc.NewField();
        TFieldRec& field = doc.Fields.back();
        field.Kind = doc.FieldCount() % 2 == 0 ? kFieldHeader : kFieldFooter;
        field.Lines.emplace_back();
        TDocument::InitNewLine(field.Lines, 0);
    }
}

// Imports without the final layout pass, so that the lines are the importer's own.
inline TImportResult Import(TDocument& doc, const TWordBuilder& builder,
                            TMessageSink* messages = nullptr, TProgressSink* progress = nullptr) {
    EnsureHeaderFooterFields(doc);
    return ImportWordBytes(doc, builder.Build(), progress, messages, TImportOptions{false, {}});
}

inline TImportResult ImportStreams(TDocument& doc, const TWordStreams& streams,
                                   TMessageSink* messages = nullptr) {
    EnsureHeaderFooterFields(doc);
    return ImportWordBytes(doc, WriteCompoundFile(streams.RootStreams()), nullptr, messages,
                           TImportOptions{false, {}});
}

// The codes of a line as a string.
inline std::string LineText(const TLineRec& line) {
    std::string text;
    for (const TCharRec& ch : line.Chars)
        text.push_back(Cp1252Encode(std::u32string(1, ch.Code))[0]);
    return text;
}

// A field's lines, each followed by its end: "\n" paragraph, "\v" line break, "\f" page
// break; a soft end adds nothing. The empty last line gives nothing.
inline std::string FieldText(const TDocument& doc, int32_t field) {
    std::string text;
    if (field >= doc.FieldCount()) return text;
    for (const TLineRec& line : doc.Fields[field].Lines) {
        text += LineText(line);
        if (line.EndKind == 1) text += '\n';
        if (line.EndKind == 2) text += '\v';
        if (line.EndKind == 3) text += '\f';
    }
    return text;
}

// The main text of a built document, imported without layout, as FieldText gives it.
inline std::string BodyOf(const TWordBuilder& b) {
    TDocument doc;
    EXPECT_TRUE(Import(doc, b).Converted);
    return FieldText(doc, 0);
}

// The first character of the body with the given code, or null.
inline const TCharRec* FindChar(const TDocument& doc, char code, int32_t field = 0) {
    for (const TLineRec& line : doc.Fields[field].Lines) {
        for (const TCharRec& ch : line.Chars) {
            if (ch.Code == static_cast<uint8_t>(code)) return &ch;
        }
    }
    return nullptr;
}

inline const TFontRec& FontOf(const TDocument& doc, const TCharRec* ch) {
    return doc.Fonts.at(static_cast<size_t>(ch->FontIndex));
}

}  // namespace qm::testing
