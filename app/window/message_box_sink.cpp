#include "app/window/message_box_sink.h"

#include <QApplication>
#include <QMessageBox>

namespace qm {

void TMessageBoxSink::ShowMessage(std::string_view text, TMessageIcon icon) {
    const QMessageBox::Icon shown =
        icon == TMessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(shown, QApplication::applicationName(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, owner_);
    // Messages arrive during long work, under the wait cursor; the box gets the arrow.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
}

}  // namespace qm
