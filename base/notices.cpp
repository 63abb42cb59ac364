#include "base/notices.h"

namespace qm {

std::string TNotice::Sentence() const {
    if (Count == 1) return "1 " + Noun + " " + Verb + " " + What;
    return std::to_string(Count) + " " + Nouns + " " + Verbs + " " + What;
}

std::string_view NoticeKindName(TNoticeKind kind) {
    switch (kind) {
        case TNoticeKind::PictureLeftOut:
            return "picture-left-out";
        case TNoticeKind::PictureKind:
            return "picture-kind";
        case TNoticeKind::StorySkipped:
            return "story-skipped";
        case TNoticeKind::CharacterShown:
            return "character-shown";
        case TNoticeKind::Other:
            break;
    }
    return "other";
}

void TNotices::Add(TNoticeKind kind, std::string_view noun, std::string_view nouns,
                   std::string_view what, int64_t count) {
    Add(TNotice{kind, std::string(noun), std::string(nouns), std::string(what), count});
}

void TNotices::Add(const TNotice& added) {
    if (added.Count <= 0) return;
    for (TNotice& notice : items_) {
        if (notice.Kind == added.Kind && notice.Noun == added.Noun && notice.What == added.What &&
            notice.Verb == added.Verb) {
            notice.Count += added.Count;
            return;
        }
    }
    items_.push_back(added);
}

void TNotices::Append(const TNotices& other) {
    for (const TNotice& n : other.items_)
        Add(n);
}

std::vector<std::string> TNotices::Sentences() const {
    std::vector<std::string> sentences;
    sentences.reserve(items_.size());
    for (const TNotice& notice : items_)
        sentences.push_back(notice.Sentence());
    return sentences;
}

}  // namespace qm
