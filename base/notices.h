// The one list of what a reader skipped or could not read: pictures left out, pictures of a kind
// not drawn, stories not read, characters shown without their glyph. Every reader adds to it;
// repeats fold into a count, so a document with a thousand unread pictures gives one line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// What a notice is about. The kind is a stable word for programs reading the JSON line; the
// sentence is for people.
enum class TNoticeKind {
    PictureLeftOut,  // over a picture limit, damaged, or unreadable
    PictureKind,     // a picture of a kind that is not drawn (EMF, PICT, ...)
    StorySkipped,    // a story (footnotes, comments, text boxes, ...) that is not read
    CharacterShown,  // characters drawn other than they are (no glyph, outside the code page)
    Other,
};

struct TNotice {
    TNoticeKind Kind = TNoticeKind::Other;
    std::string Noun;   // one of the things counted: "picture"
    std::string Nouns;  // several of them: "pictures"
    std::string
        What;  // what happened to them: "left out: damaged, too large, or of a kind not read."
    int64_t Count = 0;
    // The verb between the count and What, for one and for several: "was" and "were" unless a
    // notice's words need others ("has" and "have": "3 characters have no glyph ...").
    std::string Verb = "was";
    std::string Verbs = "were";

    // "1 picture was left out: ...", "3 pictures were left out: ...".
    std::string Sentence() const;
};

// The stable word for a kind: "picture-left-out", "picture-kind", "story-skipped",
// "character-shown", "other".
std::string_view NoticeKindName(TNoticeKind kind);

class TNotices {
  public:
    // Adds count things of one notice; a notice of the same kind and words as an earlier one
    // adds to that one's count instead of standing again. A count of 0 adds nothing.
    void Add(TNoticeKind kind, std::string_view noun, std::string_view nouns, std::string_view what,
             int64_t count = 1);
    // The same for a notice with verbs of its own; its Count is the count added.
    void Add(const TNotice& notice);
    void Append(const TNotices& other);

    const std::vector<TNotice>& Items() const { return items_; }
    bool Empty() const { return items_.empty(); }
    // Every notice's sentence, in the order they were first added.
    std::vector<std::string> Sentences() const;

  private:
    std::vector<TNotice> items_;
};

}  // namespace qm
