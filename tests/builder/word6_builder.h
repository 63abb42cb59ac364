// Writes Word 6 documents for tests and fuzz seeds: 8-bit text in paragraphs and runs whose
// properties are lists of Word 6's one-byte property codes, fonts with their character sets,
// the document's language, the last section's properties, and pieces (the text stored out of
// order, each piece with its own property modifier, as a fast save leaves it). All tables go
// into the "WordDocument" stream, the only stream of the compound file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// A Word 6 property list: one-byte codes, each followed by its operand.
using TSprms6 = std::vector<uint8_t>;

inline TSprms6 operator+(TSprms6 a, const TSprms6& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

namespace sprm6 {

inline TSprms6 Op8(uint8_t code, uint8_t value) {
    return {code, value};
}
inline TSprms6 Op16(uint8_t code, uint16_t value) {
    return {code, static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
}
inline TSprms6 Bold(uint8_t value = 1) {
    return Op8(85, value);
}
inline TSprms6 Italic(uint8_t value = 1) {
    return Op8(86, value);
}
inline TSprms6 FontNumber(uint16_t ftc) {
    return Op16(93, ftc);
}
inline TSprms6 Size(uint16_t hps) {
    return Op16(99, hps);
}
inline TSprms6 Justify(uint8_t jc) {
    return Op8(5, jc);
}
inline TSprms6 IndentLeft(int16_t twips) {
    return Op16(17, static_cast<uint16_t>(twips));
}
// sprmPBrcTop: a 16-bit border (width in 3/4 points in bits 0-2, kind in bits 3-4).
inline TSprms6 BorderTop(uint16_t brc) {
    return Op16(38, brc);
}
inline TSprms6 PageSize(uint16_t xa, uint16_t ya) {
    return Op16(164, xa) + Op16(165, ya);
}

}  // namespace sprm6

class TWord6Builder {
  public:
    TWord6Builder() = default;

    // Fonts in number order, with their character sets (chs: 0 ANSI, 204 Russian, ...); without
    // any, font 0 is "Times New Roman".
    TWord6Builder& Font(std::string name, uint8_t charset = 0);
    // The document's language (the FIB's lid), 0x0409 unless set; nFib 101 (Word 6) or 104.
    TWord6Builder& Language(uint16_t lid);
    TWord6Builder& Version(uint16_t nFib);

    // 8-bit text (the bytes as stored) with its character properties.
    TWord6Builder& Text(std::string_view bytes, TSprms6 chpx = {});
    // Ends the current paragraph with a paragraph mark; papx are its properties.
    TWord6Builder& Paragraph(TSprms6 papx = {});
    // The following text starts a new piece; prm is the piece's property modifier (a code in
    // bits 1-7 with its operand byte in bits 8-15, or with bit 0 set the index of a list added
    // with PieceList in bits 1-15). Pieces are stored in the stream in reverse order.
    TWord6Builder& Piece(uint16_t prm = 0);
    // A property list of the complex file information; returns the index a Prm names it by.
    uint16_t PieceList(TSprms6 grpprl);
    TWord6Builder& LastSection(TSprms6 sepx);

    // The compound file.
    std::vector<uint8_t> Build() const;

  private:
    struct TChar {
        uint8_t Byte;
        int32_t Chpx;
        int32_t Para;
    };
    struct TPieceStart {
        size_t FirstChar;
        uint16_t Prm;
    };
    friend class TWord6Writer;

    std::vector<std::pair<std::string, uint8_t>> fonts_;
    uint16_t lid_ = 0x0409;
    uint16_t nFib_ = 101;
    std::vector<TChar> chars_;
    std::vector<TSprms6> chpxs_;
    std::vector<TSprms6> papxs_;
    size_t openParagraph_ = 0;
    std::vector<TPieceStart> pieces_;
    std::vector<TSprms6> pieceLists_;
    TSprms6 sepx_;
};

}  // namespace qm
