// Writes a long text document of PAGES pages (see builder/long_document.h) for the memory and
// speed measurements of bench/convert_memory.sh.
//   qm_make_long_doc PAGES OUT.doc
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "builder/long_document.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qm_make_long_doc PAGES OUT.doc\n");
        return 2;
    }
    const long pages = std::strtol(argv[1], nullptr, 10);
    if (pages < 1 || pages > 100000) {
        std::fprintf(stderr, "qm_make_long_doc: PAGES must be 1 to 100000\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = qm::LongTextDocument(static_cast<int32_t>(pages)).Build();
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
