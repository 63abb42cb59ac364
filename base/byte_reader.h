// The one bounds-checked reader of untrusted bytes: little-endian values (big-endian where a
// format wants them) assembled byte by byte; a read past the end fails (returns false and leaves the output zero) and sets the
// reader's failed flag, which stays set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qm {

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Size() const { return bytes_.size(); }
    size_t Pos() const { return pos_; }
    size_t Remaining() const { return bytes_.size() - pos_; }
    bool Failed() const { return failed_; }
    std::span<const uint8_t> Data() const { return bytes_; }

    bool Seek(size_t pos) {
        if (pos > bytes_.size()) return Fail();
        pos_ = pos;
        return true;
    }
    bool Skip(size_t n) {
        if (n > Remaining()) return Fail();
        pos_ += n;
        return true;
    }
    bool U8(uint8_t& out) {
        out = 0;
        if (Remaining() < 1) return Fail();
        out = bytes_[pos_++];
        return true;
    }
    bool U16(uint16_t& out) {
        out = 0;
        if (Remaining() < 2) return Fail();
        out = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool U32(uint32_t& out) {
        out = 0;
        if (Remaining() < 4) return Fail();
        out = static_cast<uint32_t>(bytes_[pos_]) | (static_cast<uint32_t>(bytes_[pos_ + 1]) << 8) |
              (static_cast<uint32_t>(bytes_[pos_ + 2]) << 16) |
              (static_cast<uint32_t>(bytes_[pos_ + 3]) << 24);
        pos_ += 4;
        return true;
    }
    // Big-endian, as PNG stores its numbers.
    bool U32Be(uint32_t& out) {
        out = 0;
        if (Remaining() < 4) return Fail();
        out = (static_cast<uint32_t>(bytes_[pos_]) << 24) |
              (static_cast<uint32_t>(bytes_[pos_ + 1]) << 16) |
              (static_cast<uint32_t>(bytes_[pos_ + 2]) << 8) | static_cast<uint32_t>(bytes_[pos_ + 3]);
        pos_ += 4;
        return true;
    }
    bool I16(int16_t& out) {
        uint16_t v;
        const bool ok = U16(v);
        out = static_cast<int16_t>(v);
        return ok;
    }
    bool I32(int32_t& out) {
        uint32_t v;
        const bool ok = U32(v);
        out = static_cast<int32_t>(v);
        return ok;
    }
    // The next n bytes as a view; fails (empty view) when fewer remain.
    bool Bytes(size_t n, std::span<const uint8_t>& out) {
        out = {};
        if (n > Remaining()) return Fail();
        out = bytes_.subspan(pos_, n);
        pos_ += n;
        return true;
    }

private:
    bool Fail() {
        failed_ = true;
        return false;
    }
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace qm
