// The one reader of Word's PLC tables: n + 1 32-bit positions (CPs or FCs)
// followed by n records of a fixed size. Pieces, bin tables, sections and header stories are
// all stored this way.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/byte_reader.h"

namespace qm {

template <class T>
struct Plc {
    std::vector<uint32_t> Positions;  // Count() + 1 entries, or none
    std::vector<T> Records;

    int32_t Count() const { return static_cast<int32_t>(Records.size()); }
    // Whether the positions never decrease (a sound table; damaged ones may not be).
    bool Sorted() const {
        for (size_t i = 1; i < Positions.size(); ++i) {
            if (Positions[i] < Positions[i - 1]) return false;
        }
        return true;
    }
};

// Reads the table of lcb bytes at fc in stream. A table shorter than one position is empty; a
// table reaching past the stream's end is cut to what the stream holds, and only whole records
// are read. parse(reader, record) reads one record from a reader over exactly recordSize bytes.
template <class T, class Parse>
Plc<T> ReadPlc(std::span<const uint8_t> stream, uint32_t fc, uint32_t lcb, size_t recordSize,
               Parse parse) {
    Plc<T> plc;
    if (fc > stream.size()) return plc;
    const uint64_t available = stream.size() - fc;
    const uint64_t size = lcb < available ? lcb : available;
    if (size < 4) return plc;
    const uint64_t count = (size - 4) / (4 + recordSize);
    ByteReader reader(stream.subspan(fc, static_cast<size_t>(size)));
    plc.Positions.resize(count + 1);
    for (uint32_t& position : plc.Positions)
        reader.U32(position);
    plc.Records.resize(count);
    for (T& record : plc.Records) {
        std::span<const uint8_t> bytes;
        reader.Bytes(recordSize, bytes);
        ByteReader recordReader(bytes);
        parse(recordReader, record);
    }
    return plc;
}

}  // namespace qm
