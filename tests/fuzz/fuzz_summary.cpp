// Fuzz target: the summary information's property set stream, and the document information it
// gives as PDF text strings.
#include <cstddef>
#include <cstdint>
#include <span>

#include "pdf/pdf_navigation.h"
#include "word/summary_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const qm::TSummaryRead read = qm::ReadSummaryInformation(std::span<const uint8_t>(data, size));
    for (const std::u32string* text :
         {&read.Info.Title, &read.Info.Subject, &read.Info.Author, &read.Info.Keywords}) {
        if (text->size() > qm::kMaxInfoChars) __builtin_trap();
        (void)qm::PDFTextString(*text);
    }
    return 0;
}
