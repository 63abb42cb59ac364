// The links, bookmarks and headings of an import, as the story reader meets them: it says which
// link the next characters belong to and which places start at the next character; the model
// writer puts the marks on the characters it appends (TCharRec::Link, TCharRec::Anchor).
#pragma once

#include <cstdint>
#include <string>

#include "model/document.h"
#include "word/field_links.h"

namespace qm {

// A heading's title keeps at most this many characters.
inline constexpr size_t kMaxHeadingTitle = 512;

class TNavigationMarks {
  public:
    explicit TNavigationMarks(TDocument& doc) : doc_(doc) {}

    // A new link to target; returns its index for SetLink.
    int32_t AddLink(const TFieldTarget& target);
    // The link of the characters appended from now on; -1 for none.
    void SetLink(int32_t link) { link_ = link; }
    // A bookmark starts at the next character appended.
    void MarkBookmark(const std::string& name);
    // A heading of level (1 to 9) starts at the next character appended; its characters up to
    // EndHeading make its title.
    void StartHeading(uint8_t level);
    void EndHeading() { heading_ = -1; }
    bool InHeading() const { return heading_ >= 0; }

    // Marks a character being appended.
    void Apply(TCharRec& ch);
    // Links to bookmarks get the bookmark's place; returns how many name a bookmark that no
    // character carries (they lead nowhere).
    int64_t ResolveLinks();

  private:
    int32_t PendingAnchor();

    TDocument& doc_;
    std::vector<std::string> linkBookmarks_;  // per link: the bookmark it names, if any
    int32_t link_ = -1;
    int32_t pending_ = -1;  // the anchor the next character starts
    int32_t heading_ = -1;  // the heading whose title is being read
};

}  // namespace qm
