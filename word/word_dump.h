// A readable dump of a Word document's structure for debugging real-world files: the compound
// file's streams, the header fields, the pieces, the sections, the header stories, the
// property pages, the fonts and the styles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The dump of the document held in fileBytes; a file that cannot be read says why. An encrypted
// document is dumped decrypted with password, with how it was encrypted.
std::string DumpWordDocument(std::vector<uint8_t> fileBytes, std::string_view password = {});

}  // namespace qm
