// The properties in force in the model's terms: a paragraph format, a line's column settings
// and a font table entry. Pure conversions; TModelWriter puts their results into the model.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/records.h"
#include "word/font_table.h"
#include "word/word_properties.h"

namespace qm {

// The paragraph format the PAP gives. defaultTabTwips is the document's default tab width
// (0: the format keeps its own).
void WriteParagraphFormat(const TPap& pap, uint16_t defaultTabTwips, TParaFormat& para);

// Writes the section's column settings (count, spacing, separator) into line.
void WriteColumnSettings(const TSep& sep, TLineRec& line);

// The font entry the CHP gives on top of base; the face name and family class come from fonts
// (a font number outside it keeps base's).
TFontRec FontFormat(const TChp& chp, std::span<const TFontTableEntry> fonts, const TFontRec& base);

}  // namespace qm
