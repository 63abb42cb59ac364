// Writes the bundled sample document: a short letter with a heading, bold, italic and
// underlined text, a tab stop, a numbered list, and a header and a footer.
//   qm_make_sample OUTPUT.doc
#include <cstdio>
#include <fstream>

#include "builder/word_builder.h"

namespace {

using namespace qm;

constexpr uint16_t kHeading = 1;

TWordBuilder SampleLetter() {
    TWordBuilder b;
    b.Font("Times New Roman").Font("Arial");
    b.Style({0, false, 0x0FFF, "Normal", sprm::SpaceAfter(120), sprm::Size(24)});
    b.Style({kHeading, false, 0, "Heading 1", sprm::SpaceBefore(240) + sprm::SpaceAfter(240),
             sprm::Bold() + sprm::Size(36) + sprm::FontNumber(1)});
    b.LastSection(sprm::PageSize(11906, 16838) + sprm::Margins(1418, 1418, 1418, 1134) +
                  sprm::HeaderDistances(709, 709));

    b.Para(u"Quillmere Sample Letter", sprm::Justify(1), kHeading);
    b.Text(u"Date:\t7 December 2026").Paragraph(sprm::Tabs({}, {{5670, 0}}));
    b.Para(u"Dear reader,");
    b.Text(u"This letter shows what the converter makes of a Word document: ");
    b.Text(u"bold", sprm::Bold()).Text(u", ");
    b.Text(u"italic", sprm::Italic()).Text(u" and ");
    b.Text(u"underlined", sprm::Underline(1)).Text(u" text, a tab stop, a numbered list, ");
    b.Text(u"and a header and a footer on every page.").Paragraph(sprm::Justify(3));
    b.Para(u"The conversion takes three steps:");
    b.Para(u"Read the document and its properties.", sprm::ListRef(1) + sprm::IndentLeft(360));
    b.Para(u"Lay the text out into lines and pages.", sprm::ListRef(1) + sprm::IndentLeft(360));
    b.Para(u"Write the pages as a PDF file.", sprm::ListRef(1) + sprm::IndentLeft(360));
    b.Wide(true).Para(u"With kind regards \u2013 the Quillmere team").Wide(false);

    b.Story(THeaderStory::OddHeader).Text(u"Quillmere", sprm::Italic());
    b.Text(u"\tSample letter").Paragraph(sprm::Tabs({}, {{9070, 2}}));
    b.Story(THeaderStory::OddFooter).Para(u"Converted from Word 97 to PDF", sprm::Justify(1));
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.doc\n", argv[0]);
        return 2;
    }
    const std::vector<uint8_t> file = SampleLetter().Build();
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
