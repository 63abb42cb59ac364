// Turning the properties in force into the model's terms for one kept character: the
// paragraph format and column settings of its line, and its font table entry.
#pragma once

namespace qm {

struct TCharRec;
struct TLineRec;
struct TSep;
struct WordImportContext;

// Writes the PAP into the table paragraph's format copy when one is the target, else into the
// current line's paragraph format, and the SEP's column settings into the current line.
// Skipped when the same properties were already written to the same place.
void WriteParagraphFormat(WordImportContext& ctx);

// Writes the section's column settings (count, spacing, separator) into line.
void WriteColumnSettings(const TSep& sep, TLineRec& line);

// Gives ch (just made by NewChar, with the default font entry) the font entry of the CHP in
// force, found or added with GetNewFontIndex.
void MakeFontEntry(WordImportContext& ctx, TCharRec& ch);

}  // namespace qm
