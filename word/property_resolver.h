// The properties in force while a story is read: the character, paragraph and section
// properties (and the table row definition) that the file's property lists give at a
// character's position. It reads the parsed file and touches no model.
#pragma once

#include <cstdint>
#include <set>

#include "word/word_file.h"
#include "word/word_properties.h"

namespace qm {

class TPropertyResolver {
  public:
    // Starts from the properties the stylesheet's reading ended with and the default section.
    explicit TPropertyResolver(const TWordFile& file);

    // Brings the properties up to date for the character at fc in the paragraph whose mark lies
    // at paragraphFc: the paragraph's style and paragraph property list (from the run that
    // holds the mark), then the character run's list. The result depends only on the two runs,
    // so the work is skipped while they stay the same (a run covers many characters).
    void Update(uint64_t fc, uint64_t paragraphFc);
    void Update(uint64_t fc) { Update(fc, fc); }

    // Resets the section properties to their defaults and applies the property list of the
    // section holding cp. Returns whether cp is that section's first CP.
    bool ApplySection(int64_t cp);
    bool SectionStartsAt(int64_t cp) const { return file_.Sections.StartsAt(cp); }

    // A story starts: no row definition is in force.
    void StartStory() { state_.Row.Forget(); }
    // A row ended: its definition is forgotten, and the next character applies its runs afresh
    // so that a row definition in them takes effect again.
    void EndRow();

    const TChp& Chp() const { return state_.Chp; }
    const TPap& Pap() const { return state_.Pap; }
    const TSep& Sep() const { return state_.Sep; }
    const TRowDefinition& Row() const { return state_.Row; }
    TRunFormat Format() const { return {state_.Chp, state_.Pap, state_.Sep, version_}; }

    // The end (exclusive FC) of the paragraph run last looked up, or 0 when none was found.
    uint64_t ParagraphRunEnd() const;

    // Paragraph property lists named in the "Data" stream (sprmPHugePapx) that could not be read.
    size_t LostPropertyLists() const { return lostHugePapx_.size(); }

  private:
    void SetParagraphBase(size_t istd);
    void ApplyParagraphRun(const TFkpRun& run);
    void ApplyCharacterRun(const TFkpRun& run);
    void Apply(std::span<const uint8_t> list);
    // A list as stored in the file's pages and sections: a Word 6 one in the older codes.
    void ApplyStored(std::span<const uint8_t> list);
    bool PapxList(const TFkpRun& run, uint16_t& istd, std::span<const uint8_t>& list) const;

    const TWordFile& file_;
    TPropertyState state_;
    int32_t lastParaRun_ = -1;
    std::set<int64_t> lostHugePapx_;  // their places, each counted once
    int32_t lastCharRun_ = -1;
    int32_t lastPieceList_ = -1;  // Word 6 fast-saved pieces: the piece's own list
    bool cached_ = false;
    uint32_t version_ = 0;
};

}  // namespace qm
