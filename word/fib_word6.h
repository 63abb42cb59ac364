// The file information block of Word 6 and Word 95 documents: the same start as Word 97's
// (identification word, version, flags, fcMin), then one fixed run of story lengths and
// position/length pairs. All the tables it names lie in the "WordDocument" stream itself.
#pragma once

#include <cstdint>
#include <span>

#include "base/result.h"
#include "word/fib.h"

namespace qm {

// The identification words of the older header: Word 6 and Word 95 write 0xA5DC; some Word 95
// builds for East Asian systems write 0xA699 with the same layout.
inline constexpr uint16_t kWord6Ident = 0xA5DC;
inline constexpr uint16_t kWord6AsianIdent = 0xA699;
// Word 6 writes nFib 101, Word 95 104; 102 to 105 occur in their builds and updates.
inline constexpr uint16_t kFirstWord6Fib = 101;
inline constexpr uint16_t kLastWord6Fib = 105;
// The part of the older FIB the reader uses ends with its text box tables.
inline constexpr size_t kWord6FibSize = 0x23A;

// What the older FIB says beyond the fields TFib shares with Word 97.
struct TWord6Header {
    uint16_t Lid = 0;   // the language the document was written in (its Windows code page)
    uint16_t Chse = 0;  // the character set of its text: 0 Windows, 256 Macintosh
    uint32_t LcbSttbfffn = 0;
    uint32_t LcbDop = 0;
    // The bin tables may name fewer pages than the document has; the missing ones follow the
    // last named page in order, up to these counts (pnChpFirst and cpnBteChp, for paragraphs
    // pnPapFirst and cpnBtePap).
    uint16_t PnChpFirst = 0;
    uint16_t CpnBteChp = 0;
    uint16_t PnPapFirst = 0;
    uint16_t CpnBtePap = 0;

    // fComplex: the text is in pieces (the last save was a fast save).
    bool Complex = false;
};

// Whether the main stream starts with the older header (identification and version).
bool IsWord6Fib(std::span<const uint8_t> mainStream);

// Reads the older FIB into the Word 97 record, the rest into header. Refuses a stream too short
// for it (Damaged) and an encrypted document (Encrypted).
Result<TFib> ReadWord6Fib(std::span<const uint8_t> mainStream, TWord6Header& header);

}  // namespace qm
