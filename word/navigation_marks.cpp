#include "word/navigation_marks.h"

#include <unordered_map>

namespace qm {

int32_t TNavigationMarks::AddLink(const TFieldTarget& target) {
    doc_.Links.push_back(TLinkRec{target.Uri, -1});
    linkBookmarks_.push_back(target.Uri.empty() ? target.Bookmark : std::string());
    return static_cast<int32_t>(doc_.Links.size() - 1);
}

int32_t TNavigationMarks::PendingAnchor() {
    if (pending_ < 0) {
        doc_.Anchors.emplace_back();
        pending_ = static_cast<int32_t>(doc_.Anchors.size() - 1);
    }
    return pending_;
}

void TNavigationMarks::MarkBookmark(const std::string& name) {
    doc_.Anchors[static_cast<size_t>(PendingAnchor())].Names.push_back(name);
}

void TNavigationMarks::StartHeading(uint8_t level) {
    heading_ = PendingAnchor();
    doc_.Anchors[static_cast<size_t>(heading_)].OutlineLevel = level;
}

void TNavigationMarks::Apply(TCharRec& ch) {
    ch.Link = link_;
    if (pending_ >= 0) {
        ch.Anchor = pending_;
        pending_ = -1;
    }
    if (heading_ < 0) return;
    std::u32string& title = doc_.Anchors[static_cast<size_t>(heading_)].Title;
    // Tabs and breaks inside a heading read as spaces in its title.
    const char32_t shown = ch.Kind != 0 ? 0 : ch.Code < 32 ? U' ' : ch.Code;
    if (shown != 0 && shown != kSoftHyphen && title.size() < kMaxHeadingTitle)
        title.push_back(shown);
}

int64_t TNavigationMarks::ResolveLinks() {
    std::unordered_map<std::string, int32_t> places;
    for (size_t i = 0; i < doc_.Anchors.size(); ++i) {
        for (const std::string& name : doc_.Anchors[i].Names)
            places.emplace(name, static_cast<int32_t>(i));
    }
    int64_t unresolved = 0;
    for (size_t i = 0; i < linkBookmarks_.size() && i < doc_.Links.size(); ++i) {
        if (linkBookmarks_[i].empty()) continue;
        const auto it = places.find(linkBookmarks_[i]);
        if (it == places.end()) {
            ++unresolved;
        } else {
            doc_.Links[i].Anchor = it->second;
        }
    }
    return unresolved;
}

}  // namespace qm
