// A Word document as read from its compound file: the streams, the header, the tables that
// locate text and properties, and the stories. A version reader makes it (ReadWord97File,
// which hands Word 6 and Word 95 documents to ReadWord6File);
// everything after only reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cfb/compound_file.h"
#include "word/bin_table.h"
#include "word/bookmarks.h"
#include "word/fib.h"
#include "word/font_table.h"
#include "word/list_tables.h"
#include "word/piece_properties.h"
#include "word/piece_table.h"
#include "word/plc.h"
#include "word/section_table.h"
#include "word/story_table.h"
#include "word/stylesheet.h"
#include "word/word_decryption.h"

namespace qm {

struct TWordFile {
    TWordFile() = default;
    TWordFile(TWordFile&&) = default;
    TWordFile& operator=(TWordFile&&) = default;
    // The property pages look into the main stream's bytes; a copy would look into these.
    TWordFile(const TWordFile&) = delete;
    TWordFile& operator=(const TWordFile&) = delete;

    TCfbStream Main;   // "WordDocument"
    TCfbStream Table;  // "0Table" or "1Table"
    TCfbStream Data;   // "Data": the pictures
    bool HasData = false;
    // Set when the streams above were decrypted with a password.
    std::optional<TWordEncryption> Encryption;

    TFib Fib;
    TDop Dop;
    std::vector<TFontTableEntry> Fonts;  // index = font number
    TBinTable ChpxBins;
    TBinTable PapxBins;
    TSectionTable Sections;
    Plc<char> HeaderStories;  // positions only: the story CPs relative to the header text
    TPieceTable Pieces;
    TStylesheet Stylesheet;
    TStoryTable Stories;
    TListTables Lists;
    std::vector<TBookmark> Bookmarks;  // in order of their CPs

    // What a Word 6 or Word 95 document (ReadWord6File) brings besides: its property lists are
    // in the older codes and page shapes, and its 8-bit text is in the code page of each run's
    // font. A Word 97 document leaves Word6 false.
    bool Word6 = false;
    std::vector<uint16_t> FontCodePages;  // index = font number; 0: the document's code page
    uint16_t CodePage = 1252;             // the code page of the document's language
    TPieceProperties PieceProperties;
};

// Reads a Word 97 to 2003 document; an encrypted one is decrypted with password first (see
// DecryptWordDocument for its refusals). Refuses a file without "WordDocument"
// (NotWordDocument), a header that is not Word 97's (see ReadFib), and a missing table stream
// (Damaged), each with the program's message. A missing "Data" stream is no error: the
// document then has no pictures.
Result<TWordFile> ReadWord97File(const TCompoundFile& root, std::string_view password = {});

// Reads a Word 6 or Word 95 document whose main stream ReadWord97File found
// (word/word6_reader.cpp): all its tables lie in that stream. Refuses an encrypted one (Encrypted)
// and a header too short (Damaged).
Result<TWordFile> ReadWord6File(TCfbStream main);

}  // namespace qm
