// One zlib deflate stream, reused for every page of a document.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace qm {

class TDeflater {
  public:
    TDeflater();
    ~TDeflater();
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;

    // Compresses input in one call into a zlib-format stream (2-byte header, deflate data,
    // Adler-32): level 9, 15-bit window, memory level 8, default strategy, the settings
    // compress2 uses at level 9. Returns false when zlib reports an error; out then holds
    // nothing useful.
    bool Compress(std::string_view input, std::string& out);

  private:
    struct TState;
    std::unique_ptr<TState> state_;
};

}  // namespace qm
