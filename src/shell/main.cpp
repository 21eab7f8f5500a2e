#include "common/application_title.h"
#include "platform/ui_dispatcher.h"
#include "shell/download_worker.h"
#include "shell/main_window.h"
#include "upgrade/au_thread.h"
#include "upgrade/messages/upgrade_messages.h"

#include <QApplication>
#include <cstdlib>
#include <memory>

int main(int argc, char* argv[]) {
    // Qt WebEngine shares its GL context with the widgets; this must precede the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle());
    DetectLanguage();

    auto dispatcher = std::make_unique<TUiDispatcher>();
    int result = 0;
    {
        TfrmMain frmMain;
        frmMain.show();
        result = QApplication::exec();
    }
    // Downloads still running are abandoned, not awaited: their transfers stop at once and
    // leave no partial file. One that cannot stop in time must not outlive the libraries it
    // uses, so the process then ends without running the global destructors. The upgrade
    // component's transfers were given up in the same way when the window went.
    dispatcher.reset();
    const bool downloadsEnded = TThread1::AbandonAll(std::chrono::seconds(2));
    if (!downloadsEnded || !TauEventThread::WaitForAbandoned(std::chrono::seconds(2)))
        std::quick_exit(result);
    return result;
}
