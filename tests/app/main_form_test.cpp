#include <QFileSystemModel>
#include <QStatusBar>
#include <QTabBar>
#include <filesystem>
#include <set>

#include "app/window/about_box.h"
#include "app/window/image_button.h"
#include "builder/picture_builder.h"
#include "builder/word_builder.h"
#include "tests/app/window_fixture.h"

namespace qm {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// A Word document of the shared corpus, or an empty string when the corpus is absent.
QString CorpusFile(const char* name) {
    const std::string path = std::string(QM_SHARED_DIR) + "/corpus/" + name;
    return std::filesystem::exists(path) ? QString::fromStdString(path) : QString();
}

TEST_F(WindowTest, StartsOnTheFileBrowserWithTheDesignedCaptions) {
    EXPECT_EQ(form_->windowTitle(), "Brantock Quillmere 1.1");
    ASSERT_EQ(form_->PageControl1->count(), 2);
    EXPECT_EQ(form_->PageControl1->tabText(0), "Select word file");
    EXPECT_EQ(form_->PageControl1->tabText(1), "Create PDF file");
    EXPECT_EQ(form_->PageControl1->currentIndex(), 0);
    EXPECT_EQ(form_->ShowCheck->text(), "Show PDF file after creation ");
    EXPECT_TRUE(form_->ShowCheck->isChecked());
    EXPECT_EQ(form_->ShowBtn->text(), "Show...");
    EXPECT_EQ(form_->GoBtn->text(), "Go!");
    EXPECT_TRUE(form_->DestEdit->text().isEmpty());
    EXPECT_EQ(form_->FilterComboBox1->count(), 1);
    EXPECT_EQ(form_->FilterComboBox1->currentData().toString(), "*.doc");
    EXPECT_EQ(form_->StatusText->width(), 250);
    EXPECT_EQ(form_->ProgressPanel->width(), 50);
    // The tree starts at the program's folder; the model holds one empty laid-out page.
    EXPECT_EQ(form_->SelectedFolder(), program_.path());
    EXPECT_EQ(form_->Session().Document().GetAnzPages(), 1);
}

TEST_F(WindowTest, FileListShowsFoldersAndDocFilesInAnyLetterCase) {
    MakeFile("docs/letter.doc");
    MakeFile("docs/OLD.DOC");
    MakeFile("docs/Mixed.Doc");
    MakeFile("docs/notes.txt");
    MakeFile("docs/letter.docx");
    QDir().mkpath(Path("docs/sub"));
    form_->SetSelectedFolder(Path("docs"));
    auto* model = static_cast<QFileSystemModel*>(form_->ShellList1->model());
    const QModelIndex root = form_->ShellList1->rootIndex();
    std::set<QString> names;
    auto shown = [&] {
        names.clear();
        for (int r = 0; r < model->rowCount(root); ++r)
            names.insert(model->fileName(model->index(r, 0, root)));
        return names.size() >= 4;
    };
    ASSERT_TRUE(QTest::qWaitFor(shown, 5000));
    QTest::qWait(50);
    shown();
    EXPECT_EQ(names, (std::set<QString>{"letter.doc", "OLD.DOC", "Mixed.Doc", "sub"}));
}

// Double-clicks the file `name` in the list, waiting for the list to show it.
void DoubleClickInList(TMainForm& form, const QString& name) {
    auto* model = static_cast<QFileSystemModel*>(form.ShellList1->model());
    QModelIndex item;
    const bool found = QTest::qWaitFor(
        [&] {
            const QModelIndex root = form.ShellList1->rootIndex();
            for (int r = 0; r < model->rowCount(root); ++r) {
                const QModelIndex candidate = model->index(r, 0, root);
                if (model->fileName(candidate) == name) item = candidate;
            }
            return item.isValid();
        },
        5000);
    if (!found) {
        const QModelIndex root = form.ShellList1->rootIndex();
        std::string shown;
        for (int r = 0; r < model->rowCount(root); ++r)
            shown += " " + model->fileName(model->index(r, 0, root)).toStdString();
        ADD_FAILURE() << name.toStdString() << " not in " << model->filePath(root).toStdString()
                      << ":" << shown;
        return;
    }
    form.ShellList1->setCurrentIndex(item);
    form.ShellList1DblClick();
}

TEST_F(WindowTest, OpeningFilesOrdersTheFavouriteFolders) {
    MakeFile("A/one.doc");
    MakeFile("B/two.doc");
    const QString a = Path("A") + "/", b = Path("B") + "/";
    form_->SetSelectedFolder(Path("A"));
    DoubleClickInList(*form_, "one.doc");
    form_->SetSelectedFolder(Path("B"));
    DoubleClickInList(*form_, "two.doc");
    ASSERT_EQ(form_->PrefListBox->count(), 2);
    EXPECT_EQ(form_->PrefListBox->item(0)->text(), b);
    form_->SetSelectedFolder(Path("A"));
    DoubleClickInList(*form_, "one.doc");
    ASSERT_EQ(form_->PrefListBox->count(), 2);
    EXPECT_EQ(form_->PrefListBox->item(0)->text(), a);
    EXPECT_EQ(form_->PrefListBox->item(1)->text(), b);
    EXPECT_EQ(ReadAll(ProgramPath("folders.dat")), (a + "\r\n" + b + "\r\n").toUtf8());

    // A new window reads the list back in the same order.
    form_.reset();
    TWindowServices services;
    services.Messages = &messages_;
    services.ConfirmQuit = [] { return true; };
    services.ProgramDir = ProgramPath("").toStdString();
    services.FoldersFile = ProgramPath("folders.dat").toStdString();
    form_ = std::make_unique<TMainForm>(services);
    ASSERT_EQ(form_->PrefListBox->count(), 2);
    EXPECT_EQ(form_->PrefListBox->item(0)->text(), a);
}

TEST_F(WindowTest, FoldersDifferingInLetterCaseAreSeparateFavourites) {
    MakeFile("Docs/x.doc");
    MakeFile("docs/y.doc");
    form_->SetSelectedFolder(Path("Docs"));
    DoubleClickInList(*form_, "x.doc");
    form_->SetSelectedFolder(Path("docs"));
    DoubleClickInList(*form_, "y.doc");
    ASSERT_EQ(form_->PrefListBox->count(), 2);
    EXPECT_EQ(form_->PrefListBox->item(0)->text(), Path("docs") + "/");
    EXPECT_EQ(form_->PrefListBox->item(1)->text(), Path("Docs") + "/");
}

TEST_F(WindowTest, PickingAFileFillsTheDestinationAndShowsThePdfPage) {
    MakeFile("in/report.doc");
    form_->SetSelectedFolder(Path("in"));
    DoubleClickInList(*form_, "report.doc");
    EXPECT_EQ(form_->DestEdit->text(), Path("in/report.pdf"));
    EXPECT_EQ(form_->PageControl1->currentIndex(), 1);
    // Not a compound file: the importer's message, with the error icon.
    ASSERT_EQ(messages_.Messages.size(), 1u);
    EXPECT_EQ(messages_.Messages[0].Text, "Can not open docfile!");
    EXPECT_EQ(messages_.Messages[0].Icon, TMessageIcon::Error);
    // The layout restarted the one-shot repaint timer.
    EXPECT_TRUE(form_->RepaintTimer->isSingleShot());
    EXPECT_EQ(form_->RepaintTimer->interval(), 1);
    EXPECT_TRUE(form_->RepaintTimer->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->RepaintTimer->isActive(); }, 1000));
}

TEST_F(WindowTest, DoubleClickOnAFolderEntersIt) {
    MakeFile("top/inner/deep.doc");
    form_->SetSelectedFolder(Path("top"));
    DoubleClickInList(*form_, "inner");
    EXPECT_EQ(form_->SelectedFolder(), Path("top/inner"));
    EXPECT_EQ(form_->PrefListBox->count(), 0);
    EXPECT_EQ(form_->PageControl1->currentIndex(), 0);
    // Enter on a file acts as a double click.
    DoubleClickInList(*form_, "deep.doc");  // selects it
    form_->PageControl1->setCurrentIndex(0);
    QTest::keyClick(form_->ShellList1, Qt::Key_Return);
    EXPECT_EQ(form_->PageControl1->currentIndex(), 1);
}

TEST_F(WindowTest, NothingSelectedDoesNothing) {
    form_->ShellList1->clearSelection();
    form_->ShellList1->setCurrentIndex(QModelIndex());
    form_->ShellList1DblClick();
    EXPECT_EQ(form_->PrefListBox->count(), 0);
    EXPECT_TRUE(form_->DestEdit->text().isEmpty());
}

TEST_F(WindowTest, FavouriteDoubleClickSelectsItsFolder) {
    QDir().mkpath(Path("fav"));
    form_->AddToPrefFolders(Path("fav") + "/");
    form_->PrefListBox->setCurrentRow(0);
    form_->PrefListBoxDblClick();
    EXPECT_EQ(form_->SelectedFolder(), Path("fav"));
    // A favourite that no longer exists leaves the tree where it is.
    form_->AddToPrefFolders(Path("gone") + "/");
    form_->PrefListBox->setCurrentRow(0);
    form_->PrefListBoxDblClick();
    EXPECT_EQ(form_->SelectedFolder(), Path("fav"));
}

TEST_F(WindowTest, CommandLineFileIsOpenedAsIfDoubleClicked) {
    const QString file = MakeFile("cli/given.doc");
    form_->OpenFromCommandLine(file);
    EXPECT_EQ(form_->SelectedFolder(), Path("cli"));
    ASSERT_EQ(form_->PrefListBox->count(), 1);
    EXPECT_EQ(form_->PrefListBox->item(0)->text(), Path("cli") + "/");
    EXPECT_EQ(form_->DestEdit->text(), Path("cli/given.pdf"));
    EXPECT_EQ(form_->PageControl1->currentIndex(), 1);
}

TEST_F(WindowTest, GoWithoutDestinationOnlyAsksForOne) {
    form_->GoBtnClick();
    ASSERT_EQ(messages_.Messages.size(), 1u);
    EXPECT_EQ(messages_.Messages[0].Text, "You have to choose a destination file first!");
    EXPECT_EQ(messages_.Messages[0].Icon, TMessageIcon::Information);
    EXPECT_TRUE(opened_.empty());
}

TEST_F(WindowTest, GoBeforeAnyFileWritesTheEmptyStartPage) {
    const QString pdf = Path("empty.pdf");
    form_->DestEdit->setText(pdf);
    QTest::mouseClick(form_->GoBtn, Qt::LeftButton);
    EXPECT_TRUE(messages_.Messages.empty());
    const QByteArray bytes = ReadAll(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF-1.3"));
    EXPECT_TRUE(bytes.contains("/Count 1"));
    // The box is ticked: the file is handed to the viewer.
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl::fromLocalFile(pdf));
    EXPECT_EQ(form_->ProgressPercent(), 0);
}

TEST_F(WindowTest, UnwritableDestinationIsReportedAndStillShown) {
    const QString pdf = Path("missing-folder/out.pdf");
    form_->DestEdit->setText(pdf);
    form_->GoBtnClick();
    ASSERT_EQ(messages_.Messages.size(), 1u);
    EXPECT_EQ(messages_.Messages[0].Text, "Can not create the PDF file.");
    EXPECT_EQ(messages_.Messages[0].Icon, TMessageIcon::Information);
    EXPECT_EQ(opened_.size(), 1u);
    // Unticked: nothing is shown.
    form_->ShowCheck->setChecked(false);
    form_->GoBtnClick();
    EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(WindowTest, ShowCreatesAMissingFileEmptyFirst) {
    const QString pdf = Path("later.pdf");
    form_->DestEdit->setText(pdf);
    form_->ShowBtnClick();
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(QFileInfo(pdf).size(), 0);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl::fromLocalFile(pdf));
    // An existing file is left as it is.
    MakeFile("kept.pdf", "%PDF-1.3 kept");
    form_->DestEdit->setText(Path("kept.pdf"));
    form_->ShowBtnClick();
    EXPECT_EQ(ReadAll(Path("kept.pdf")), "%PDF-1.3 kept");
}

TEST_F(WindowTest, ConvertsACorpusDocumentThroughTheWindow) {
    const QString doc = CorpusFile("simple.doc");
    if (doc.isEmpty()) GTEST_SKIP() << "the shared corpus is absent";
    const QString copy = Path("work/simple.doc");
    QDir().mkpath(Path("work"));
    ASSERT_TRUE(QFile::copy(doc, copy));
    form_->OpenFromCommandLine(copy);
    EXPECT_TRUE(messages_.Messages.empty());
    EXPECT_EQ(form_->DestEdit->text(), Path("work/simple.pdf"));
    EXPECT_EQ(form_->StatusText->text(), "simple.doc");
    form_->GoBtnClick();
    const QByteArray bytes = ReadAll(Path("work/simple.pdf"));
    ASSERT_TRUE(bytes.startsWith("%PDF-1.3"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    EXPECT_TRUE(bytes.contains("/Font"));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(form_->ProgressPercent(), 0);
}

TEST_F(WindowTest, CancelOnQuitKeepsTheWindow) {
    ShowWindow();
    quitAnswer_ = false;
    EXPECT_FALSE(form_->close());
    EXPECT_EQ(quitQuestions_, 1);
    EXPECT_TRUE(form_->isVisible());
    quitAnswer_ = true;
    QTest::mouseClick(form_->ExitBtn, Qt::LeftButton);
    EXPECT_EQ(quitQuestions_, 2);
    EXPECT_FALSE(form_->isVisible());
}

TEST_F(WindowTest, AboutBoxShowsTheCurrentYearAndOpensTheWebSite) {
    bool opened = false;
    TAboutBox box(form_.get(), [&] { opened = true; });
    const QString year = QString::number(QDate::currentDate().year());
    EXPECT_TRUE(box.YearLine().contains(year));
    EXPECT_FALSE(box.YearLine().contains("XXXX"));
    auto* web = box.findChild<QPushButton*>("WebSiteButton");
    ASSERT_NE(web, nullptr);
    web->click();
    EXPECT_TRUE(opened);
    EXPECT_EQ(WithYear("(C) XXXX-XXXX", 2031), "(C) 2031-2031");
    form_->WebBtn->click();
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl(kWebSite));
}

TEST_F(WindowTest, ImageButtonShowsItsPressedPictureWhileHeld) {
    ShowWindow();
    form_->PageControl1->setCurrentIndex(1);
    TImageBtn* go = form_->GoBtn;
    const QImage up = go->grab().toImage();
    QTest::mousePress(go, Qt::LeftButton);
    EXPECT_TRUE(go->isDown());
    EXPECT_NE(go->grab().toImage(), up);
    // Leaving with the button held brings the first picture back.
    QMouseEvent away(QEvent::MouseMove, QPointF(-20, -20), go->mapToGlobal(QPointF(-20, -20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(go, &away);
    EXPECT_FALSE(go->isDown());
    EXPECT_EQ(go->grab().toImage(), up);
    QTest::mouseRelease(go, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_TRUE(messages_.Messages.empty());  // no click: "Go!" did not run
}

// What a document's reading left out is listed above its preview, and the list goes when the
// next document leaves nothing out.
TEST_F(WindowTest, TheNoticesOfTheOpenedDocumentStandAboveThePreview) {
    TStoredPicture damaged;
    damaged.Kind = TStoredKind::Png;
    damaged.Bytes = {0x89, 'P', 'N', 'G', 1, 2, 3};
    TWordBuilder withLoss;
    withLoss.Text(u"text ").Picture(StorePicture(damaged)).Paragraph();
    auto open = [&](const QString& name, const TWordBuilder& builder) {
        const std::vector<uint8_t> bytes = builder.Build();
        form_->openfilenow(MakeFile(name, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<qsizetype>(bytes.size()))));
    };
    open("lossy.doc", withLoss);
    EXPECT_FALSE(form_->NoticeList->isHidden());
    EXPECT_EQ(form_->NoticeList->text(),
              "1 picture was left out: damaged, too large, or of a kind not read.");

    TWordBuilder plain;
    plain.Para(u"text");
    open("whole.doc", plain);
    EXPECT_TRUE(form_->NoticeList->isHidden());
    EXPECT_TRUE(form_->NoticeList->text().isEmpty());
}

// An encrypted document's password is asked before anything changes, again after a wrong one;
// Cancel keeps the document shown before.
TEST_F(WindowTest, AnEncryptedDocumentAsksForItsPasswordAndCancelKeepsTheWindow) {
    auto make = [&](const QString& name, const TWordBuilder& builder) {
        const std::vector<uint8_t> bytes = builder.Build();
        return MakeFile(name, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                         static_cast<qsizetype>(bytes.size())));
    };
    auto firstLine = [&] {
        std::u32string text;
        for (const TCharRec& ch : form_->Session().Document().Fields[0].Lines[0].Chars)
            text.push_back(ch.Code);
        return text;
    };
    TWordBuilder locked;
    locked.Options().Protection.Cipher = TWordCipher::Rc4;
    locked.Options().Protection.Password = "Kennwort";
    locked.Para(u"Behind a password.");
    const QString lockedPath = make("locked.doc", locked);
    form_->openfilenow(make("open.doc", TWordBuilder().Para(u"In the open.")));
    form_->PageControl1->setCurrentIndex(0);

    // Cancel at once, and Cancel after a wrong password: nothing changes.
    for (int wrong = 0; wrong < 2; ++wrong) {
        prompts_.clear();
        if (wrong) answers_.push_back(QString("kennwort"));
        form_->openfilenow(lockedPath);
        EXPECT_EQ(prompts_.size(), static_cast<size_t>(1 + wrong));
        EXPECT_EQ(firstLine(), U"In the open.");
        EXPECT_EQ(form_->DestEdit->text(), Path("open.pdf"));
        EXPECT_EQ(form_->PageControl1->currentIndex(), 0);
    }

    prompts_.clear();
    answers_ = {QString("kennwort"), QString(""), QString("Kennwort")};
    form_->openfilenow(lockedPath);
    EXPECT_EQ(prompts_, (std::vector<QString>{"This document is password protected. Password:",
                                              "The password is not correct. Password:",
                                              "The password is not correct. Password:"}));
    EXPECT_EQ(firstLine(), U"Behind a password.");
    EXPECT_EQ(form_->DestEdit->text(), Path("locked.pdf"));
    EXPECT_EQ(form_->PageControl1->currentIndex(), 1);
    EXPECT_TRUE(messages_.Messages.empty());
}

}  // namespace
}  // namespace qm
