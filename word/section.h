// Sections ([MS-DOC] 2.8.26 PlcfSed, 2.9.234 Sepx): the section table, the section properties
// in force and the page geometry they give.
#pragma once

#include <cstdint>
#include <span>

namespace qm {

struct WordImportContext;

// Reads the section table at fc (lcb bytes) of the table stream into ctx.sections.
void ReadSectionTable(WordImportContext& ctx, std::span<const uint8_t> tableStream, uint32_t fc,
                      uint32_t lcb);

// Resets the SEP to its defaults and applies the property list of the section holding cp (a
// CP shared by two sections belongs to the later one). Returns whether cp is that section's
// first CP.
bool ApplySection(WordImportContext& ctx, int64_t cp);

// Page size, the first page body's margins, the header and footer fields' geometry and their
// page selection, from the SEP in force and the document's facing-pages setting. Fields that
// do not exist are left out.
void SetPageGeometry(WordImportContext& ctx);

}  // namespace qm

namespace qm {

// Whether a section starts at cp (the CP after a section mark); the SEP is not touched.
bool SectionStartsAt(const WordImportContext& ctx, int64_t cp);

}  // namespace qm
