#include "app/window/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QVBoxLayout>

#include "app/window/about_box.h"
#include "app/window/image_button.h"
#include "app/window/pictures.h"
#include "app/window/preview_geometry.h"
#include "base/wipe.h"

namespace qm {

namespace {

// Dark blue, Windows colour 0x800000.
const QColor kProgressColour(0x00, 0x00, 0x80);

std::string ExecutableFolder() {
    return WithTrailingSlash(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

std::string LocalName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
QString DisplayName(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

// Shows the wait cursor while long work runs on the window's thread.
class TBusyCursor {
  public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

QEvent::Type TProgressEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

TMainForm::TMainForm(TWindowServices services)
    : services_(std::move(services)),
      programDir_(services_.ProgramDir.empty() ? ExecutableFolder()
                                               : WithTrailingSlash(services_.ProgramDir)),
      messageBoxes_(this),
      messages_(services_.Messages != nullptr ? services_.Messages : &messageBoxes_),
      session_(*this, messages_),
      favourites_(services_.FoldersFile.empty() ? FoldersDatPath(programDir_)
                                                : services_.FoldersFile),
      pageBitmap_(1, 1, kScreenDpi) {
    setWindowTitle("Brantock Quillmere 1.1");
    setWindowIcon(AppIcon());

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(CreateSelectPage(), "Select word file");
    PageControl1->addTab(CreatePdfPage(), "Create PDF file");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(CreateBottomStrip());
    setCentralWidget(central);
    CreateStatusBar();

    RepaintTimer = new QTimer(this);
    RepaintTimer->setSingleShot(true);
    RepaintTimer->setInterval(1);
    connect(RepaintTimer, &QTimer::timeout, this, [this] { RepaintTimerTimer(); });
    // Each layout restarts the one-shot timer, so the preview is repainted once, after the
    // event that laid out has been handled.
    session_.Document().RefreshHook = [this] { RepaintTimer->start(); };

    SetSelectedFolder(DisplayName(programDir_));
    LoadFavourites();
    PageControl1->setCurrentIndex(0);
    resize(1000, 760);
}

TMainForm::~TMainForm() {
    session_.Document().RefreshHook = nullptr;
}

QWidget* TMainForm::CreateBottomStrip() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 2, 0, 2);
    InfoBtn = new TImageBtn("Information", InfoPicture(false), InfoPicture(true), strip);
    InfoBtn->setObjectName("InfoBtn");
    WebBtn = new QPushButton("Web site", strip);
    WebBtn->setObjectName("WebBtn");
    WebBtn->setToolTip(kWebSite);
    ExitBtn = new TImageBtn("Exit", ExitPicture(false), ExitPicture(true), strip);
    ExitBtn->setObjectName("ExitBtn");
    row->addWidget(InfoBtn);
    row->addWidget(WebBtn);
    row->addStretch(1);
    row->addWidget(ExitBtn);
    connect(InfoBtn, &QAbstractButton::clicked, this, [this] { InfoBtnClick(); });
    connect(WebBtn, &QPushButton::clicked, this, [this] { OpenUrl(QUrl(kWebSite)); });
    connect(ExitBtn, &QAbstractButton::clicked, this, [this] { close(); });
    return strip;
}

void TMainForm::CreateStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusText = new QLabel(StatusBar1);
    StatusText->setFixedWidth(250);
    ProgressPanel = new TProgressPanel(StatusBar1);
    ProgressPanel->setObjectName("ProgressPanel");
    ProgressPanel->setFixedWidth(50);
    ProgressPanel->OnDraw = [this](QPainter& p) { StatusBar1DrawPanel(p); };
    StatusBar1->addWidget(StatusText);
    StatusBar1->addWidget(ProgressPanel);
    setStatusBar(StatusBar1);
}

// Asks until a password opens the document; false when the user cancels. A document that asks
// for no password passes at once, and so does one that cannot be read: its import says why.
bool TMainForm::AskPasswordFor(const std::string& path, std::string& password) {
    if (TConversionSession::CheckPassword(path, "") != TPasswordCheck::Missing) return true;
    QString prompt = "This document is password protected. Password:";
    for (;;) {
        std::optional<QString> answer;
        if (services_.AskPassword) {
            answer = services_.AskPassword(prompt);
        } else {
            bool ok = false;
            answer = QInputDialog::getText(this, QString(), prompt, QLineEdit::Password, {}, &ok);
            if (!ok) answer.reset();
        }
        if (!answer) return false;
        password = answer->toStdString();
        answer->fill(QChar(0));
        const TPasswordCheck check = TConversionSession::CheckPassword(path, password);
        if (check != TPasswordCheck::Wrong && check != TPasswordCheck::Missing) return true;
        Wipe(password);
        prompt = "The password is not correct. Password:";
    }
}

void TMainForm::openfilenow(const QString& path) {
    const std::string local = LocalName(path);
    std::string password;
    if (!AskPasswordFor(local, password)) return;
    DestEdit->setText(DisplayName(TConversionSession::DestinationFor(local)));
    TOpenOutcome outcome;
    {
        TBusyCursor busy;
        importing_ = true;
        session_.SetPassword(std::move(password));
        outcome = session_.openfilenow(local);
        importing_ = false;
    }
    ShowNotices(outcome.Notices);
    StatusText->setText(QFileInfo(path).fileName());
    UpdatePaintBoxSize();
    PageControl1->setCurrentIndex(1);
}

void TMainForm::ShowNotices(const std::vector<std::string>& notices) {
    QStringList lines;
    for (const std::string& notice : notices)
        lines << QString::fromStdString(notice);
    NoticeList->setText(lines.join('\n'));
    NoticeList->setVisible(!lines.isEmpty());
}

void TMainForm::OpenFromCommandLine(const QString& path) {
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    SetSelectedFolder(folder);
    AddToPrefFolders(DisplayName(WithTrailingSlash(LocalName(folder))));
    openfilenow(file.absoluteFilePath());
}

void TMainForm::GoBtnClick() {
    const QString destination = DestEdit->text();
    if (destination.trimmed().isEmpty()) {
        messages_.ShowMessage("You have to choose a destination file first!",
                              TMessageIcon::Information);
        return;
    }
    {
        TBusyCursor busy;
        session_.SavePDFFile(LocalName(destination));
    }
    // The file is shown whether or not it could be written.
    if (ShowCheck->isChecked()) ShowBtnClick();
}

void TMainForm::ShowBtnClick() {
    const QString destination = DestEdit->text();
    // An empty box names no file to create or show.
    if (destination.trimmed().isEmpty()) return;
    QFile file(destination);
    // The viewer is always given an existing file; failing to create one is ignored.
    if (!file.exists() && file.open(QIODevice::WriteOnly)) file.close();
    OpenUrl(QUrl::fromLocalFile(QFileInfo(destination).absoluteFilePath()));
}

void TMainForm::DestBtnClick() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter("PDF-Dateien (*.pdf);;Alle Dateien (*)");
    dialog.setDefaultSuffix("pdf");
    if (!DestEdit->text().isEmpty()) dialog.selectFile(DestEdit->text());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        DestEdit->setText(dialog.selectedFiles().first());
}

void TMainForm::SetProStatus(int percent) {
    const int old = progressPercent_;
    progressPercent_ = percent;
    if (percent < old) {
        // A falling bar needs the cleared panel: the whole status bar is painted again.
        StatusBar1->repaint();
        return;
    }
    // A bar that only grows: paint the growth directly, without erasing.
    const int from = ProgressBarRight(progressRect_.left(), progressRect_.right() + 1, old);
    const int to = ProgressBarRight(progressRect_.left(), progressRect_.right() + 1, percent);
    if (to > from) {
        ProgressPanel->repaint(QRect(from, progressRect_.top(), to - from, progressRect_.height()));
    }
}

void TMainForm::StatusBar1DrawPanel(QPainter& painter) {
    // The painter is clipped to the area being painted: a growing bar paints only its growth.
    const QRect panel = ProgressPanel->rect();
    const int right = ProgressBarRight(panel.left(), panel.right() + 1, progressPercent_);
    painter.fillRect(QRect(panel.left(), panel.top(), right - panel.left(), panel.height()),
                     kProgressColour);
    painter.fillRect(QRect(right, panel.top(), panel.right() + 1 - right, panel.height()),
                     ProgressPanel->palette().window());
    progressRect_ = panel;
}

void TMainForm::customEvent(QEvent* event) {
    if (event->type() == TProgressEvent::EventType()) {
        SetProStatus(static_cast<TProgressEvent*>(event)->Percent);
        return;
    }
    QMainWindow::customEvent(event);
}

bool TMainForm::FormCloseQuery() {
    if (services_.ConfirmQuit) return services_.ConfirmQuit();
    return QMessageBox::information(this, "Quit program",
                                    "You are going to leave the program now...",
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TMainForm::InfoBtnClick() {
    TAboutBox box(this, [this] { OpenUrl(QUrl(kWebSite)); });
    box.exec();
}

void TMainForm::OpenUrl(const QUrl& url) {
    if (services_.OpenUrl)
        services_.OpenUrl(url);
    else
        QDesktopServices::openUrl(url);
}

}  // namespace qm
