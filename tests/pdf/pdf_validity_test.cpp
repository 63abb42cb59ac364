// Files the writer produces must pass qpdf's structural check and open in poppler's tools.
#include <gtest/gtest.h>

#include <string>

#include "pdf/pdf_canvas.h"
#include "pdf_test_support.h"

namespace qm {
namespace {

using test::RunCommand;

class PdfValidity : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"qpdf", "pdftotext", "pdfinfo", "pdffonts", "pdfimages"}) {
            if (!test::HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
        }
    }

    // Writes the document to a file and returns its path.
    std::string Write(const std::string& name, const std::function<void(TPDFCanvas&)>& draw) {
        const std::string path = folder_.File(name);
        TPDFCanvas canvas;
        EXPECT_TRUE(canvas.BeginDoc(path));
        draw(canvas);
        EXPECT_TRUE(canvas.EndDoc()) << canvas.ErrorText();
        return path;
    }

    static void ExpectQpdfClean(const std::string& path) {
        std::string out;
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "' 2>&1", out), 0) << out;
        EXPECT_NE(out.find("No syntax or stream encoding errors found"), std::string::npos) << out;
        EXPECT_EQ(out.find("WARNING"), std::string::npos) << out;
    }

    static std::string Run(const std::string& command) {
        std::string out;
        EXPECT_EQ(RunCommand(command + " 2>&1", out), 0) << command << "\n" << out;
        return out;
    }

    test::TTempFolder folder_;
};

// The value of a "Name:   value" line of pdfinfo's output.
std::string InfoField(const std::string& info, const std::string& name) {
    for (const std::string& line : test::SplitLines(info)) {
        if (line.rfind(name + ":", 0) != 0) continue;
        const size_t value = line.find_first_not_of(' ', name.size() + 1);
        return value == std::string::npos ? "" : line.substr(value);
    }
    return "<missing>";
}

TEST_F(PdfValidity, TheEmptyDocumentIsValid) {
    const std::string path = Write("empty.pdf", [](TPDFCanvas&) {});
    ExpectQpdfClean(path);
    const std::string info = Run("pdfinfo '" + path + "'");
    EXPECT_EQ(InfoField(info, "Pages"), "1");
    EXPECT_EQ(InfoField(info, "PDF version"), "1.3");
    EXPECT_EQ(InfoField(info, "Page size"), "594 x 840 pts");  // the MediaBox is size - 1
}

void DrawRichPage(TPDFCanvas& c, int page, const TDib& picture, const TDib& mono) {
    c.PageWidth = 615;
    c.PageHeight = 861;
    c.Brush.Color = 0xFFFFFF;
    c.FillRect(0, 0, 615, 861);
    c.Pen.Color = 0x0000FF;
    c.Pen.Width = 2;
    c.Pen.Style = psDash;
    c.MoveTo(20, 20);
    c.LineTo(590, 20);
    c.Pen.Style = psSolid;
    c.Pen.Width = 0;
    c.Brush.Style = bsClear;
    c.Rectangle(30, 30, 200, 120);
    c.Brush.Style = bsSolid;
    c.Brush.Color = 0xCCEEFF;
    c.Rectangle(220, 30, 400, 120);
    const char* faces[] = {"Arial", "Times New Roman", "Courier New", "Face (with) #odd/name"};
    const uint8_t styles[] = {0, kStyleBold, kStyleItalic | kStyleUnderline,
                              kStyleBold | kStyleItalic};
    int32_t y = 140;
    for (int f = 0; f < 4; ++f) {
        c.Font.Name = faces[f];
        c.Font.Style = styles[f];
        c.Font.Size = 10 + 2 * f;
        c.Font.Color = f == 1 ? 0x008000 : 0;
        const std::string text = "Page " + std::to_string(page + 1) + " line " + std::to_string(f) +
                                 " (quoted) back\\slash caf\xE9";
        int32_t x = 40;
        for (const char ch : text) {  // one text object per character, as pages are drawn
            const std::string one(1, ch);
            c.TextOut(x, y, one);
            x += c.TextWidth(one);
        }
        y += c.TextHeight("X") + 6;
    }
    c.DrawImage(40, 400, 120, 80, picture, 0, 0, DIBWidth(picture), DIBHeight(picture));
    c.DrawImage(200, 400, 40, 40, mono, 0, 0, DIBWidth(mono), DIBHeight(mono));
}

TEST_F(PdfValidity, TextPensFillsFontsAndImagesPassEveryTool) {
    TDib picture = test::SolidImage(60, 40, 0x3366CC);
    for (int32_t x = 0; x < 60; ++x)
        setpixel(picture, x, x * 40 / 60, 0x00FF00);
    TDib mono;
    ASSERT_TRUE(newdib(mono, 17, 9, 1, nullptr, 0));
    for (int32_t x = 0; x < 17; x += 2)
        setpixel(mono, x, 4, 1);
    const std::string path = Write("rich.pdf", [&](TPDFCanvas& c) {
        for (int page = 0; page < 3; ++page) {
            if (page > 0) c.NextPage();
            DrawRichPage(c, page, picture, mono);
        }
    });
    ExpectQpdfClean(path);

    const std::string info = Run("pdfinfo '" + path + "'");
    EXPECT_EQ(InfoField(info, "Pages"), "3");
    EXPECT_EQ(InfoField(info, "Page size"), "614 x 860 pts");

    const std::string text = Run("pdftotext -layout '" + path + "' -");
    for (const char* expected : {"Page 1 line 0", "Page 2 line 1", "Page 3 line 3", "(quoted)",
                                 "back\\slash", "caf\xC3\xA9"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }

    const std::string fonts = Run("pdffonts '" + path + "'");
    // pdffonts shows the names decoded: the escapes must have parsed back to the face names.
    for (const char* name : {"Arial ", "Times New Roman,Bold ", "Courier New,Italic ",
                             "Face (with) #odd/name,BoldItalic "}) {
        EXPECT_NE(fonts.find(name), std::string::npos) << name << "\n" << fonts;
    }

    // Two placements on each of three pages: six JPEG images of the pictures' pixel sizes.
    const std::string images = Run("pdfimages -list '" + path + "'");
    EXPECT_EQ(test::SplitLines(images).size(), 2u + 6u) << images;
    EXPECT_NE(images.find("     60    40  rgb     3   8  jpeg"), std::string::npos) << images;
    EXPECT_NE(images.find("     17     9  rgb     3   8  jpeg"), std::string::npos) << images;
}

TEST_F(PdfValidity, AStandInImageKeepsTheFileValid) {
    const TDib wide = test::SolidImage(70000, 1, 0);
    const std::string path = Write(
        "standin.pdf", [&](TPDFCanvas& c) { c.DrawImage(0, 0, 300, 10, wide, 0, 0, 70000, 1); });
    ExpectQpdfClean(path);
    EXPECT_NE(Run("pdfimages -list '" + path + "'").find("      1     1  rgb"), std::string::npos);
}

}  // namespace
}  // namespace qm
