// The main window's upgrade component and its "检查升级" button.
#include "common/handler_guard.h"
#include "common/hosts.h"
#include "common/message_boxes.h"
#include "shell/main_window.h"
#include "shell/program_version.h"
#include "upgrade/au_auto_updater.h"

void TfrmMain::CreateAutoUpdater() {
    auAutoUpdater1 = new TauAutoUpdater(this);
    auAutoUpdater1->setObjectName(QStringLiteral("auAutoUpdater1"));
    auAutoUpdater1->InfoFileURL =
        QStringLiteral("http://") + VendorHost() + QStringLiteral("/down/update.xml");
    auAutoUpdater1->VersionControl = byNumber;
    auAutoUpdater1->VersionNumber = ProgramVersionNumber();
    auAutoUpdater1->VersionDate = ProgramVersionDate();
    auAutoUpdater1->VersionDateAutoSet = true;
    // A timer the system refuses is reported; the window opens all the same.
    RunHandler([this] { auAutoUpdater1->SetAutoCheck(true); });
    auAutoUpdater1->Loaded();
}

void TfrmMain::Button2Click() {
    // The check started here reports only through the component; the answer is the last one.
    if (!auAutoUpdater1->CheckUpdate(false))
        ShowPlainMessage(QStringLiteral("当前已是最新版本"));
}
