#include "app/window/about_box.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/window/pictures.h"

namespace qm {

QString WithYear(QString line, int year) {
    return line.replace("XXXX", QString::number(year));
}

TAboutBox::TAboutBox(QWidget* parent, std::function<void()> openWebSite) : QDialog(parent) {
    setWindowTitle("About Quillmere");
    yearLine_ = WithYear("Copyright \u00A9 XXXX Brantock", QDate::currentDate().year());

    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(64, 64));
    auto* title = new QLabel("<b>Brantock Quillmere 1.1</b>", this);
    auto* what = new QLabel("Converts Word 97-2003 documents (.doc) to PDF.", this);
    auto* year = new QLabel(yearLine_, this);
    year->setObjectName("YearLabel");
    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(what);
    text->addWidget(year);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* web = buttons->addButton(kWebSite, QDialogButtonBox::ActionRole);
    web->setObjectName("WebSiteButton");
    connect(web, &QPushButton::clicked, this, [openWebSite] {
        if (openWebSite) openWebSite();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

}  // namespace qm
