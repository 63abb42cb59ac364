// Writes Word 97 documents for tests, benchmarks and the bundled sample: text in runs of
// character properties and paragraphs of paragraph properties (property lists as raw sprm
// bytes, with helpers for common ones), styles, fonts, sections, header and footer stories,
// 8-bit and 16-bit pieces and fields. The result is the three streams ("WordDocument", the
// table stream, "Data") or the whole compound file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "builder/word_protection.h"

namespace qm {

// A property list: sprms as stored .
using TSprms = std::vector<uint8_t>;

TSprms operator+(TSprms a, const TSprms& b);

namespace sprm {

// One sprm with its operand bytes as given (a variable-size operand includes its size byte).
TSprms Raw(uint16_t code, std::vector<uint8_t> operand);
TSprms Op8(uint16_t code, uint8_t value);
TSprms Op16(uint16_t code, uint16_t value);
TSprms Op32(uint16_t code, uint32_t value);

// Character properties. Toggles take 0, 1, 0x80 or 0x81.
TSprms Bold(uint8_t value = 1);
TSprms Italic(uint8_t value = 1);
TSprms Strike(uint8_t value = 1);
TSprms SmallCaps(uint8_t value = 1);
TSprms Caps(uint8_t value = 1);
TSprms Shadow(uint8_t value = 1);
TSprms FieldHidden(uint8_t value = 1);
TSprms Underline(uint8_t kul = 1);
TSprms Color(uint8_t ico);
TSprms ColorRef(uint32_t cv);      // sprmCCv: 0x00BBGGRR, 0xFF000000 automatic
TSprms Hidden(uint8_t value = 1);  // sprmCFVanish
TSprms Highlight(uint8_t ico);
TSprms Shading(uint16_t shd);
TSprms Size(uint16_t hps);
TSprms FontNumber(uint16_t ftc);
TSprms CharStyle(uint16_t istd);
TSprms Position(uint8_t iss);  // 1 superscript, 2 subscript
// Pictures: sprmCPicLocation (where the picture is in the "Data" stream; also sets the
// special-character flag) and sprmCFSpec.
TSprms PicLocation(uint32_t fcPic);
TSprms Special(uint8_t value = 1);

// Paragraph properties (twips).
TSprms Justify(uint8_t jc);
TSprms JustifyLogical(uint8_t jc);  // sprmPJc: start and end sides, not left and right
TSprms PageBreakBefore(uint8_t value = 1);
TSprms KeepTogether(uint8_t value = 1);  // sprmPFKeep
TSprms KeepWithNext(uint8_t value = 1);  // sprmPFKeepFollow
TSprms WidowControl(uint8_t value);      // on unless a paragraph or its style turns it off
TSprms IndentLeft(int16_t twips);
TSprms IndentRight(int16_t twips);
TSprms IndentFirst(int16_t twips);
TSprms SpaceBefore(uint16_t twips);
TSprms SpaceAfter(uint16_t twips);
TSprms LineSpacing(int16_t dyaLine, uint16_t multiple);
TSprms ListRef(uint16_t ilfo);
TSprms ListLevel(uint8_t ilvl);  // sprmPIlvl
TSprms InTable(uint8_t value = 1);
TSprms RightToLeft(uint8_t value = 1);  // sprmPFBiDi
// Extra space between East Asian text and Latin letters (sprmPFAutoSpaceDE) or digits
// (sprmPFAutoSpaceDN); Word's default is on.
TSprms AsianLatinSpace(uint8_t value);
TSprms AsianDigitSpace(uint8_t value);
TSprms OutlineLevel(uint8_t level);  // sprmPOutLvl: 0 to 8 headings, 9 body text
// Tab changes: positions to delete, then (position, descriptor) pairs to add.
TSprms Tabs(const std::vector<int16_t>& remove,
            const std::vector<std::pair<int16_t, uint8_t>>& add);

// Section properties.
TSprms BreakKind(uint8_t bkc);  // 0 continuous, 2 new page
TSprms TitlePage(uint8_t value = 1);
TSprms PageSize(uint16_t xa, uint16_t ya);
TSprms Margins(uint16_t left, uint16_t right, int16_t top, int16_t bottom);
TSprms HeaderDistances(uint16_t top, uint16_t bottom);
TSprms Columns(uint16_t count, uint16_t spacing, uint8_t lineBetween = 0);

// Table rows.
TSprms RowEnd(uint8_t value = 1);  // sprmPFTtp: the paragraph ends a table row
// sprmTDefTable: the cells' edges in twips (one more than there are cells) and an empty cell
// descriptor per cell; its operand size is 16 bits.
TSprms DefineRow(const std::vector<int16_t>& edges, bool borders = true);
// sprmTTableBorders80: the table's six borders (top, left, bottom, right, inside horizontal,
// inside vertical), each a single line of 3/4 point when on.
TSprms TableBorders(const std::array<bool, 6>& on);
// sprmTDefTableShd80: one shading value per cell (foreground, background index, pattern).
TSprms RowShading(const std::vector<uint16_t>& shadings);
// sprmTDxaGapHalf: half the gap between cells, the cells' margin unless padding is given.
TSprms GapHalf(int16_t twips);
// sprmTCellPadding (cells first to limit) and sprmTCellPaddingDefault (every cell): the
// margin in twips of the sides named (1 top, 2 left, 4 bottom, 8 right).
TSprms CellPadding(uint8_t first, uint8_t limit, uint8_t sides, uint16_t twips);
TSprms CellPaddingDefault(uint8_t sides, uint16_t twips);

}  // namespace sprm

struct TWordStyle {
    uint16_t Istd = 0;
    bool Character = false;  // a character style (else a paragraph style)
    uint16_t Base = 0x0FFF;  // the base style, 0x0FFF = none
    std::string Name = "Style";
    TSprms Papx;  // paragraph styles only
    TSprms Chpx;
    // The built-in style it is (sti): 1 to 9 the headings, 0x0FFE a style of the document's.
    uint16_t Sti = 0x0FFE;
};

// A level of a list (LVL): its LVLF's values, property lists and number text (code units 0 to 8
// stand for the levels' numbers).
struct TWordListLevel {
    int32_t StartAt = 1;
    uint8_t Nfc = 0;
    uint8_t Flags = 0;   // bits 0-1 jc, 0x04 fLegal, 0x08 fNoRestart
    uint8_t Follow = 0;  // 0 tab, 1 space, 2 nothing
    uint8_t RestartLim = 0;
    TSprms Papx;
    TSprms Chpx;
    std::u16string Text;
};

// A list (LSTF and its LVLs): one level when simple, else nine (the missing ones default).
struct TWordList {
    int32_t Lsid = 0;
    bool Simple = false;
    std::vector<TWordListLevel> Levels;
};

// An LFOLVL: a start-at value and/or a whole level for one level of the list.
struct TWordLevelOverride {
    uint8_t Level = 0;
    std::optional<int32_t> StartAt;
    std::optional<TWordListLevel> Format;
};

// An LFO, which paragraphs name by its 1-based index (ilfo).
struct TWordListOverride {
    int32_t Lsid = 0;
    std::vector<TWordLevelOverride> Levels;
};

// The PlfLst with the LVLs after it, and the PlfLfo with its LFOData, as stored.
std::vector<uint8_t> ListTableBytes(const std::vector<TWordList>& lists);
std::vector<uint8_t> ListOverrideBytes(const std::vector<TWordListOverride>& overrides);

// The header and footer stories of the first section, in the order of the file.
enum class THeaderStory { EvenHeader, OddHeader, EvenFooter, OddFooter, FirstHeader, FirstFooter };

// The stories of notes, comments and text boxes, in the order of the file.
enum class TNoteStory { Footnotes, Comments, Endnotes, TextBoxes };

struct TWordOptions {
    uint16_t WIdent = 0xA5EC;
    uint16_t NFib = 0x00C1;
    bool Table1 = true;             // fWhichTblStm: the tables go to "1Table" (else "0Table")
    bool DecoyTableStream = false;  // also write the other table stream, filled with garbage
    bool Encrypted = false;  // only the flag: fEncrypted without an encryption header
    TPasswordProtection Protection;
    bool DataStream = true;
    bool HeaderTable = true;  // false: lcbPlcfhdd = 0 even when there are header stories
    bool FacingPages = false;
    uint16_t DefaultTabTwips = 720;
    uint16_t StandardFont = 0;  // the STSHI's font of text that names none
};

struct TWordStreams {
    std::vector<uint8_t> WordDocument;
    std::vector<uint8_t> Table;
    std::vector<uint8_t> Data;
    std::string TableName;
    std::vector<uint8_t> DecoyTable;  // written under the other table name when not empty
    bool HasData = true;
    // Further root streams, such as the encrypted summary stream.
    std::vector<std::pair<std::string, std::vector<uint8_t>>> Extra;

    // The root streams for WriteCompoundFile.
    std::vector<std::pair<std::string, std::vector<uint8_t>>> RootStreams() const;
};

// Little-endian patches, for tests that damage a document.
void PutU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value);
void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);

class TWordBuilder {
  public:
    TWordBuilder();

    TWordOptions& Options() { return options_; }
    // Fonts in number order; without any, font 0 is "Times New Roman".
    TWordBuilder& Font(std::string name);
    // A font with its FFID (pitch in bits 0-1, family in bits 4-6: 0x12 a variable-pitch roman
    // face, 0x22 a swiss one, 0x31 a fixed-pitch modern one); the others write 0.
    TWordBuilder& Font(std::string name, uint8_t ffid);
    // A font with an alternative name (the FFN's ixchSzAlt), as Word writes East Asian ones.
    TWordBuilder& Font(std::u16string name, std::u16string alt);
    TWordBuilder& Style(TWordStyle style);
    // The list tables, written last into the table stream (so that cutting the stream cuts
    // them); an override's ilfo is its place in the order they were added, from 1.
    TWordBuilder& List(TWordList list);
    TWordBuilder& ListOverride(TWordListOverride over);

    // Where the following text goes: the main text or a header or footer story.
    TWordBuilder& MainStory();
    // section: 0 the first section's header or footer, 1 the second's, and so on (the sections
    // are those SectionBreak ends).
    TWordBuilder& Story(THeaderStory story, int section = 0);
    // The following characters are stored in 16-bit (true) or 8-bit pieces; a change starts a
    // new piece. 8-bit text holds Windows-1252 codes (units above 0xFF are cut to 8 bits).
    TWordBuilder& Wide(bool wide);

    TWordBuilder& Text(std::u16string_view text, TSprms chpx = {});
    // Ends the current paragraph with a paragraph mark; papx and istd are its properties.
    TWordBuilder& Paragraph(TSprms papx = {}, uint16_t istd = 0, TSprms markChpx = {});
    TWordBuilder& Para(std::u16string_view text, TSprms papx = {}, uint16_t istd = 0);
    // A field: begin mark, code, separator, result, end mark.
    TWordBuilder& Field(std::u16string_view code, std::u16string_view result, TSprms chpx = {});
    // The marks one at a time, for fields inside fields.
    TWordBuilder& FieldBegin();
    TWordBuilder& FieldSeparator();
    TWordBuilder& FieldEnd();
    // A bookmark that starts at the next character of the main text (in the bookmark tables
    // SttbfBkmk, PlcfBkf and PlcfBkl; it ends one character later).
    TWordBuilder& Bookmark(std::u16string_view name);
    // A footnote, endnote or comment: its reference mark in the current text (the main text's
    // are listed in the reference table) and its text, one paragraph, in its own story.
    TWordBuilder& Footnote(std::u16string_view text);
    TWordBuilder& Endnote(std::u16string_view text);
    TWordBuilder& Comment(std::u16string_view text);
    // A text box's text, one paragraph, in the text box story.
    TWordBuilder& TextBox(std::u16string_view text);
    // Appends bytes to the "Data" stream and returns where they start (the fcPic of a picture
    // stored there). The stream starts with 64 bytes of zeros.
    uint32_t AddData(const std::vector<uint8_t>& bytes);
    // A picture character: code 1 with the special-character flag and the picture's place.
    TWordBuilder& PictureAnchor(uint32_t fcPic, TSprms chpx = {});
    // Stores a picture (see builder/picture_builder.h) and anchors it.
    TWordBuilder& Picture(const std::vector<uint8_t>& stored, TSprms chpx = {});
    // A table cell: its text, then the cell mark. Each paragraph of the text ("\r" ends one)
    // and the one the mark ends are in the table, with papx besides.
    TWordBuilder& Cell(std::u16string_view text, TSprms papx = {});
    // Ends a table row with its own paragraph: one cell mark, flagged as the row end, with the
    // row's properties (tapx: a row definition, shading).
    TWordBuilder& RowEnd(TSprms tapx);
    // Ends the current section (and its paragraph) of the main text with a section mark; sepx are
    // the properties of the section it ends.
    TWordBuilder& SectionBreak(TSprms sepx, TSprms papx = {});
    // The properties of the last section.
    TWordBuilder& LastSection(TSprms sepx);

    int64_t MainLength() const { return static_cast<int64_t>(main_.Chars.size()); }

    TWordStreams BuildStreams() const;
    // The compound file.
    std::vector<uint8_t> Build() const;

  private:
    struct TChar {
        char16_t Code;
        bool Wide;
        int32_t Chpx;
        int32_t Para;
    };
    struct TParaDef {
        TSprms Papx;
        uint16_t Istd = 0;
    };
    struct TSection {
        int64_t End;  // the CP after its section mark
        TSprms Sepx;
    };
    struct TStoryText {
        std::vector<TChar> Chars;
        size_t OpenParagraph = 0;          // first character of the paragraph not yet ended
        std::vector<uint32_t> ItemStarts;  // notes and text boxes: where each one's text starts
        std::vector<uint32_t> References;  // notes: the main text's CPs of their marks
    };
    friend class TWordWriter;

    TStoryText& Current();
    TWordBuilder& Note(TNoteStory story, char16_t mark, std::u16string_view text);
    // The characters since the last paragraph end become a paragraph with these properties.
    void CloseParagraph(TSprms papx, uint16_t istd);
    int32_t ChpxId(TSprms chpx);

    TWordOptions options_;
    struct TFontName {
        std::u16string Name;
        std::u16string Alt;
        uint8_t Ffid = 0;
    };
    std::vector<TFontName> fonts_;
    std::vector<TWordStyle> styles_;
    std::vector<TWordList> lists_;
    std::vector<TWordListOverride> listOverrides_;
    std::vector<TSprms> chpxs_;
    std::vector<TParaDef> paras_;
    std::vector<TSection> sections_;
    std::vector<std::pair<std::u16string, uint32_t>> bookmarks_;  // name, first CP
    TSprms lastSepx_;
    std::vector<uint8_t> data_ = std::vector<uint8_t>(64, 0);  // the "Data" stream
    TStoryText main_;
    std::vector<std::array<TStoryText, 6>> headers_ = std::vector<std::array<TStoryText, 6>>(1);
    int section_ = 0;  // the section of the header story
    std::array<TStoryText, 4> notes_;
    int story_ = -1;  // -1 main, 0 to 5 the header story, 6 to 9 the note story
    bool wide_ = false;
};

}  // namespace qm
