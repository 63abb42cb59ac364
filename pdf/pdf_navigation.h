// What a PDF offers besides its pages' drawing: link annotations (to an address or to a place
// in the document), the outline of the headings and the document information dictionary. The
// page surface reports link areas and places page by page; at the end of the document the
// writer numbers these objects after the images and writes them, so that a document with none
// of them is written exactly as before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/pdf_object_writer.h"

namespace qm {

// A link's area on a page, in the canvas's whole points with a top-down y axis, and its target:
// an address (Uri, UTF-8) or a place (Place >= 0).
struct TPDFLinkArea {
    int32_t Page = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    std::string Uri;
    int32_t Place = -1;
};

// One heading of the outline: its text, its level (1 the highest) and its place.
struct TPDFOutlineEntry {
    std::u32string Title;
    int32_t Level = 1;
    int32_t Place = -1;
};

// The information dictionary's entries; Date is a PDF date ("D:YYYYMMDDHHmmSSZ") or empty.
struct TPDFInfo {
    std::u32string Title;
    std::u32string Subject;
    std::u32string Author;
    std::u32string Keywords;
    std::string Date;

    bool Empty() const {
        return Title.empty() && Subject.empty() && Author.empty() && Keywords.empty() &&
               Date.empty();
    }
};

class TPDFNavigation {
  public:
    // Adds a link area; one that continues the last area of the same target on the same line
    // widens it instead, so that a link gets one rectangle per line.
    void AddLink(const TPDFLinkArea& area);
    // The place's position; the first report of a place holds.
    void MarkPlace(int32_t place, int32_t page, int32_t x, int32_t y);
    void AddOutlineEntry(TPDFOutlineEntry entry);
    void SetInfo(TPDFInfo info) { info_ = std::move(info); }

    // Drops links and outline entries whose place was never drawn and numbers the objects from
    // firstObject on: the annotations page by page, the outline's items, the information
    // dictionary. pages: the number of pages written.
    void Settle(int32_t pages, int32_t firstObject);
    // " /Annots [...]" line for a page's dictionary, empty when the page has no links.
    std::string AnnotsLine(int32_t page) const;
    // The lines of the outline root after its /Type: "/Count 0" without headings.
    std::string OutlineRootLines(int32_t rootObject) const;
    // Writes the annotations, outline items and information dictionary in their numbering.
    // pageHeights: each page's height in points.
    void WriteObjects(TPDFObjectWriter& out, int32_t firstPageObject, int32_t rootObject,
                      const std::vector<int32_t>& pageHeights) const;
    // The information dictionary's number, 0 when there is none.
    int32_t InfoObject() const { return infoObject_; }

  private:
    struct TPlace {
        int32_t Page = -1;
        int32_t X = 0;
        int32_t Y = 0;
    };
    const TPlace* PlaceOf(int32_t place) const;
    void WriteDestination(TPDFObjectWriter& out, const TPlace& place, int32_t firstPageObject,
                          const std::vector<int32_t>& pageHeights) const;
    void WriteAnnotation(TPDFObjectWriter& out, const TPDFLinkArea& area, int32_t firstPageObject,
                         const std::vector<int32_t>& pageHeights) const;
    void WriteOutlineItem(TPDFObjectWriter& out, size_t i, int32_t rootObject,
                          int32_t firstPageObject, const std::vector<int32_t>& pageHeights) const;
    void WriteInfo(TPDFObjectWriter& out) const;

    std::vector<TPDFLinkArea> links_;
    std::vector<TPlace> places_;
    std::vector<TPDFOutlineEntry> outline_;
    TPDFInfo info_;

    // Set by Settle.
    std::vector<int32_t> firstLinkOfPage_;  // pages + 1 entries into links_ (sorted by page)
    int32_t firstAnnotObject_ = 0;
    int32_t firstOutlineObject_ = 0;
    int32_t infoObject_ = 0;
    // Per outline item: its parent (-1 the root), first and last child, neighbours and the
    // number of its descendants.
    struct TTreeLinks {
        int32_t Parent = -1, First = -1, Last = -1, Prev = -1, Next = -1, Count = 0;
    };
    std::vector<TTreeLinks> tree_;
    int32_t rootFirst_ = -1;
    int32_t rootLast_ = -1;
};

// A PDF text string (PDF Reference 1.3, 3.8.1): the literal string of plain ASCII text, or
// UTF-16BE with its byte order mark as a hexadecimal string.
std::string PDFTextString(std::u32string_view text);
// The PDF date of seconds since 1970 (UTC): "D:YYYYMMDDHHmmSSZ".
std::string PDFDate(int64_t secondsSince1970);
// SOURCE_DATE_EPOCH as a PDF date, when the environment gives a valid one.
std::optional<std::string> SourceDateFromEnvironment();

}  // namespace qm
