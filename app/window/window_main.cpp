// quillmere: the desktop window. A .doc file named on the command line is opened as if it had
// been double-clicked in the file list.
#include <QApplication>
#include <QTimer>

#include "app/window/main_form.h"
#include "app/window/pictures.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillmere");
    QApplication::setApplicationVersion("1.1");
    QApplication::setDesktopFileName("quillmere");
    QApplication::setWindowIcon(qm::AppIcon());
    qm::TMainForm form;
    form.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString file = arguments.at(1);
        QTimer::singleShot(0, &form, [&form, file] { form.OpenFromCommandLine(file); });
    }
    return app.exec();
}
