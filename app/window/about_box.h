// The information box: the program's name and version, a copyright line whose "XXXX" becomes
// the current year, and a button that opens the web site.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

namespace qm {

inline constexpr const char* kWebSite = "https://quillmere.example.org";

// The line with every "XXXX" replaced by the year.
QString WithYear(QString line, int year);

class TAboutBox : public QDialog {
  public:
    TAboutBox(QWidget* parent, std::function<void()> openWebSite);
    QString YearLine() const { return yearLine_; }

  private:
    QString yearLine_;
};

}  // namespace qm
