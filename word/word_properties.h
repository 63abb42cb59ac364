// The character, paragraph and section properties in force while a Word document is read.
// Only the members the import uses are kept; the names are those of the file format's Chp, Pap
// and Sep.
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
    bool FBiDi = false;     // right-to-left text: its neutral characters read right to left
    bool FVanish = false;   // hidden text
    uint16_t FtcAscii = 0;  // font number into the font table
    uint16_t Hps = 20;      // size in half points
    uint8_t Iss = 0;        // 1 superscript, 2 subscript
    uint8_t Kul = 0;        // underline kind
    uint8_t Ico = 0;        // colour index
    // A 24-bit colour (COLORREF, 0x00BBGGRR) given after the index: it is the colour then.
    bool HasCv = false;
    uint32_t Cv = 0;
    uint32_t FcPic = 0xFFFFFFFF;
    uint8_t IcoHighlight = 0;
    bool Highlight = false;
    uint16_t Shd = 0;  // bits 0-4 foreground, 5-9 background colour index, 10-15 pattern
    // A 24-bit shading (sprmCShd) given after Shd: its colour then, -1 for none.
    bool HasShdCv = false;
    int32_t ShdCv = -1;

    bool operator==(const TChp&) const = default;
};

// Paragraph properties.
struct TPap {
    uint8_t Jc = 0;  // 0 left, 1 centre, 2 right, 3 justify
    // Jc was given logically (sprmPJc): in a right-to-left paragraph left and right swap.
    uint8_t FJcLogical = 0;
    uint8_t FPageBreakBefore = 0;
    uint8_t FKeep = 0;        // the paragraph's lines stay on one page
    uint8_t FKeepFollow = 0;  // the paragraph stays on the page of the next one
    // No page starts with the paragraph's last line alone or ends with its first alone.
    uint8_t FWidowControl = 1;
    uint8_t FNoLnn = 0;
    uint16_t Istd = 0;  // the paragraph's style
    uint16_t Shd = 0;   // shading (SHD80): bits 0-4 foreground, 5-9 background, 10-15 pattern
    // A 24-bit shading (sprmPShd) given after Shd: its colour then, -1 for none.
    bool HasShdCv = false;
    int32_t ShdCv = -1;
    std::array<uint32_t, 4> Brc{};  // borders (Brc80): top, left, bottom, right
    // A border given as an 8-byte Brc (sprmPBrcTop and the others) brings its 24-bit colour:
    // per side, -1 where the colour index of Brc stands.
    std::array<int32_t, 4> BrcCv{-1, -1, -1, -1};
    // No space before or after between this paragraph and one of the same style.
    uint8_t FContextualSpacing = 0;
    uint16_t Ilfo = 0;   // list reference, 0 = none
    uint8_t Ilvl = 0;    // the list level, 0..8
    uint8_t OutLvl = 9;  // the outline level: 0..8 for headings, 9 body text
    int32_t DxaRight = 0;
    int32_t DxaLeft = 0;
    int32_t DxaLeft1 = 0;
    int16_t DyaLine = 240;
    uint16_t FMultLinespace = 1;
    uint32_t DyaBefore = 0;
    uint32_t DyaAfter = 0;
    uint8_t FInTable = 0;
    uint8_t FTtp = 0;   // table row end
    uint8_t FBiDi = 0;  // the paragraph runs right to left
    // Extra space where East Asian text meets Latin letters (DE) or digits (DN); on unless a
    // style or the paragraph turns it off.
    uint8_t FAutoSpaceDE = 1;
    uint8_t FAutoSpaceDN = 1;
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

// The most cells a row may have to become a table row (TDefTableOperand: itcMac <= 63).
inline constexpr int32_t kMaxRowCells = 64;

// One cell of the current row definition.
// One border of a cell or table: its kind (BRC brcType: 0 none, 0xFF nil, else a line), width in
// eighths of a point and colour.
struct TBorderLine {
    uint8_t Type = 0;
    uint8_t Eighths = 0;
    int32_t Color = 0;
    bool Given = false;  // the file said something of this border (a kind other than 0 or nil)
};

struct TCellDef {
    int32_t Boundary = -1;  // left edge in twips (the right edge of the last cell after it)
    bool Defined = false;   // Boundary was read; -1 twips is a real edge too
    int32_t Shading = 0;    // the 16-bit shading value, 0 = none
    // The cell's own borders from its TC: top, left, bottom, right.
    std::array<TBorderLine, 4> Borders{};
    // The cell's own left and right margins in twips (sprmTCellPadding), -1 where not given.
    int32_t PadLeft = -1;
    int32_t PadRight = -1;
};

// The table row properties in force: the last row definition and the row's alignment. They
// are forgotten at the start of every story and after every row end.
struct TRowDefinition {
    int32_t DefinedCells = 0;  // cells of the last row definition
    std::array<TCellDef, 100> CellDefs{};
    // The row's alignment between the margins (sprmTJc): 0 left, 1 centred, 2 right. A
    // centred or right-aligned row is placed by its width; its first edge does not count.
    int32_t Justification = 0;
    // The table's borders (sprmTTableBorders80 / sprmTTableBorders): top, left, bottom, right,
    // inside horizontal, inside vertical; they stand where a cell gives none of its own.
    std::array<TBorderLine, 6> TableBorders{};
    // The cells' left and right margins in twips where a cell gives none of its own: the
    // default padding (sprmTCellPaddingDefault), else half the gap between cells
    // (sprmTDxaGapHalf); -1 where the row says neither.
    int32_t PadLeft = -1;
    int32_t PadRight = -1;
    int32_t GapHalf = -1;
    // Row definitions whose edges did not fit their operand, ever: each one makes the row being
    // read plain, as if no cell of it had ended yet. Not forgotten with the rest.
    uint32_t Damaged = 0;

    void Forget() {
        const uint32_t damaged = Damaged;
        *this = TRowDefinition{};
        Damaged = damaged;
    }
};

// One style of the stylesheet: the paragraph and character properties it gives, and for a
// character style its raw property list, applied when a run names the style.
struct TStyleEntry {
    bool IsCharStyle = false;
    // The built-in style this one is (sti): 1 to 9 are the headings; 0x0FFE and 0x0FFF a
    // style of the document's own.
    uint16_t Sti = 0x0FFE;
    TPap Pap;
    TChp Chp;
    std::vector<uint8_t> SavedChpx;
};

// Everything a property list may change: the three records in force, what the paragraph's
// style gave (property code 0x2A33 returns to its CHP), and the row definition.
struct TPropertyState {
    TChp Chp;
    TPap Pap;
    TSep Sep;
    TChp ParaStyleChp;
    TPap ParaStylePap;
    TRowDefinition Row;
    // sprmPHugePapx: where in the "Data" stream the paragraph's property list lies (a list too
    // long for its page); -1 when none was named.
    int64_t HugePapx = -1;
};

// The properties a character is written with. Version grows whenever they may have changed,
// so that whoever converts them can keep the last result while it stays the same.
struct TRunFormat {
    const TChp& Chp;
    const TPap& Pap;
    const TSep& Sep;
    uint32_t Version;
};

}  // namespace qm
