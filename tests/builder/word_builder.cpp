// The description half of the document builder: what the text, styles and sections are.
#include "builder/word_builder.h"

#include "builder/cfb_writer.h"

namespace qm {

TWordBuilder::TWordBuilder() {
    chpxs_.emplace_back();  // run 0: no character properties
    paras_.emplace_back();  // paragraph 0: text that no paragraph mark ends
}

TWordBuilder& TWordBuilder::Font(std::string name) {
    return Font(std::u16string(name.begin(), name.end()), u"");
}

TWordBuilder& TWordBuilder::Font(std::string name, uint8_t ffid) {
    fonts_.push_back({std::u16string(name.begin(), name.end()), u"", ffid});
    return *this;
}

TWordBuilder& TWordBuilder::Font(std::u16string name, std::u16string alt) {
    fonts_.push_back({std::move(name), std::move(alt)});
    return *this;
}

TWordBuilder& TWordBuilder::Style(TWordStyle style) {
    styles_.push_back(std::move(style));
    return *this;
}

TWordBuilder& TWordBuilder::List(TWordList list) {
    lists_.push_back(std::move(list));
    return *this;
}

TWordBuilder& TWordBuilder::ListOverride(TWordListOverride over) {
    listOverrides_.push_back(std::move(over));
    return *this;
}

TWordBuilder& TWordBuilder::MainStory() {
    story_ = -1;
    return *this;
}

TWordBuilder& TWordBuilder::Story(THeaderStory story, int section) {
    story_ = static_cast<int>(story);
    section_ = section;
    if (headers_.size() <= static_cast<size_t>(section)) headers_.resize(section + 1);
    return *this;
}

TWordBuilder& TWordBuilder::Wide(bool wide) {
    wide_ = wide;
    return *this;
}

TWordBuilder::TStoryText& TWordBuilder::Current() {
    if (story_ < 0) return main_;
    if (story_ < 6) return headers_[static_cast<size_t>(section_)][static_cast<size_t>(story_)];
    return notes_[static_cast<size_t>(story_ - 6)];
}

int32_t TWordBuilder::ChpxId(TSprms chpx) {
    for (size_t i = 0; i < chpxs_.size(); ++i) {
        if (chpxs_[i] == chpx) return static_cast<int32_t>(i);
    }
    chpxs_.push_back(std::move(chpx));
    return static_cast<int32_t>(chpxs_.size() - 1);
}

TWordBuilder& TWordBuilder::Text(std::u16string_view text, TSprms chpx) {
    const int32_t id = ChpxId(std::move(chpx));
    for (char16_t c : text)
        Current().Chars.push_back({c, wide_, id, 0});
    return *this;
}

TWordBuilder& TWordBuilder::Paragraph(TSprms papx, uint16_t istd, TSprms markChpx) {
    Text(u"\r", std::move(markChpx));
    paras_.push_back({std::move(papx), istd});
    TStoryText& story = Current();
    for (size_t i = story.OpenParagraph; i < story.Chars.size(); ++i) {
        story.Chars[i].Para = static_cast<int32_t>(paras_.size() - 1);
    }
    story.OpenParagraph = story.Chars.size();
    return *this;
}

void TWordBuilder::CloseParagraph(TSprms papx, uint16_t istd) {
    paras_.push_back({std::move(papx), istd});
    TStoryText& story = Current();
    for (size_t i = story.OpenParagraph; i < story.Chars.size(); ++i)
        story.Chars[i].Para = static_cast<int32_t>(paras_.size() - 1);
    story.OpenParagraph = story.Chars.size();
}

TWordBuilder& TWordBuilder::Cell(std::u16string_view text, TSprms papx) {
    const TSprms inTable = sprm::InTable() + papx;
    for (size_t end = text.find(u'\r'); end != std::u16string_view::npos; end = text.find(u'\r')) {
        Text(text.substr(0, end + 1));
        CloseParagraph(inTable, 0);
        text.remove_prefix(end + 1);
    }
    Text(text);
    Text(u"\a");
    CloseParagraph(inTable, 0);
    return *this;
}

TWordBuilder& TWordBuilder::RowEnd(TSprms tapx) {
    Text(u"\a");
    CloseParagraph(sprm::InTable() + sprm::RowEnd() + tapx, 0);
    return *this;
}

TWordBuilder& TWordBuilder::Para(std::u16string_view text, TSprms papx, uint16_t istd) {
    Text(text);
    return Paragraph(std::move(papx), istd);
}

TWordBuilder& TWordBuilder::Field(std::u16string_view code, std::u16string_view result,
                                  TSprms chpx) {
    std::u16string text = u"\x13";
    text += code;
    text += u"\x14";
    text += result;
    text += u"\x15";
    return Text(text, std::move(chpx));
}

TWordBuilder& TWordBuilder::FieldBegin() {
    return Text(u"\x13");
}

TWordBuilder& TWordBuilder::FieldSeparator() {
    return Text(u"\x14");
}

TWordBuilder& TWordBuilder::FieldEnd() {
    return Text(u"\x15");
}

TWordBuilder& TWordBuilder::Note(TNoteStory kind, char16_t mark, std::u16string_view text) {
    if (mark != 0) {
        if (story_ < 0)
            notes_[static_cast<size_t>(kind)].References.push_back(
                static_cast<uint32_t>(main_.Chars.size()));
        Text(std::u16string(1, mark));
    }
    const int story = story_;
    const bool wide = wide_;
    story_ = 6 + static_cast<int>(kind);
    TStoryText& notes = Current();
    notes.ItemStarts.push_back(static_cast<uint32_t>(notes.Chars.size()));
    Para(text);
    story_ = story;
    wide_ = wide;
    return *this;
}

// The reference marks: 2 an automatically numbered note, 5 a comment.
TWordBuilder& TWordBuilder::Footnote(std::u16string_view text) {
    return Note(TNoteStory::Footnotes, u'\x02', text);
}

TWordBuilder& TWordBuilder::Endnote(std::u16string_view text) {
    return Note(TNoteStory::Endnotes, u'\x02', text);
}

TWordBuilder& TWordBuilder::Comment(std::u16string_view text) {
    return Note(TNoteStory::Comments, u'\x05', text);
}

TWordBuilder& TWordBuilder::TextBox(std::u16string_view text) {
    return Note(TNoteStory::TextBoxes, 0, text);
}

uint32_t TWordBuilder::AddData(const std::vector<uint8_t>& bytes) {
    const auto fc = static_cast<uint32_t>(data_.size());
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    return fc;
}

TWordBuilder& TWordBuilder::PictureAnchor(uint32_t fcPic, TSprms chpx) {
    return Text(u"\x01", sprm::PicLocation(fcPic) + sprm::Special() + chpx);
}

TWordBuilder& TWordBuilder::Picture(const std::vector<uint8_t>& stored, TSprms chpx) {
    return PictureAnchor(AddData(stored), std::move(chpx));
}

TWordBuilder& TWordBuilder::SectionBreak(TSprms sepx, TSprms papx) {
    main_.Chars.push_back({u'\f', wide_, 0, 0});
    paras_.push_back({std::move(papx), 0});
    for (size_t i = main_.OpenParagraph; i < main_.Chars.size(); ++i) {
        main_.Chars[i].Para = static_cast<int32_t>(paras_.size() - 1);
    }
    main_.OpenParagraph = main_.Chars.size();
    sections_.push_back({MainLength(), std::move(sepx)});
    return *this;
}

TWordBuilder& TWordBuilder::LastSection(TSprms sepx) {
    lastSepx_ = std::move(sepx);
    return *this;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> TWordStreams::RootStreams() const {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> streams;
    streams.emplace_back("WordDocument", WordDocument);
    streams.emplace_back(TableName, Table);
    if (!DecoyTable.empty())
        streams.emplace_back(TableName == "1Table" ? "0Table" : "1Table", DecoyTable);
    if (HasData) streams.emplace_back("Data", Data);
    streams.insert(streams.end(), Extra.begin(), Extra.end());
    return streams;
}

TWordBuilder& TWordBuilder::Bookmark(std::u16string_view name) {
    bookmarks_.emplace_back(std::u16string(name), static_cast<uint32_t>(main_.Chars.size()));
    return *this;
}

std::vector<uint8_t> TWordBuilder::Build() const {
    return WriteCompoundFile(BuildStreams().RootStreams());
}

}  // namespace qm
