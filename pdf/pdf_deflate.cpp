#include "pdf/pdf_deflate.h"

#include <zlib.h>

#include <limits>

namespace qm {

struct TDeflater::TState {
    z_stream Stream{};
    bool Initialised = false;

    ~TState() {
        if (Initialised) deflateEnd(&Stream);
    }
};

TDeflater::TDeflater() : state_(std::make_unique<TState>()) {}
TDeflater::~TDeflater() = default;

bool TDeflater::Compress(std::string_view input, std::string& out) {
    z_stream& z = state_->Stream;
    if (!state_->Initialised) {
        if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            return false;
        }
        state_->Initialised = true;
    } else if (deflateReset(&z) != Z_OK) {
        return false;
    }
    // zlib counts in 32 bits; a page of several gigabytes is not something we write.
    if (input.size() > std::numeric_limits<uInt>::max() / 2) return false;
    out.resize(deflateBound(&z, static_cast<uLong>(input.size())));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    z.avail_in = static_cast<uInt>(input.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    // deflateBound guarantees room for the whole stream, so one Z_FINISH call ends it.
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) return false;
    out.resize(z.total_out);
    return true;
}

}  // namespace qm
