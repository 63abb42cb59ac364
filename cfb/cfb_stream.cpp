#include <algorithm>
#include <cstring>

#include "cfb/compound_file.h"

namespace qm {

TCfbResult TCfbStream::Seek(uint64_t pos) {
    if (pos > bytes_.size()) return kCfbSeekFault;
    pos_ = pos;
    return kCfbOk;
}

TCfbResult TCfbStream::Read(void* dest, uint64_t n) {
    if (n == 0) return kCfbOk;
    const uint64_t available = bytes_.size() - pos_;
    const uint64_t copied = std::min(n, available);
    auto* out = static_cast<uint8_t*>(dest);
    if (copied > 0) std::memcpy(out, bytes_.data() + pos_, copied);
    pos_ += copied;
    if (copied == n) return kCfbOk;
    std::memset(out + copied, 0, n - copied);
    return kCfbReadFault;
}

}  // namespace qm
