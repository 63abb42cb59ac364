// Links, the outline and the document information, from the Word document to the PDF: fields
// that link become link annotations over their text, headings become the outline, and the
// summary information becomes the information dictionary.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "app/conversion_session.h"
#include "builder/cfb_writer.h"
#include "builder/property_set.h"
#include "builder/word_builder.h"
#include "convert/convert_util.h"
#include "convert/session_sinks.h"

namespace qm {
namespace {

using TOpened = test::TOpenedSession;

// The PDF the session writes for a document.
std::string PdfOf(std::vector<uint8_t> doc) {
    TOpened o;
    EXPECT_TRUE(o.session.OpenBytes(std::move(doc)).Imported);
    std::ostringstream out;
    EXPECT_TRUE(o.session.SavePDFFile(out));
    return out.str();
}

// The text of object n of a PDF our writer wrote (objects in plain text, one per "n 0 obj").
std::string ObjectText(const std::string& pdf, int n) {
    const std::string start = "\n" + std::to_string(n) + " 0 obj\n";
    const size_t at = pdf.find(start);
    if (at == std::string::npos) return {};
    return pdf.substr(at + start.size(), pdf.find("endobj", at) - at - start.size());
}

std::vector<int> References(const std::string& text) {
    std::vector<int> out;
    const std::regex reference(R"((\d+) 0 R)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), reference);
         it != std::sregex_iterator(); ++it)
        out.push_back(std::stoi((*it)[1]));
    return out;
}

// The page objects in order (the page tree's /Kids).
std::vector<int> PageObjects(const std::string& pdf) {
    const std::smatch kids = [&] {
        std::smatch m;
        std::regex_search(pdf, m, std::regex(R"(/Kids \[([^\]]*)\])"));
        return m;
    }();
    return kids.empty() ? std::vector<int>{} : References(kids[1].str());
}

int NumberAfter(const std::string& text, const std::string& key) {
    const size_t at = text.find(key);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size());
}

// qpdf --check's verdict on a PDF's bytes.
bool QpdfAccepts(const std::string& pdf) {
    test::TTempDir dir;
    test::WriteFile(dir / "checked.pdf", pdf);
    return test::RunCommand("qpdf --check " + test::ShellQuote(dir / "checked.pdf") + " >/dev/null")
               .ExitCode == 0;
}

struct TWordBox {
    double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;  // top-down points, as pdftotext gives them
};

// Where pdftotext finds a word on the first page it shows it.
std::optional<TWordBox> WordBox(const std::string& pdf, const std::string& word) {
    test::TTempDir dir;
    test::WriteFile(dir / "words.pdf", pdf);
    const std::string xml =
        test::RunCommand("pdftotext -bbox " + test::ShellQuote(dir / "words.pdf") + " -").Output;
    std::smatch m;
    const std::regex box(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
        "yMax=\"([0-9.]+)\">" +
        word + "</word>");
    if (!std::regex_search(xml, m, box)) {
        ADD_FAILURE() << xml;
        return std::nullopt;
    }
    return TWordBox{std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])};
}

TEST(NavigationEndToEnd, LinkFieldsBecomeAnnotationsOverTheirText) {
    if (!test::ToolAvailable("qpdf") || !test::ToolAvailable("pdftotext"))
        GTEST_SKIP() << "qpdf or pdftotext missing";
    TWordBuilder b;
    b.Text(u"Visit ").Field(u" HYPERLINK \"http://example.org/a b\" ", u"Example").Text(u" now.");
    b.Paragraph();
    b.Text(u"Contents ").Field(u" PAGEREF chapter \\h ", u"2").Paragraph();
    b.Text(u"Jump ").Field(u" HYPERLINK \\l \"chapter\" ", u"there").Paragraph();
    b.Text(u"Broken ").Field(u" HYPERLINK \\l \"nowhere\" ", u"nothing").Paragraph();
    b.Para(u"Second page", sprm::PageBreakBefore());
    b.Bookmark(u"chapter").Para(u"Chapter text");
    const std::string pdf = PdfOf(b.Build());
    ASSERT_TRUE(QpdfAccepts(pdf));

    const std::vector<int> pages = PageObjects(pdf);
    ASSERT_EQ(pages.size(), 2u);
    const std::string page1 = ObjectText(pdf, pages[0]);
    std::smatch annots;
    ASSERT_TRUE(std::regex_search(page1, annots, std::regex(R"(/Annots \[([^\]]*)\])")));
    // The address, the page reference and the bookmark link; the link to a bookmark the
    // document lacks leads nowhere and is left out.
    const std::vector<int> links = References(annots[1].str());
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(ObjectText(pdf, pages[1]).find("/Annots"), std::string::npos);

    const std::string uri = ObjectText(pdf, links[0]);
    EXPECT_NE(uri.find("/Subtype /Link"), std::string::npos);
    EXPECT_NE(uri.find("/Border [0 0 0]"), std::string::npos);
    EXPECT_NE(uri.find("/URI (http://example.org/a%20b)"), std::string::npos);
    // The rectangle covers the link's text (bottom-up y) and not the words beside it.
    std::smatch rect;
    ASSERT_TRUE(
        std::regex_search(uri, rect, std::regex(R"(/Rect \[(-?\d+) (-?\d+) (-?\d+) (-?\d+)\])")));
    std::smatch box;
    ASSERT_TRUE(std::regex_search(page1, box, std::regex(R"(/MediaBox \[0 0 \d+ (\d+)\])")));
    const int height = std::stoi(box[1]);
    const auto word = WordBox(pdf, "Example");
    const auto before = WordBox(pdf, "Visit");
    ASSERT_TRUE(word && before);
    EXPECT_GT(std::stoi(rect[1]), before->X1);
    EXPECT_NEAR(std::stoi(rect[1]), word->X0, 2);
    EXPECT_NEAR(std::stoi(rect[3]), word->X1, 3);
    EXPECT_LE(std::stoi(rect[2]), height - word->Y1 + 2);
    EXPECT_GE(std::stoi(rect[4]), height - word->Y0 - 2);

    // Both links to the bookmark open the second page.
    for (int link : {links[1], links[2]}) {
        const std::string text = ObjectText(pdf, link);
        EXPECT_NE(text.find("/S /GoTo"), std::string::npos) << text;
        EXPECT_EQ(NumberAfter(text, "/D ["), pages[1]) << text;
    }
}

// Three pages with headings: two by the built-in heading styles, one by its outline level.
std::vector<uint8_t> HeadingsDocument() {
    TWordBuilder b;
    TWordStyle heading1;
    heading1.Istd = 1;
    heading1.Name = "heading 1";
    heading1.Sti = 1;
    heading1.Papx = sprm::SpaceAfter(120);
    TWordStyle heading2 = heading1;
    heading2.Istd = 2;
    heading2.Name = "heading 2";
    heading2.Sti = 2;
    b.Style({0, false, 0x0FFF, "Normal", {}, {}}).Style(heading1).Style(heading2);
    b.Para(u"Introduction", {}, 1);
    b.Para(u"Body text of the introduction.");
    b.Para(u"Background", {}, 2);
    b.Para(u"Methods", sprm::PageBreakBefore() + sprm::OutlineLevel(0));
    b.Para(u"Details", sprm::OutlineLevel(1));
    b.Para(u"Zusammenfassung \u00FCber alles", sprm::PageBreakBefore(), 1);
    b.Para(u"Closing words.");
    return b.Build();
}

TEST(NavigationEndToEnd, HeadingsMakeANestedOutlineOpeningTheirPages) {
    if (!test::ToolAvailable("qpdf")) GTEST_SKIP() << "qpdf missing";
    const std::string pdf = PdfOf(HeadingsDocument());
    ASSERT_TRUE(QpdfAccepts(pdf));
    test::TTempDir dir;
    test::WriteFile(dir / "outline.pdf", pdf);
    const std::string json =
        test::RunCommand("qpdf --json --json-key=outlines " + test::ShellQuote(dir / "outline.pdf"))
            .Output;
    // qpdf lists the items with the page each opens (from 1) before their kids and their
    // titles after them.
    auto all = [&](const std::string& pattern) {
        std::vector<std::string> found;
        const std::regex re(pattern);
        for (auto it = std::sregex_iterator(json.begin(), json.end(), re);
             it != std::sregex_iterator(); ++it)
            found.push_back((*it)[1].str());
        return found;
    };
    EXPECT_EQ(all(R"re("destpageposfrom1": (\d+))re"),
              (std::vector<std::string>{"1", "1", "2", "2", "3"}))
        << json;
    EXPECT_EQ(all(R"re("title": "([^"]*)")re"),
              (std::vector<std::string>{"Background", "Introduction", "Details", "Methods",
                                        "Zusammenfassung \u00FCber alles"}));

    // The nesting: three top-level entries, each of the first two holding one.
    const int root = NumberAfter(pdf, "/Outlines ");
    const std::string rootText = ObjectText(pdf, root);
    EXPECT_NE(rootText.find("/Count 5"), std::string::npos) << rootText;
    const std::string first = ObjectText(pdf, NumberAfter(rootText, "/First "));
    EXPECT_NE(first.find("/Title (Introduction)"), std::string::npos);
    EXPECT_EQ(NumberAfter(first, "/Parent "), root);
    EXPECT_EQ(NumberAfter(first, "/Count "), 1);
    const std::string child = ObjectText(pdf, NumberAfter(first, "/First "));
    EXPECT_NE(child.find("/Title (Background)"), std::string::npos);
    const std::string last = ObjectText(pdf, NumberAfter(rootText, "/Last "));
    // Not plain ASCII: UTF-16BE with its byte order mark.
    EXPECT_NE(last.find("/Title <FEFF005A0075"), std::string::npos) << last;
    EXPECT_EQ(last.find("/Next "), std::string::npos);
}

std::vector<uint8_t> WithSummary(TWordBuilder& b, std::vector<uint8_t> summary) {
    TWordStreams streams = b.BuildStreams();
    streams.Extra.emplace_back("\x05SummaryInformation", std::move(summary));
    return WriteCompoundFile(streams.RootStreams());
}

TEST(NavigationEndToEnd, SummaryInformationFillsTheInformationDictionary) {
    TWordBuilder b;
    b.Para(u"A document with a title.");
    // Windows-1251: "Отчёт" (report) as the title, an ASCII author.
    const std::vector<uint8_t> cyrillic =
        SummaryInformationStream(1251, {{kSummaryTitle, "\xCE\xF2\xF7\xB8\xF2", {}, false},
                                        {kSummaryAuthor, "Ann (Editor)", {}, false},
                                        {kSummaryKeywords, "", u"caf\u00E9", true}});
    unsetenv("SOURCE_DATE_EPOCH");
    const std::string pdf = PdfOf(WithSummary(b, cyrillic));
    const int info = NumberAfter(pdf, "/Info ");
    ASSERT_GT(info, 0);
    const std::string text = ObjectText(pdf, info);
    EXPECT_NE(text.find("/Title <FEFF041E0442044704510442>"), std::string::npos) << text;
    EXPECT_NE(text.find("/Author (Ann \\(Editor\\))"), std::string::npos) << text;
    EXPECT_NE(text.find("/Keywords <FEFF00630061006600E9>"), std::string::npos) << text;
    EXPECT_EQ(text.find("/Subject"), std::string::npos);
    EXPECT_NE(text.find("/Producer (Quillmere)"), std::string::npos);
    EXPECT_EQ(text.find("Date"), std::string::npos);
    if (test::ToolAvailable("qpdf")) {
        EXPECT_TRUE(QpdfAccepts(pdf));
    }

    // UTF-8 strings; a given date makes both dates, and the same input the same bytes.
    const std::vector<uint8_t> utf8 =
        SummaryInformationStream(65001, {{kSummarySubject, "\xE2\x82\xAC rates", {}, false}});
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const std::string dated = PdfOf(WithSummary(b, utf8));
    const std::string again = PdfOf(WithSummary(b, utf8));
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(dated, again);
    const std::string datedInfo = ObjectText(dated, NumberAfter(dated, "/Info "));
    EXPECT_NE(datedInfo.find("/Subject <FEFF20AC00200072"), std::string::npos) << datedInfo;
    EXPECT_NE(datedInfo.find("/CreationDate (D:20231114221320Z)"), std::string::npos);
    EXPECT_NE(datedInfo.find("/ModDate (D:20231114221320Z)"), std::string::npos);

    // A document without summary information, links or headings has no information
    // dictionary, no annotations and an empty outline.
    unsetenv("SOURCE_DATE_EPOCH");
    const std::string plain = PdfOf(b.Build());
    EXPECT_EQ(plain.find("/Info"), std::string::npos);
    EXPECT_EQ(plain.find("/Annots"), std::string::npos);
    EXPECT_NE(plain.find("/Type /Outlines\n/Count 0\n"), std::string::npos);
}

TEST(NavigationEndToEnd, AnEncryptedDocumentsInformationComesFromItsEncryptedSummary) {
    TWordBuilder b;
    b.Options().Protection.Cipher = TWordCipher::CryptoApi;
    b.Options().Protection.Password = "pw";
    b.Options().Protection.SummaryStreams = {
        {"\x05SummaryInformation",
         SummaryInformationStream(1252, {{kSummaryTitle, "Secret plan", {}, false}})}};
    b.Para(u"Encrypted text.");
    // What the compound file shows in the clear stands in for what the encryption holds.
    const std::vector<uint8_t> doc =
        WithSummary(b, SummaryInformationStream(1252, {{kSummaryTitle, "Decoy", {}, false}}));
    TOpened o;
    o.session.SetPassword("pw");
    ASSERT_TRUE(o.session.OpenBytes(doc).Imported);
    std::ostringstream out;
    ASSERT_TRUE(o.session.SavePDFFile(out));
    EXPECT_NE(out.str().find("/Title (Secret plan)"), std::string::npos);
    EXPECT_EQ(out.str().find("Decoy"), std::string::npos);
}

TEST(NavigationEndToEnd, CorpusLinksAndInformation) {
    std::string hyperlink, sample;
    for (const std::string& path : test::CorpusFiles()) {
        if (path.ends_with("/hyperlink.doc")) hyperlink = path;
        if (path.ends_with("/SampleDoc.doc")) sample = path;
    }
    if (hyperlink.empty() || sample.empty()) GTEST_SKIP() << "corpus absent";
    auto convert = [](const std::string& path) {
        TOpened o;
        EXPECT_TRUE(o.session.openfilenow(path).Imported);
        std::ostringstream out;
        EXPECT_TRUE(o.session.SavePDFFile(out));
        return out.str();
    };
    const std::string links = convert(hyperlink);
    EXPECT_NE(links.find("/URI (http://testuri.org/)"), std::string::npos);
    const std::string info = convert(sample);
    EXPECT_NE(info.find("/Title (Test Document)"), std::string::npos);
    EXPECT_NE(info.find("/Author (Nick Burch)"), std::string::npos);
    if (test::ToolAvailable("qpdf")) {
        EXPECT_TRUE(QpdfAccepts(links));
        EXPECT_TRUE(QpdfAccepts(info));
    }
}

}  // namespace
}  // namespace qm
