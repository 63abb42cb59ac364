// The character, paragraph and section properties in force while a Word document is read.
// Only the members the import uses are kept; the names are those of [MS-DOC] 2.9 (Chp, Pap, Sep).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qm {

// Character properties.
struct TChp {
    bool Bold = false;
    bool Italic = false;
    bool FldVanish = false;  // hidden part of a field
    bool SmallCaps = false;
    bool Caps = false;
    bool FSpec = false;  // special character (picture anchor)
    bool Strike = false;
    bool Shadow = false;
    uint16_t FtcAscii = 0;  // font number into the font table
    uint16_t Hps = 20;      // size in half points
    uint8_t Iss = 0;        // 1 superscript, 2 subscript
    uint8_t Kul = 0;        // underline kind
    uint8_t Ico = 0;        // colour index
    uint32_t FcPic = 0xFFFFFFFF;
    uint8_t IcoHighlight = 0;
    bool Highlight = false;
    uint16_t Shd = 0;  // bits 0-4 foreground, 5-9 background colour index, 10-15 pattern

    bool operator==(const TChp&) const = default;
};

// Paragraph properties.
struct TPap {
    uint8_t Jc = 0;  // 0 left, 1 centre, 2 right, 3 justify
    uint8_t FNoLnn = 0;
    uint16_t Ilfo = 0;  // list reference, 0 = none
    int32_t DxaRight = 0;
    int32_t DxaLeft = 0;
    int32_t DxaLeft1 = 0;
    int16_t DyaLine = 240;
    uint16_t FMultLinespace = 1;
    uint32_t DyaBefore = 0;
    uint32_t DyaAfter = 0;
    uint8_t FInTable = 0;
    uint8_t FTtp = 0;  // table row end
    int16_t ItbdMac = 0;
    std::array<int16_t, 64> RgdxaTab{};  // tab positions, twips
    std::array<uint8_t, 64> Rgtbd{};     // bits 0-2 alignment, bits 3-5 leader

    bool operator==(const TPap&) const = default;
};

// Section properties; the defaults are those of a section without a property list.
struct TSep {
    uint8_t Bkc = 2;  // break kind, 0 = continuous
    uint8_t FTitlePage = 0;
    uint8_t FLBetween = 0;
    uint32_t XaPage = 12240;
    uint32_t YaPage = 15840;
    uint32_t DxaLeft = 1800;
    uint32_t DxaRight = 1800;
    uint32_t DyaTop = 1440;
    uint32_t DyaBottom = 1440;
    uint32_t DyaHdrTop = 720;
    uint32_t DyaHdrBottom = 720;
    uint16_t CcolM1 = 0;
    uint32_t DxaColumns = 720;

    bool operator==(const TSep&) const = default;
};

// One style of the stylesheet: the paragraph and character properties it gives, and for a
// character style its raw property list, applied when a run names the style.
struct TStyleEntry {
    bool IsCharStyle = false;
    TPap Pap;
    TChp Chp;
    std::vector<uint8_t> SavedChpx;
};

}  // namespace qm
