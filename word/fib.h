// The file information block at the start of the "WordDocument" stream (Fib)
// and the document properties it points to (Dop).
#pragma once

#include <cstdint>
#include <span>

#include "base/result.h"
#include "word/refusals.h"

namespace qm {

// The FIB as far as Word 97 defines it: FibBase, the 16-bit and 32-bit value arrays and the
// 93 position/length pairs of FibRgFcLcb97.
inline constexpr size_t kFibSize = 898;

inline constexpr uint16_t kWordIdent = 0xA5EC;
// nFib of Word 97; Word 6 and Word 95 files carry 101 to 105 and use another layout.
inline constexpr uint16_t kFirstWord97Fib = 193;

struct TFib {
    uint16_t WIdent = 0;
    uint16_t NFib = 0;
    uint16_t Flags = 0;  // the 16-bit flags at 0x0A
    uint32_t FcMin = 0;
    // FibRgLw97: the lengths of the stories, which follow each other in this order.
    uint32_t CcpText = 0;
    uint32_t CcpFtn = 0;
    uint32_t CcpHdd = 0;
    uint32_t CcpMcr = 0;
    uint32_t CcpAtn = 0;
    uint32_t CcpEdn = 0;
    uint32_t CcpTxbx = 0;
    uint32_t CcpHdrTxbx = 0;
    uint32_t FcStshf = 0;
    uint32_t LcbStshf = 0;
    // The PLCs that say how many notes, comments and text boxes the stories hold.
    uint32_t FcPlcffndRef = 0;
    uint32_t LcbPlcffndRef = 0;
    uint32_t FcPlcfandRef = 0;
    uint32_t LcbPlcfandRef = 0;
    uint32_t FcPlcfendRef = 0;
    uint32_t LcbPlcfendRef = 0;
    uint32_t FcPlcftxbxTxt = 0;
    uint32_t LcbPlcftxbxTxt = 0;
    uint32_t FcPlcfHdrtxbxTxt = 0;
    uint32_t LcbPlcfHdrtxbxTxt = 0;
    uint32_t FcPlcfsed = 0;
    uint32_t LcbPlcfsed = 0;
    uint32_t FcPlcfhdd = 0;
    uint32_t LcbPlcfhdd = 0;
    uint32_t FcPlcfbteChpx = 0;
    uint32_t LcbPlcfbteChpx = 0;
    uint32_t FcPlcfbtePapx = 0;
    uint32_t LcbPlcfbtePapx = 0;
    uint32_t FcSttbfffn = 0;
    // The bookmarks: their names (SttbfBkmk) and where each starts (PlcfBkf).
    uint32_t FcSttbfBkmk = 0;
    uint32_t LcbSttbfBkmk = 0;
    uint32_t FcPlcfBkf = 0;
    uint32_t LcbPlcfBkf = 0;
    uint32_t FcDop = 0;
    uint32_t FcClx = 0;
    uint32_t LcbClx = 0;
    // The list tables: the lists with their levels, and the overrides paragraphs name.
    uint32_t FcPlfLst = 0;
    uint32_t LcbPlfLst = 0;
    uint32_t FcPlfLfo = 0;
    uint32_t LcbPlfLfo = 0;

    bool Encrypted() const { return (Flags & 0x0100) != 0; }
    // Which table stream holds the tables: "1Table" when set, "0Table" otherwise.
    bool WhichTblStm() const { return (Flags & 0x0200) != 0; }
};

// Reads the FIB from the start of the main stream. Refuses a stream too short for a Word 97
// FIB (Damaged), a foreign identification word or a Word version before Word 97
// (Unsupported) and an encrypted document (Encrypted), each with the program's message.
Result<TFib> ReadFib(std::span<const uint8_t> mainStream);

// The two document properties the import uses.
struct TDop {
    bool FacingPages = false;
    uint16_t DefaultTabTwips = 0;
};

// Reads them at fcDop of the table stream; what lies outside the stream stays 0.
TDop ReadDop(std::span<const uint8_t> tableStream, uint32_t fcDop);

}  // namespace qm
