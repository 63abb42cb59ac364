#include "word/sprm_word6.h"

#include <algorithm>
#include <iterator>

#include "base/byte_reader.h"

namespace qm {

namespace {

// The operand's size: fixed, or given by a byte (kVar) or a 16-bit value (kVar16) before it.
constexpr int kVar = -1;
constexpr int kVar16 = -2;

// How an operand becomes the Word 97 one.
enum class TShape : uint8_t {
    Skip,          // not used by the program
    Copy,          // the same bytes (a variable Word 97 code gets its size byte)
    Brc,           // a 16-bit border
    PicLocation,   // a sized 32-bit position
    NoOperand,     // the Word 97 code takes a byte the older one lacks
    TableBorders,  // six 16-bit borders
    DefineRow,     // sprmTDefTable with 10-byte cell descriptors
};

struct TWord6Sprm {
    uint8_t Code;
    int8_t Size;
    uint16_t Word97;
    TShape Shape;
};

// clang-format off
// Every code of Word 6 and Word 95, sorted: its operand size and, where the program uses the
// property, the Word 97 code with the same meaning.
constexpr TWord6Sprm kSprms[] = {
    {0, 0, 0, TShape::Skip},
    {2, 2, 0x4600, TShape::Skip},        // sprmPIstd: the PAPX's own istd decides
    {3, kVar, 0, TShape::Skip},          // sprmPIstdPermute
    {4, 1, 0, TShape::Skip},             // sprmPIncLvl
    {5, 1, 0x2403, TShape::Copy},        // sprmPJc
    {6, 1, 0, TShape::Skip},             // sprmPFSideBySide
    {7, 1, 0x2405, TShape::Copy},        // sprmPFKeep
    {8, 1, 0x2406, TShape::Copy},        // sprmPFKeepFollow
    {9, 1, 0x2407, TShape::Copy},        // sprmPPageBreakBefore
    {10, 1, 0, TShape::Skip},            // sprmPBrcl
    {11, 1, 0, TShape::Skip},            // sprmPBrcp
    {12, kVar, 0, TShape::Skip},         // sprmPAnld
    {13, 1, 0, TShape::Skip},            // sprmPNLvlAnm
    {14, 1, 0x240C, TShape::Copy},       // sprmPFNoLineNumb
    {15, kVar, 0xC60D, TShape::Copy},    // sprmPChgTabsPapx
    {16, 2, 0x840E, TShape::Copy},       // sprmPDxaRight
    {17, 2, 0x840F, TShape::Copy},       // sprmPDxaLeft
    {18, 2, 0x4610, TShape::Copy},       // sprmPNest
    {19, 2, 0x8411, TShape::Copy},       // sprmPDxaLeft1
    {20, 4, 0x6412, TShape::Copy},       // sprmPDyaLine
    {21, 2, 0xA413, TShape::Copy},       // sprmPDyaBefore
    {22, 2, 0xA414, TShape::Copy},       // sprmPDyaAfter
    {23, kVar, 0, TShape::Skip},         // sprmPChgTabs
    {24, 1, 0x2416, TShape::Copy},       // sprmPFInTable
    {25, 1, 0x2417, TShape::Copy},       // sprmPTtp
    {26, 2, 0, TShape::Skip},            // sprmPDxaAbs
    {27, 2, 0, TShape::Skip},            // sprmPDyaAbs
    {28, 2, 0, TShape::Skip},            // sprmPDxaWidth
    {29, 1, 0, TShape::Skip},            // sprmPPc
    {30, 2, 0, TShape::Skip},            // sprmPBrcTop10 .. sprmPBrcBar10
    {31, 2, 0, TShape::Skip},
    {32, 2, 0, TShape::Skip},
    {33, 2, 0, TShape::Skip},
    {34, 2, 0, TShape::Skip},
    {35, 2, 0, TShape::Skip},
    {36, 2, 0, TShape::Skip},            // sprmPFromText10
    {37, 1, 0, TShape::Skip},            // sprmPWr
    {38, 2, 0x6424, TShape::Brc},        // sprmPBrcTop
    {39, 2, 0x6425, TShape::Brc},        // sprmPBrcLeft
    {40, 2, 0x6426, TShape::Brc},        // sprmPBrcBottom
    {41, 2, 0x6427, TShape::Brc},        // sprmPBrcRight
    {42, 2, 0, TShape::Skip},            // sprmPBrcBetween
    {43, 2, 0, TShape::Skip},            // sprmPBrcBar
    {44, 1, 0, TShape::Skip},            // sprmPFNoAutoHyph
    {45, 2, 0, TShape::Skip},            // sprmPWHeightAbs
    {46, 2, 0, TShape::Skip},            // sprmPDcs
    {47, 2, 0x442D, TShape::Copy},       // sprmPShd
    {48, 2, 0, TShape::Skip},            // sprmPDyaFromText
    {49, 2, 0, TShape::Skip},            // sprmPDxaFromText
    {50, 1, 0, TShape::Skip},            // sprmPFLocked
    {51, 1, 0x2431, TShape::Copy},       // sprmPFWidowControl
    {52, kVar, 0, TShape::Skip},         // sprmPRuler
    // The East Asian builds' line-breaking rules.
    {53, 1, 0, TShape::Skip},            // sprmPFKinsoku
    {54, 1, 0, TShape::Skip},            // sprmPFWordWrap
    {55, 1, 0, TShape::Skip},            // sprmPFOverflowPunct
    {56, 1, 0, TShape::Skip},            // sprmPFTopLinePunct
    {57, 1, 0x2437, TShape::Copy},       // sprmPFAutoSpaceDE
    {58, 1, 0x2438, TShape::Copy},       // sprmPFAutoSpaceDN
    {65, 1, 0, TShape::Skip},            // sprmCFStrikeRM
    {66, 1, 0, TShape::Skip},            // sprmCFRMark
    {67, 1, 0x0802, TShape::Copy},       // sprmCFFldVanish
    {68, kVar, 0x6A03, TShape::PicLocation},  // sprmCPicLocation
    {69, 2, 0, TShape::Skip},            // sprmCIbstRMark
    {70, 4, 0, TShape::Skip},            // sprmCDttmRMark
    {71, 1, 0, TShape::Skip},            // sprmCFData
    {72, 2, 0, TShape::Skip},            // sprmCRMReason
    {73, 3, 0, TShape::Skip},            // sprmCChse
    {74, kVar, 0, TShape::Skip},         // sprmCSymbol
    {75, 1, 0, TShape::Skip},            // sprmCFOle2
    {80, 2, 0x4A30, TShape::Copy},       // sprmCIstd
    {81, kVar, 0, TShape::Skip},         // sprmCIstdPermute
    {82, kVar, 0x2A32, TShape::NoOperand},  // sprmCDefault
    {83, 0, 0x2A33, TShape::NoOperand},  // sprmCPlain
    {85, 1, 0x0835, TShape::Copy},       // sprmCFBold
    {86, 1, 0x0836, TShape::Copy},       // sprmCFItalic
    {87, 1, 0x0837, TShape::Copy},       // sprmCFStrike
    {88, 1, 0, TShape::Skip},            // sprmCFOutline
    {89, 1, 0x0839, TShape::Copy},       // sprmCFShadow
    {90, 1, 0x083A, TShape::Copy},       // sprmCFSmallCaps
    {91, 1, 0x083B, TShape::Copy},       // sprmCFCaps
    {92, 1, 0x083C, TShape::Copy},       // sprmCFVanish
    {93, 2, 0x4A4F, TShape::Copy},       // sprmCFtc
    {94, 1, 0x2A3E, TShape::Copy},       // sprmCKul
    {95, 3, 0, TShape::Skip},            // sprmCSizePos
    {96, 2, 0, TShape::Skip},            // sprmCDxaSpace
    {97, 2, 0, TShape::Skip},            // sprmCLid
    {98, 1, 0x2A42, TShape::Copy},       // sprmCIco
    {99, 2, 0x4A43, TShape::Copy},       // sprmCHps
    {100, 1, 0, TShape::Skip},           // sprmCHpsInc
    {101, 2, 0, TShape::Skip},           // sprmCHpsPos
    {102, 1, 0, TShape::Skip},           // sprmCHpsPosAdj
    {103, kVar, 0, TShape::Skip},        // sprmCMajority
    {104, 1, 0x2A48, TShape::Copy},      // sprmCIss
    {105, kVar, 0, TShape::Skip},        // sprmCHpsNew50
    {106, kVar, 0, TShape::Skip},        // sprmCHpsInc1
    {107, 2, 0, TShape::Skip},           // sprmCHpsKern
    {108, kVar, 0, TShape::Skip},        // sprmCMajority50
    {109, 2, 0, TShape::Skip},           // sprmCHpsMul
    {110, 2, 0, TShape::Skip},           // sprmCCondHyhen
    {117, 1, 0x0855, TShape::Copy},      // sprmCFSpec
    {118, 1, 0, TShape::Skip},           // sprmCFObj
    {119, 1, 0, TShape::Skip},           // sprmPicBrcl
    {120, kVar, 0, TShape::Skip},        // sprmPicScale
    {121, 2, 0, TShape::Skip},           // sprmPicBrcTop .. sprmPicBrcRight
    {122, 2, 0, TShape::Skip},
    {123, 2, 0, TShape::Skip},
    {124, 2, 0, TShape::Skip},
    {131, 1, 0, TShape::Skip},           // sprmSScnsPgn
    {132, 1, 0, TShape::Skip},           // sprmSiHeadingPgn
    {133, kVar, 0, TShape::Skip},        // sprmSOlstAnm
    {136, 3, 0, TShape::Skip},           // sprmSDxaColWidth
    {137, 3, 0, TShape::Skip},           // sprmSDxaColSpacing
    {138, 1, 0, TShape::Skip},           // sprmSFEvenlySpaced
    {139, 1, 0, TShape::Skip},           // sprmSFProtected
    {140, 2, 0, TShape::Skip},           // sprmSDmBinFirst
    {141, 2, 0, TShape::Skip},           // sprmSDmBinOther
    {142, 1, 0x3009, TShape::Copy},      // sprmSBkc
    {143, 1, 0x300A, TShape::Copy},      // sprmSFTitlePage
    {144, 2, 0x500B, TShape::Copy},      // sprmSCcolumns
    {145, 2, 0x900C, TShape::Copy},      // sprmSDxaColumns
    {146, 1, 0, TShape::Skip},           // sprmSFAutoPgn
    {147, 1, 0, TShape::Skip},           // sprmSNfcPgn
    {148, 2, 0, TShape::Skip},           // sprmSDyaPgn
    {149, 2, 0, TShape::Skip},           // sprmSDxaPgn
    {150, 1, 0, TShape::Skip},           // sprmSFPgnRestart
    {151, 1, 0, TShape::Skip},           // sprmSFEndnote
    {152, 1, 0, TShape::Skip},           // sprmSLnc
    {153, 1, 0, TShape::Skip},           // sprmSGprfIhdt: read by the header story table
    {154, 2, 0, TShape::Skip},           // sprmSNLnnMod
    {155, 2, 0, TShape::Skip},           // sprmSDxaLnn
    {156, 2, 0xB017, TShape::Copy},      // sprmSDyaHdrTop
    {157, 2, 0xB018, TShape::Copy},      // sprmSDyaHdrBottom
    {158, 1, 0x3019, TShape::Copy},      // sprmSLBetween
    {159, 1, 0, TShape::Skip},           // sprmSVjc
    {160, 2, 0, TShape::Skip},           // sprmSLnnMin
    {161, 2, 0, TShape::Skip},           // sprmSPgnStart
    {162, 1, 0, TShape::Skip},           // sprmSBOrientation
    {163, 1, 0, TShape::Skip},           // sprmSBCustomize
    {164, 2, 0xB01F, TShape::Copy},      // sprmSXaPage
    {165, 2, 0xB020, TShape::Copy},      // sprmSYaPage
    {166, 2, 0xB021, TShape::Copy},      // sprmSDxaLeft
    {167, 2, 0xB022, TShape::Copy},      // sprmSDxaRight
    {168, 2, 0x9023, TShape::Copy},      // sprmSDyaTop
    {169, 2, 0x9024, TShape::Copy},      // sprmSDyaBottom
    {170, 2, 0, TShape::Skip},           // sprmSDzaGutter
    {171, 2, 0, TShape::Skip},           // sprmSDMPaperReq
    {182, 2, 0x5400, TShape::Copy},      // sprmTJc
    {183, 2, 0, TShape::Skip},           // sprmTDxaLeft
    {184, 2, 0, TShape::Skip},           // sprmTDxaGapHalf
    {185, 1, 0, TShape::Skip},           // sprmTFCantSplit
    {186, 1, 0, TShape::Skip},           // sprmTTableHeader
    {187, 12, 0xD605, TShape::TableBorders},  // sprmTTableBorders
    {188, kVar16, 0, TShape::Skip},      // sprmTDefTable10
    {189, 2, 0, TShape::Skip},           // sprmTDyaRowHeight
    {190, kVar16, 0xD608, TShape::DefineRow},  // sprmTDefTable
    {191, kVar, 0xD609, TShape::Copy},   // sprmTDefTableShd
    {192, 4, 0, TShape::Skip},           // sprmTTlp
    {193, 5, 0, TShape::Skip},           // sprmTSetBrc
    {194, 4, 0, TShape::Skip},           // sprmTInsert
    {195, 2, 0, TShape::Skip},           // sprmTDelete
    {196, 4, 0, TShape::Skip},           // sprmTDxaCol
    {197, 2, 0, TShape::Skip},           // sprmTMerge
    {198, 2, 0, TShape::Skip},           // sprmTSplit
    {199, 5, 0, TShape::Skip},           // sprmTSetBrc10
    {200, 4, 0, TShape::Skip},           // sprmTSetShd
};
// clang-format on
static_assert(std::is_sorted(std::begin(kSprms), std::end(kSprms),
                             [](const TWord6Sprm& a, const TWord6Sprm& b) {
                                 return a.Code < b.Code;
                             }));

// Word 6 cell descriptors: flags, then the top, left, bottom and right borders of 16 bits.
constexpr size_t kTc6Size = 10;
constexpr uint16_t kTcMerged = 0x0002;  // fMerged; fFirstMerged (0x0001) starts the group

const TWord6Sprm* FindSprm(uint8_t code) {
    const auto* it = std::lower_bound(std::begin(kSprms), std::end(kSprms), code,
                                      [](const TWord6Sprm& s, uint8_t c) { return s.Code < c; });
    return it != std::end(kSprms) && it->Code == code ? it : nullptr;
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, static_cast<uint16_t>(value));
    Put16(out, static_cast<uint16_t>(value >> 16));
}

uint16_t Get16(std::span<const uint8_t> bytes, size_t at) {
    return at + 1 < bytes.size() ? static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8)) : 0;
}

// The operand of sprm at the reader's position; false when it runs past the list.
bool ReadOperand(ByteReader& r, const TWord6Sprm& sprm, std::span<const uint8_t>& operand) {
    if (sprm.Size >= 0) return r.Bytes(static_cast<size_t>(sprm.Size), operand);
    if (sprm.Size == kVar16) {
        // As in Word 97, this size counts itself plus one.
        uint16_t size = 0;
        return r.U16(size) && r.Bytes(size > 0 ? size - 1u : 0u, operand);
    }
    uint8_t size = 0;
    return r.U8(size) && r.Bytes(size, operand);
}

// Cells merged into the one before them (fMerged) give it their width: the edges between them
// move to the group's right edge, so that the merged cells keep their marks but take no room.
void MergeCells(std::vector<uint8_t>& row, std::span<const uint8_t> operand, size_t cells,
                size_t tcStart) {
    auto edgeAt = [&](size_t k) { return 1 + 2 * k; };
    for (size_t k = cells; k-- > 1;) {
        const size_t tc = tcStart + k * kTc6Size;
        if (tc + 2 > operand.size() || (Get16(operand, tc) & kTcMerged) == 0) continue;
        // Cell k is merged: its left edge takes its right edge's place.
        row[edgeAt(k)] = row[edgeAt(k + 1)];
        row[edgeAt(k) + 1] = row[edgeAt(k + 1) + 1];
    }
}

// sprmTDefTable: the cell count, the edges, then each cell's descriptor grown to a TC80 (flags,
// an unused word, four Brc80). Its 16-bit size counts itself plus one.
void PutDefineRow(std::vector<uint8_t>& out, std::span<const uint8_t> operand) {
    std::vector<uint8_t> row;
    const size_t cells = operand.empty() ? 0 : operand[0];
    const size_t edgesEnd = 1 + 2 * (cells + 1);
    if (edgesEnd > operand.size()) {
        row.assign(operand.begin(), operand.end());
    } else {
        row.assign(operand.begin(), operand.begin() + static_cast<std::ptrdiff_t>(edgesEnd));
        MergeCells(row, operand, cells, edgesEnd);
    }
    for (size_t at = edgesEnd; at + kTc6Size <= operand.size(); at += kTc6Size) {
        Put16(row, Get16(operand, at));
        Put16(row, 0);
        for (size_t side = 0; side < 4; ++side)
            Put32(row, Word6BrcToBrc80(Get16(operand, at + 2 + 2 * side)));
    }
    Put16(out, static_cast<uint16_t>(std::min<size_t>(row.size() + 1, 0xFFFF)));
    row.resize(std::min<size_t>(row.size(), 0xFFFE));
    out.insert(out.end(), row.begin(), row.end());
}

void PutOperand(std::vector<uint8_t>& out, const TWord6Sprm& sprm,
                std::span<const uint8_t> operand) {
    Put16(out, sprm.Word97);
    switch (sprm.Shape) {
        case TShape::Copy:
            // Word 97 codes of variable size (spra 6) carry their size in a byte.
            if ((sprm.Word97 >> 13) == 6) out.push_back(static_cast<uint8_t>(operand.size()));
            out.insert(out.end(), operand.begin(), operand.end());
            break;
        case TShape::Brc:
            Put32(out, Word6BrcToBrc80(Get16(operand, 0)));
            break;
        case TShape::PicLocation:
            Put32(out, static_cast<uint32_t>(Get16(operand, 0)) | (Get16(operand, 2) << 16));
            break;
        case TShape::NoOperand:
            out.push_back(0);
            break;
        case TShape::TableBorders:
            out.push_back(24);
            for (size_t side = 0; side < 6; ++side)
                Put32(out, Word6BrcToBrc80(Get16(operand, 2 * side)));
            break;
        case TShape::DefineRow:
            PutDefineRow(out, operand);
            break;
        case TShape::Skip:
            break;
    }
}

}  // namespace

uint32_t Word6BrcToBrc80(uint16_t brc) {
    const uint32_t width = brc & 0x07;
    uint32_t type = (brc >> 3) & 0x03;
    const uint32_t shadow = (brc >> 5) & 1;
    const uint32_t ico = (brc >> 6) & 0x1F;
    const uint32_t space = (brc >> 11) & 0x1F;
    uint32_t eighths = width * 6;  // 3/4 point each
    // Widths 6 and 7 are the dotted and dashed lines of the thinnest width.
    if (type != 0 && width >= 6) {
        type = width;
        eighths = 6;
    }
    return eighths | (type << 8) | (ico << 16) | ((space | (shadow << 5)) << 24);
}

std::vector<uint8_t> TranslateWord6Sprms(std::span<const uint8_t> list) {
    std::vector<uint8_t> out;
    ByteReader r(list);
    uint8_t code = 0;
    while (r.U8(code)) {
        const TWord6Sprm* sprm = FindSprm(code);
        std::span<const uint8_t> operand;
        if (!sprm || !ReadOperand(r, *sprm, operand)) break;
        if (sprm->Shape != TShape::Skip) PutOperand(out, *sprm, operand);
    }
    return out;
}

bool FindWord6Sprm(std::span<const uint8_t> list, uint8_t code, std::span<const uint8_t>& operand) {
    bool found = false;
    ByteReader r(list);
    uint8_t next = 0;
    while (r.U8(next)) {
        const TWord6Sprm* sprm = FindSprm(next);
        std::span<const uint8_t> bytes;
        if (!sprm || !ReadOperand(r, *sprm, bytes)) break;
        if (next == code) {
            operand = bytes;
            found = true;
        }
    }
    return found;
}

std::vector<uint8_t> Word6PrmList(uint16_t prm) {
    const uint8_t code = static_cast<uint8_t>((prm >> 1) & 0x7F);
    const uint8_t value = static_cast<uint8_t>(prm >> 8);
    const TWord6Sprm* sprm = FindSprm(code);
    // A single modifier carries one operand byte: codes of other sizes cannot be named this way.
    if (!sprm || sprm->Size != 1) return {};
    return TranslateWord6Sprms(std::vector<uint8_t>{code, value});
}

}  // namespace qm
