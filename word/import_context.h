// The state one import shares between its steps (OpenWordFile): the streams, the tables read
// from them, the properties in force and the reading position. It lives for one call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "word/bin_table.h"
#include "cfb/compound_file.h"
#include "word/fib.h"
#include "word/picture_import.h"
#include "word/piece_table.h"
#include "word/plc.h"
#include "word/table_rows.h"
#include "word/word_properties.h"
#include "model/document.h"
#include "model/sinks.h"

namespace qm {

// One section of the section table: where its property list lies in the main stream.
struct TSectionDescriptor {
    uint32_t FcSepx = 0xFFFFFFFF;  // 0xFFFFFFFF = none
};

struct WordImportContext {
    WordImportContext(TDocument& doc, TProgressSink* progress, TMessageSink* messages)
        : Doc(doc), Progress(progress), Messages(messages) {}

    TDocument& Doc;
    TProgressSink* Progress;
    TMessageSink* Messages;

    // --- streams ---
    TCfbStream mainStream;
    TCfbStream tableStream;
    TCfbStream dataStream;
    bool HasDataStream = false;
    // Result of the last stream operation of the text reading (0 = success); the text loop
    // runs only while it is 0.
    int32_t lastResult = 0;

    // --- header and tables ---
    TFib fib;
    TDop dop;
    std::vector<std::string> fontNames;
    TBinTable chpxBins;
    TBinTable papxBins;
    Plc<TSectionDescriptor> sections;
    TIntervalIndex sectionIndex;
    Plc<char> headerStories;  // positions only: the story CPs relative to the header text
    TPieceTable pieces;
    std::vector<TStyleEntry> styles;

    // --- properties in force ---
    TChp Chp;
    TPap Pap;
    TSep Sep;
    TChp ParaStyleChp;  // what the paragraph's style gives; property code 0x2A33 returns to it
    TPap ParaStylePap;

    // --- tables and pictures ---
    TTableRowState Row;
    TPictureState Pictures;
    TParaFormat* ParaFormatTarget = nullptr;  // a table paragraph's format copy, or none

    // --- reading position ---
    int64_t currentCP = 0;
    uint64_t currentFC = 0;
    uint8_t currentChar = 0;
    uint16_t wideChar = 0;
    bool currentWide = false;  // the current character is stored in 16 bits
    bool InFieldCode = false;
    // Characters still allowed in this import: every CP costs one, so that a damaged piece
    // table cannot make the reading run on (see kMaxCharsPerMainByte).
    uint64_t charBudget = 0;
    uint64_t charsRead = 0;

    // --- caches: the properties are a function of the runs that hold the FC ---
    int32_t lastParaRun = -1;
    int32_t lastCharRun = -1;
    bool propsCached = false;
    uint32_t PropsVersion = 0;  // grows whenever the CHP, PAP or SEP may have changed
    uint32_t fontVersion = UINT32_MAX;
    int32_t fontBase = -1;
    int32_t fontResult = 0;
    uint32_t paraVersion = UINT32_MAX;
    int32_t paraField = -1;
    int32_t paraLine = -1;
    const TParaFormat* paraTarget = nullptr;
};

// Reads the tables of the table stream and the property pages of the main stream into ctx
// (fonts, bin tables, sections, header stories, stylesheet, pieces, document properties).
void ReadWordTables(WordImportContext& ctx);

}  // namespace qm
