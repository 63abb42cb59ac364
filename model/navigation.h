// What a document offers a reader besides its pages: links over runs of characters, named
// places in the text (bookmarks and headings), and the document's descriptive information. The
// import fills them; characters refer to them by index (TCharRec::Link, TCharRec::Anchor), so
// they follow their characters wherever the layout moves them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// The target of a link: an address (Uri, UTF-8), or a place in the document (Anchor, an index
// into TDocument::Anchors).
struct TLinkRec {
    std::string Uri;
    int32_t Anchor = -1;
};

// A place in the text, at the character that carries its index: the bookmarks that start
// there (names as stored, UTF-8) and, for a heading, its outline level (1 the highest, 9 the
// lowest; 0 for none) and its text.
struct TAnchorRec {
    std::vector<std::string> Names;
    uint8_t OutlineLevel = 0;
    std::u32string Title;
};

// The document's descriptive information; empty strings where the document gives none.
struct TDocumentInfo {
    std::u32string Title;
    std::u32string Subject;
    std::u32string Author;
    std::u32string Keywords;

    bool Empty() const {
        return Title.empty() && Subject.empty() && Author.empty() && Keywords.empty();
    }
};

}  // namespace qm
