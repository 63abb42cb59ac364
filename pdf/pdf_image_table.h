// The images placed on the pages, one entry per placement in order: entry k (0-based) is the page
// resource "/Imk" and an image object of its own, also when a picture is placed again. Pictures
// do not change once made, so entries share their pixels instead of copying them, and a picture
// placed many times (a logo on every page) is held once and encoded once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pdf/pdf_object_writer.h"
#include "raster/dib.h"

namespace qm {

class TPDFImageTable {
  public:
    // The picture as an entry holds it, in placed: a 24-bit picture as it is, a 1-, 4- or 8-bit
    // one expanded to 24 bits (the picture expanded last is not expanded again). False when it
    // cannot be placed: no usable pixels, another depth below 24, or no memory to expand it.
    bool Prepare(const TDib& picture, TDib& placed);
    // Adds a prepared picture; returns its 0-based resource number.
    int32_t Add(TDib placed);

    size_t Count() const { return entries_.size(); }
    const std::vector<TDib>& Entries() const { return entries_; }

    // Appends the pages' image resources ("/Im0 n 0 R/Im1 m 0 R...", no separators) for objects
    // written from number firstObject on.
    void AppendResources(std::string& out, int32_t firstObject) const;
    // Writes an image object per entry, in order: its pixels as JPEG, or one white pixel when
    // they cannot be encoded. Stops when the writer has failed.
    void WriteObjects(TPDFObjectWriter& out) const;

  private:
    std::vector<TDib> entries_;
    TDib lastExpandedFrom_;  // the palette picture last expanded to 24 bits, and the result
    TDib lastExpanded_;
};

}  // namespace qm
