#include "common/application_title.h"
#include "common/leak_check.h"
#include "platform/qt_translations.h"
#include "platform/ui_dispatcher.h"
#include "shell/client_shutdown.h"
#include "shell/main_window.h"
#include "upgrade/au_start_confirmation.h"
#include "upgrade/au_thread.h"
#include "upgrade/au_upgrade_recovery.h"
#include "upgrade/messages/upgrade_messages.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <memory>

int main(int argc, char* argv[]) {
    TakeStartConfirmation();
    // Qt WebEngine shares its GL context with the widgets; this must precede the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle());
    LoadQtTranslations();
    DetectLanguage();
    // An upgrade that a crash interrupted is finished or undone before anything else. A client
    // that the upgrader itself started never hands the folder back: that could go on for ever.
    const QString restartParams = QStringLiteral("/afterupgrade");
    if (QCoreApplication::arguments().value(1) != restartParams &&
        HandOverUnfinishedUpgrade(restartParams + QLatin1Char('0')))
        return 0;

    TUiDispatcher dispatcher;
    auto frmMain = std::make_unique<TfrmMain>();
    frmMain->show();
    // Once the window is on screen, the upgrader that started this version may let it stay.
    QTimer::singleShot(0, frmMain.get(), [window = frmMain.get()] {
        if (window->StartedWell())
            ConfirmHealthyStart();
    });
    const int result = QApplication::exec();
    // Downloads still running are abandoned, not awaited: their transfers stop at once and
    // leave no partial file. One that cannot stop in time must not outlive the window or the
    // libraries it uses, so the process then ends without running any destructor. The upgrade
    // component's transfers are given up with the window, and are waited for in the same way.
    if (!CloseClient(frmMain, dispatcher, std::chrono::seconds(2)) ||
        !TauEventThread::WaitForAbandoned(std::chrono::seconds(2)))
        std::quick_exit(result);
    CheckLeaksNow();
    return result;
}
