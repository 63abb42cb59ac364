// The main window: the file browser with the favourite folders on the page "Select word
// file", the destination box, "Go!", "Show..." and the preview on the page "Create PDF file",
// and the status bar with its progress panel. It drives one conversion session, the same
// toolkit-free workflow the command line uses; all long work runs on the window's thread and
// only the progress panel is painted while it runs.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/conversion_session.h"
#include "app/window/favourite_folders.h"
#include "app/window/message_box_sink.h"
#include "app/window/preview_geometry.h"
#include "app/window/preview_widgets.h"
#include "render/preview.h"
#include "render/raster_canvas.h"

namespace qm {

class TImageBtn;

// What the window asks of the desktop. Tests replace these; empty members take the desktop's.
struct TWindowServices {
    TMessageSink* Messages = nullptr;          // null: message boxes
    std::function<bool()> ConfirmQuit;         // empty: the "Quit program" box
    std::function<void(const QUrl&)> OpenUrl;  // empty: the desktop's default application
    std::string ProgramDir;                    // empty: the executable's folder
    std::string FoldersFile;                   // empty: FoldersDatPath(ProgramDir)
    // Asks for a document's password with the prompt; nothing when the user cancels. Empty: an
    // input dialog that hides what is typed.
    std::function<std::optional<QString>(const QString& prompt)> AskPassword;
};

// The progress message: posted to the window, it shows its percentage like SetProStatus.
class TProgressEvent : public QEvent {
  public:
    static QEvent::Type EventType();
    explicit TProgressEvent(int percent) : QEvent(EventType()), Percent(percent) {}
    int Percent;
};

class TMainForm : public QMainWindow, public TProgressSink {
  public:
    explicit TMainForm(TWindowServices services = {});
    ~TMainForm() override;

    // --- the workflow ---
    // Puts the destination beside `path` into the box, imports and lays out the document and
    // shows the page "Create PDF file". An encrypted document's password is asked first, again
    // after a wrong one; Cancel leaves everything as it was.
    void openfilenow(const QString& path);
    // A file named on the command line, opened as if double-clicked in the file list.
    void OpenFromCommandLine(const QString& path);
    void GoBtnClick();
    void ShowBtnClick();
    void DestBtnClick();
    void SetProStatus(int percent) override;
    // Asks "Quit program"; false keeps the window open.
    bool FormCloseQuery();

    // --- the file browser and the favourite folders ---
    void AddToPrefFolders(const QString& folder);
    void ShellList1DblClick();
    void PrefListBoxDblClick();
    void FilterComboBox1Change();
    // The folder selected in the tree, and selecting one (the file list follows).
    QString SelectedFolder() const;
    void SetSelectedFolder(const QString& folder);

    // --- the preview ---
    void PaintBox1Paint(QPainter& painter, const QRect& area);
    void PaintBox1MouseDown(QMouseEvent& event);
    void PaintBox1MouseMove(QMouseEvent& event);
    void PaintBox1MouseUp(QMouseEvent& event);
    void ScrollCursorinView();
    // Sizes the paint box for the laid-out pages; true when its size changed.
    bool UpdatePaintBoxSize();

    TConversionSession& Session() { return session_; }
    const TFavouriteFolders& Favourites() const { return favourites_; }
    int ProgressPercent() const { return progressPercent_; }
    QRect ProgressRect() const { return progressRect_; }
    bool DragActive() const { return dragActive_; }
    const std::string& ProgramDir() const { return programDir_; }

    // The controls, named as the program's design names them.
    QTabWidget* PageControl1 = nullptr;
    QTreeView* ShellTree1 = nullptr;
    QTreeView* ShellList1 = nullptr;
    QListWidget* PrefListBox = nullptr;
    QComboBox* FilterComboBox1 = nullptr;
    TImageBtn* GoBtn = nullptr;
    QLineEdit* DestEdit = nullptr;
    QToolButton* DestBtn = nullptr;
    QCheckBox* ShowCheck = nullptr;
    QPushButton* ShowBtn = nullptr;
    // The notices of the document last opened: what its reading left out or showed otherwise.
    QLabel* NoticeList = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusText = nullptr;
    TProgressPanel* ProgressPanel = nullptr;
    TImageBtn* InfoBtn = nullptr;
    TImageBtn* ExitBtn = nullptr;
    QPushButton* WebBtn = nullptr;
    QTimer* RepaintTimer = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* CreateSelectPage();
    QWidget* CreatePdfPage();
    QWidget* CreateBottomStrip();
    void CreateStatusBar();
    void ShowNotices(const std::vector<std::string>& notices);
    bool AskPasswordFor(const std::string& path, std::string& password);
    void LoadFavourites();
    void ShowFavourites();
    void ShellTree1Change();
    void InfoBtnClick();
    void OpenUrl(const QUrl& url);
    void RepaintTimerTimer();
    void StatusBar1DrawPanel(QPainter& painter);
    TPaintBoxLayout PreviewLayout(const TWalkGeometry& geometry);
    void DrawPreviewPage(QPainter& painter, int32_t page, const TWalkGeometry& geometry);

    TWindowServices services_;
    std::string programDir_;
    TMessageBoxSink messageBoxes_;
    TMessageRelay messages_;
    TConversionSession session_;
    TFavouriteFolders favourites_;
    QFileSystemModel* treeModel_ = nullptr;
    QFileSystemModel* listModel_ = nullptr;

    // Set while a document is imported: a message box shown by the importer runs the event
    // loop, and the half-read model must not be painted meanwhile.
    bool importing_ = false;
    int progressPercent_ = 0;
    QRect progressRect_;

    TRasterCanvas pageBitmap_;
    QImage screenImage_;
    bool dragActive_ = false;
    QPoint dragStart_;
    QPoint dragScroll_;
};

}  // namespace qm
