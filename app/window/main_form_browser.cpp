// The page "Select word file": the folder tree, the file list of .doc files, the file-type box
// and the favourite folders.
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/window/main_form.h"

namespace qm {

namespace {

constexpr int kFavouriteItemHeight = 13;
constexpr int kFavouritesHeight = 33;

QLabel* BoldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

bool IsEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

QWidget* TMainForm::CreateSelectPage() {
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    column->addWidget(
        BoldLabel("Select word file - double click on the file you want to convert", page));

    auto* favourites = new QHBoxLayout;
    favourites->addWidget(BoldLabel("Favorite folders:", page), 0, Qt::AlignTop);
    PrefListBox = new QListWidget(page);
    PrefListBox->setObjectName("PrefListBox");
    PrefListBox->setFixedHeight(kFavouritesHeight);
    PrefListBox->setUniformItemSizes(true);
    favourites->addWidget(PrefListBox, 1);
    column->addLayout(favourites);

    // The tree shows every folder below the file system's root, which is itself the top item.
    treeModel_ = new QFileSystemModel(this);
    treeModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    treeModel_->setRootPath("/");
    ShellTree1 = new QTreeView(page);
    ShellTree1->setObjectName("ShellTree1");
    ShellTree1->setModel(treeModel_);
    for (int c = 1; c < treeModel_->columnCount(); ++c)
        ShellTree1->hideColumn(c);
    ShellTree1->setHeaderHidden(true);

    // The list shows the folder's subfolders and the files matching the mask, in any letter
    // case (no QDir::CaseSensitive): Linux files are often named .DOC.
    listModel_ = new QFileSystemModel(this);
    listModel_->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Drives);
    listModel_->setNameFilterDisables(false);
    ShellList1 = new QTreeView(page);
    ShellList1->setObjectName("ShellList1");
    ShellList1->setModel(listModel_);
    ShellList1->setRootIsDecorated(false);
    ShellList1->setItemsExpandable(false);
    ShellList1->setSortingEnabled(true);
    ShellList1->sortByColumn(0, Qt::AscendingOrder);
    ShellList1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ShellList1->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto* splitter = new QSplitter(page);
    splitter->addWidget(ShellTree1);
    splitter->addWidget(ShellList1);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({300, 600});
    column->addWidget(splitter, 1);

    FilterComboBox1 = new QComboBox(page);
    FilterComboBox1->setObjectName("FilterComboBox1");
    FilterComboBox1->addItem("Word files (*.doc)", "*.doc");
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(FilterComboBox1);
    column->addLayout(bottom);
    FilterComboBox1Change();

    connect(ShellTree1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ShellTree1Change(); });
    connect(ShellList1, &QAbstractItemView::doubleClicked, this, [this] { ShellList1DblClick(); });
    connect(PrefListBox, &QListWidget::itemDoubleClicked, this, [this] { PrefListBoxDblClick(); });
    connect(FilterComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { FilterComboBox1Change(); });
    ShellList1->installEventFilter(this);
    PrefListBox->installEventFilter(this);
    return page;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // While a label is edited the keys go to its editor, not to the list.
    if (watched == ShellList1 && IsEnter(event)) {
        ShellList1DblClick();
        return true;
    }
    if (watched == PrefListBox && IsEnter(event)) {
        PrefListBoxDblClick();
        return true;
    }
    if (watched == ScrollBox1 && event->type() == QEvent::Resize) {
        UpdatePaintBoxSize();
        PaintBox1->update();
    }
    return QMainWindow::eventFilter(watched, event);
}

QString TMainForm::SelectedFolder() const {
    return treeModel_->filePath(ShellTree1->currentIndex());
}

void TMainForm::SetSelectedFolder(const QString& folder) {
    // A folder that does not exist (any more) leaves the tree where it is.
    const QModelIndex index = treeModel_->index(folder);
    if (!index.isValid()) return;
    ShellTree1->setCurrentIndex(index);
    ShellTree1->scrollTo(index);
    ShellTree1Change();
}

void TMainForm::ShellTree1Change() {
    const QString folder = SelectedFolder();
    if (folder.isEmpty()) return;
    ShellList1->setRootIndex(listModel_->setRootPath(folder));
}

void TMainForm::FilterComboBox1Change() {
    const QString mask = FilterComboBox1->currentData().toString();
    listModel_->setNameFilters(mask.split(';', Qt::SkipEmptyParts));
}

void TMainForm::ShellList1DblClick() {
    const QModelIndex item = ShellList1->currentIndex();
    if (!item.isValid() || !ShellList1->selectionModel()->isSelected(item)) return;
    if (listModel_->isDir(item)) {
        SetSelectedFolder(listModel_->filePath(item));
        return;
    }
    const std::string folder = WithTrailingSlash(QFile::encodeName(SelectedFolder()).toStdString());
    const QString folderName = QFile::decodeName(folder.c_str());
    AddToPrefFolders(folderName);
    openfilenow(folderName + listModel_->fileName(item));
}

void TMainForm::LoadFavourites() {
    favourites_.Load();
    ShowFavourites();
}

void TMainForm::ShowFavourites() {
    PrefListBox->clear();
    for (const std::string& folder : favourites_.Items()) {
        auto* item = new QListWidgetItem(QFile::decodeName(folder.c_str()), PrefListBox);
        item->setSizeHint(QSize(0, kFavouriteItemHeight));
    }
}

void TMainForm::AddToPrefFolders(const QString& folder) {
    favourites_.AddToPrefFolders(QFile::encodeName(folder).toStdString());
    ShowFavourites();
}

void TMainForm::PrefListBoxDblClick() {
    const int row = PrefListBox->currentRow();
    if (row < 0 || row >= PrefListBox->count()) return;
    SetSelectedFolder(PrefListBox->item(row)->text());
}

}  // namespace qm
