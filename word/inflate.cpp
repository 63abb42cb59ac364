#include "word/inflate.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

namespace qm {

namespace {

constexpr size_t kZlibHeaderBytes = 2;
constexpr int kRawDeflateWindow = -15;
// The first buffer for a stream whose stated size is not believed: deflate packs at most
// about 1032 to 1, so a claim beyond that of the compressed size is not reserved up front.
constexpr size_t kMaxDeflateRatio = 1032;

class TInflater {
  public:
    TInflater() { ok_ = inflateInit2(&z_, kRawDeflateWindow) == Z_OK; }
    ~TInflater() {
        if (ok_) inflateEnd(&z_);
    }
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;

    bool Ok() const { return ok_; }
    z_stream& Stream() { return z_; }

  private:
    z_stream z_{};
    bool ok_ = false;
};

// zlib counts in 32 bits; the pieces handed to it are cut to that.
uInt Chunk(size_t n) {
    return static_cast<uInt>(std::min<size_t>(n, std::numeric_limits<uInt>::max()));
}

}  // namespace

bool InflateZlib(std::span<const uint8_t> compressed, size_t sizeHint, size_t limit,
                 std::vector<uint8_t>& out) {
    out.clear();
    if (compressed.size() < kZlibHeaderBytes) return false;
    const std::span<const uint8_t> deflated = compressed.subspan(kZlibHeaderBytes);
    TInflater inflater;
    if (!inflater.Ok()) return false;
    z_stream& z = inflater.Stream();
    z.next_in = const_cast<Bytef*>(deflated.data());
    z.avail_in = Chunk(deflated.size());
    const size_t believable =
        deflated.size() > limit / kMaxDeflateRatio ? limit : deflated.size() * kMaxDeflateRatio;
    try {
        out.resize(std::max<size_t>(1, std::min({sizeHint, limit, believable})));
        size_t produced = 0;
        for (;;) {
            z.next_out = out.data() + produced;
            z.avail_out = Chunk(out.size() - produced);
            const uInt before = z.avail_out;
            const int status = inflate(&z, Z_NO_FLUSH);
            produced += before - z.avail_out;
            if (status == Z_STREAM_END) break;
            if (status != Z_OK && status != Z_BUF_ERROR) return false;
            if (z.avail_out != 0) return false;  // the input ended before the stream
            if (out.size() >= limit) return false;
            out.resize(std::min(limit, out.size() * 2));
        }
        out.resize(produced);
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace qm
