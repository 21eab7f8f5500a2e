#include "common/application_title.h"
#include "shell/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Qt WebEngine shares its GL context with the widgets; this must precede the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle());

    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
