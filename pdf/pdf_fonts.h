// Names, numbers and objects of the PDF fonts.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/pdf_object_writer.h"
#include "raster/font.h"

namespace qm {

// The /BaseFont name (without the "/") of a face and style: the face name with delimiters,
// "#", blanks and bytes outside "!".."~" written as "#" and two upper-case hex digits, NUL
// bytes dropped, then ",BoldItalic", ",Italic" or ",Bold" (PDF Reference 1.3, 3.2.4 and
// 5.5.2). "Times New Roman" bold gives "Times#20New#20Roman,Bold".
std::string BaseFontName(std::string_view name, uint8_t style);

// Pixels at 12 per em to glyph space (1000 per em): the exact product of units with the double
// nearest to 1000/12, truncated toward zero. That double lies just below 1000/12, so multiples
// of 3 come out one less than the true quotient: S(3) = 249, S(12) = 999, S(-3) = -249.
int64_t ScaleToGlyphSpace(int32_t units);

// The object of a simple WinAnsi font: a TrueType reference that is not embedded, with an inline
// descriptor and the widths of its character range measured at 12 pixels per em. A face the
// system lacks is measured with its substitute; /BaseFont keeps the name asked for.
// With embedded (the bytes shown in the font), a subset of the face with their glyphs follows as
// a FontFile2 object, and the names carry its subset tag.
class TFontPrograms;
void WriteWinAnsiFontObject(TPDFObjectWriter& out, std::string_view name, uint8_t style,
                            uint8_t familyClass, const std::bitset<256>* embedded = nullptr,
                            TFontPrograms* programs = nullptr);
// The face a simple font is measured with: 12 pixels per em in the default character set.
TFont SimpleFontFace(std::string_view name, uint8_t style, uint8_t familyClass = kFamilyUnknown);
// A compressed stream object with extra entries in its dictionary (" /Length1 5").
void WriteFontStream(TPDFObjectWriter& out, std::string_view data, std::string_view extra);

struct TPDFFontEntry;
// The five objects of a Type 0 entry, in this order: the Type 0 font (Identity-H, its
// ToUnicode CMap), the CIDFont (glyph widths in /W), its descriptor, the subset font program
// and the CMap. A subset that cannot be made leaves the descriptor without a font file and the
// fourth object an empty stream.
void WriteType0FontObjects(TPDFObjectWriter& out, const TPDFFontEntry& entry,
                           TFontPrograms& programs);

// The six capital letters and "+" that mark a subset font's name, derived from the name and
// the glyphs, so that the same document gives the same tag.
std::string SubsetTag(std::string_view name, const std::vector<uint32_t>& glyphs);

}  // namespace qm
