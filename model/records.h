// The records of the document model: fields (page bodies, headers, footers) hold lines, lines
// hold fixed-size character records that refer to the shared font table and pictures list by
// index. Lengths are millimetres, font sizes points, colours 0x00BBGGRR.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "raster/dib.h"
#include "raster/font.h"
#include "raster/text_shaping.h"

namespace qm {

// A pointer that owns its object and copies it when copied, so that records holding one keep
// value semantics (lines and characters are copied when they move).
template <class T>
class DeepPtr {
  public:
    DeepPtr() = default;
    explicit DeepPtr(T value) : ptr_(std::make_unique<T>(std::move(value))) {}
    DeepPtr(const DeepPtr& other) : ptr_(other.ptr_ ? std::make_unique<T>(*other.ptr_) : nullptr) {}
    DeepPtr(DeepPtr&&) noexcept = default;
    DeepPtr& operator=(const DeepPtr& other) {
        if (this != &other) ptr_ = other.ptr_ ? std::make_unique<T>(*other.ptr_) : nullptr;
        return *this;
    }
    DeepPtr& operator=(DeepPtr&&) noexcept = default;

    explicit operator bool() const { return ptr_ != nullptr; }
    T* get() const { return ptr_.get(); }
    T& operator*() const { return *ptr_; }
    T* operator->() const { return ptr_.get(); }
    void reset() { ptr_.reset(); }

  private:
    std::unique_ptr<T> ptr_;
};

// Millimetres per inch as the program uses it everywhere (not 25.4).
inline constexpr double kMmPerInch = 25.39995;

// Effect bits of TFontRec::Attrib.
inline constexpr uint16_t kAttribUnderline = 1 << 2;
inline constexpr uint16_t kAttribWordUnderline = 1 << 4;
inline constexpr uint16_t kAttribDoubleUnderline = 1 << 5;
inline constexpr uint16_t kAttribShadow = 1 << 6;
inline constexpr uint16_t kAttribSuperscript = 1 << 8;
inline constexpr uint16_t kAttribSubscript = 1 << 9;
inline constexpr uint16_t kAttribSmallCaps = 1 << 10;
inline constexpr uint16_t kAttribAllCaps = 1 << 11;

// At most this many explicit tab stops per paragraph.
inline constexpr int kMaxTabStops = 64;

struct TTabStop {
    double Pos = 0;      // mm from the left text edge
    int32_t Align = 0;   // 0 left, 1 centred, 2 right, 3 decimal
    int32_t Leader = 0;  // 0 none, 1 hyphens, 2 dots, 3 underline

    bool operator==(const TTabStop&) const = default;
};

struct TParaFormat {
    uint8_t Align = 0;  // 0 left, 1 centred, 2 right, 3 justified
    // The paragraph runs right to left: its lines read from the right, its first line is
    // indented from the right and so is a justified paragraph's last line. Align stays where
    // it says on the page (the Word 97 paragraph justification is physical).
    uint8_t RightToLeft = 0;
    // A gap of a fifth of an em is added where East Asian text (Han, kana, Hangul, fullwidth
    // forms) meets a Latin letter (AsianLatinGap) or a digit (AsianDigitGap) on a line.
    uint8_t AsianLatinGap = 1;
    uint8_t AsianDigitGap = 1;
    // The paragraph starts a new page unless it already starts one.
    uint8_t PageBreakBefore = 0;
    // A page break does not fall between the paragraph's lines (KeepTogether) or between it
    // and the next paragraph (KeepWithNext).
    uint8_t KeepTogether = 0;
    uint8_t KeepWithNext = 0;
    // No page starts with the paragraph's last line alone or ends with its first line alone.
    uint8_t WidowControl = 0;
    // The paragraph's style, and whether it keeps no space before or after next to a paragraph
    // of the same style.
    uint16_t Style = 0;
    uint8_t ContextualSpacing = 0;
    // The paragraph's shading behind its lines (0x00BBGGRR), -1 for none.
    int32_t ShadeColor = -1;
    // Its borders, top, left, bottom and right: widths in points (0 for none) and colours.
    std::array<double, 4> BorderWidth{};
    std::array<int32_t, 4> BorderColor{};
    double LineSpacing = 1.0;
    uint8_t LineSpacingRule = 0;  // 0 multiple, 1 at least, 2 exactly
    double SpaceBefore = 0;
    double SpaceAfter = 0;
    double LeftIndent = 0;
    double RightIndent = 0;
    double FirstLineIndent = 0;
    double DefaultTabWidth = 12.5;
    std::vector<TTabStop> Tabs;  // ascending positions, at most kMaxTabStops
    // The first line's label: the gap from the label's start to the text's (the layout sets it
    // for a label the importer gave).
    double ListIndent = 6.3;
    uint8_t ListKind = 0;  // 0 none, 2 numbered by the layout, 3 labelled by the importer
    int32_t ListNumber = 0;
    std::u32string ListLabel;  // ListKind 3: the label's text
    int32_t ListFont = -1;     // its font entry; -1: the first character's
    // An empty paragraph's mark's font entry, which gives the empty line its height; -1: the
    // font of the last character laid out.
    int32_t MarkFont = -1;
    uint8_t ListFollow = 0;  // after the label: 0 a tab, 1 a space, 2 nothing
    uint8_t ListAlign = 0;   // the label at the indent: 0 starts there, 1 centred, 2 ends there
    double ListShift = 0;    // the layout: the label's start from the first line's indent

    int32_t TabCount() const { return static_cast<int32_t>(Tabs.size()); }
    bool operator==(const TParaFormat&) const = default;
};

// Borders (left, top, bottom, right) and shading of a table cell; a default-constructed
// design is the standard one.
struct TCellDesign {
    std::array<double, 4> BorderWidth{0.75, 0.75, 0.75, 0.75};  // points
    std::array<int32_t, 4> BorderColor{};
    std::array<uint8_t, 4> BorderOn{1, 1, 1, 1};
    int32_t ShadeColor = 0xFFFFFF;
    uint8_t ShadeTransparent = 1;

    bool operator==(const TCellDesign&) const = default;
};

void SetStandardCellDesign(TCellDesign& design);

// The optional hyphen: no width inside a line; a line may break after it, and then it shows as a
// hyphen at the line's end.
inline constexpr char32_t kSoftHyphen = 0x00AD;

// What TCharRec::Cluster says of a character that is not the first of a shaped cluster.
inline constexpr int32_t kDrawnAlone = -1;  // drawn glyph by glyph as measured
inline constexpr int32_t kDrawnWithCluster =
    -2;  // drawn by the cluster an earlier character starts

// The glyphs shaping gave a cluster of characters of complex-script text: they are drawn in
// place of the characters, from the face that shaped them at the size of the characters' font.
struct TGlyphCluster {
    TFont Face;                        // the shaping face, at the size the text was measured at
    std::vector<TShapedGlyph> Glyphs;  // left to right, advances and offsets in ems
    std::u32string Text;               // the characters the glyphs stand for, as stored
};

struct TCharRec {
    uint8_t Kind = 0;  // 0 text, 1 inline picture
    // The run is right-to-left text: spaces, punctuation and digits in it read right to left
    // when the line holds right-to-left letters or its paragraph runs right to left.
    uint8_t RightToLeft = 0;
    uint8_t TabLeader = 0;
    char32_t Code =
        0;  // a Unicode code point; 9 tab; 13/14/15 paragraph end, line break, page break in a cell
    uint16_t BildIndex = 0;
    int32_t FontIndex = 0;
    double Width = 0;               // mm
    double Height = 0;              // mm
    DeepPtr<TParaFormat> ParaCopy;  // on a kept paragraph end: the format of the text after it
    // The shaped cluster this character starts (an index into TDocument::GlyphClusters, its
    // Width the cluster's advance), or kDrawnAlone, or kDrawnWithCluster (Width 0).
    int32_t Cluster = kDrawnAlone;
    // The font's external leading in mm: Word's single line spacing adds it above the text of
    // a line, so a line is as high as its tallest Height + Leading.
    float Leading = 0;
    // The link the character belongs to and the place it starts (indexes into TDocument::Links
    // and TDocument::Anchors), -1 for none.
    int32_t Link = -1;
    int32_t Anchor = -1;
};

struct TFontRec {
    int32_t Color = 0;
    double Size = 12.0;  // points
    std::string Name;
    uint8_t Style = 0;  // bit 0 bold, 1 italic, 2 underline present, 3 strikeout
    uint8_t Charset = 1;
    int32_t BackColor = 0xFFFFFF;
    int32_t Color2 = 0x808080;  // shadow colour
    int32_t Color3 = 0x00FFFF;
    uint8_t Transparent = 1;
    uint16_t Attrib = 0;
    // The face's family class from the font table (kFamilyRoman and so on, raster/font.h): what
    // stands in for the face when the machine lacks it. Part of the entry's identity, since two
    // entries of one name but different classes may be drawn with different faces.
    uint8_t FamilyClass = 0;

    bool operator==(const TFontRec&) const = default;
};

struct TLineRec {
    std::vector<TCharRec> Chars;
    int32_t EndKind = 0;  // 0 soft, 1 paragraph end, 2 line break, 3 page break
    uint8_t RowStart = 0;
    uint8_t RowEnd = 0;
    uint8_t InTable = 0;
    int32_t CellsInRow = 1;
    int32_t CellIndex = 0;
    double CellWidth = 0;
    double TableIndent = 0;
    double TableRightGap = 0;
    TCellDesign CellDesign;
    TParaFormat Para;
    int32_t ColumnCount = 0;
    int32_t ColumnSeparator = 0;
    double ColumnSpacing = 12.5;
    double LineHeight = -1;
    // Set by the line breaking: the paragraph's space before above its first line and its space
    // after below its last line (mm); lines inside a paragraph get none. The cells of a table
    // row share the largest.
    double SpaceAbove = 0;
    double SpaceBelow = 0;
    uint8_t Dirty = 0;
    double ColumnX = 0;
    double ColumnYBack = 0;
    double ColumnYForward = 0;
    int32_t ColumnIndex = 0;
    int32_t ColumnsUsed = 0;

    int32_t CharCount() const { return static_cast<int32_t>(Chars.size()); }
};

// Field kinds.
inline constexpr uint8_t kFieldBody = 0;
inline constexpr uint8_t kFieldHeader = 1;
inline constexpr uint8_t kFieldFooter = 2;

struct TFieldRec {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    double MarginLeft = 0;
    double MarginTop = 0;
    double MarginRight = 0;
    double MarginBottom = 0;
    uint8_t PageSel = 0;
    double BorderWidth = 0;  // points
    int32_t BorderColor = 0;
    int32_t BackColor = 0xFFFFFF;
    uint8_t Transparent = 1;
    uint8_t TopFromBottom = 0;
    uint8_t BottomFromBottom = 0;
    uint8_t RightFromRight = 0;
    uint8_t Kind = kFieldBody;
    int32_t PageNo = 0;
    int32_t PrevField = -1;
    int32_t NextField = -1;
    std::vector<TLineRec> Lines;

    int32_t LineCount() const { return static_cast<int32_t>(Lines.size()); }
};

// A pictures-list entry is an image descriptor of the raster layer.
using TBildRec = TDib;

// Bit n (value 1 shl n) of a 16-bit word or a byte.
void SettingOps(uint16_t& word, int bit, bool on);
bool GettingOps(uint16_t word, int bit);
void SettingOpsB(uint8_t& byte, int bit, bool on);
bool GettingOpsB(uint8_t byte, int bit);

// Stores text into a record's owned string slot.
void SetPCharText(std::string& slot, std::string_view text);

// Millimetre and pixel conversions with the program's inch.
inline int32_t MmToPixels(double mm, double dpi) {
    return static_cast<int32_t>(mm / kMmPerInch * dpi);
}
inline double PixelsToMm(double px, double dpi) {
    return px / dpi * kMmPerInch;
}
inline double TwipsToMm(double twips) {
    return twips / 1440.0 * kMmPerInch;
}

}  // namespace qm
