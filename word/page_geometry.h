// The page a section's properties describe, in the model: page size, the first page body's
// margins, the header and footer fields' places and the pages they are shown on.
#pragma once

#include "model/document.h"
#include "word/word_properties.h"

namespace qm {

// Sets the page geometry from sep and the document's facing-pages setting, and the measuring
// resolution (SetPrinterProps). Fields the model does not have are left out.
void WritePageGeometry(TDocument& doc, const TSep& sep, bool facingPages);

}  // namespace qm
