// The main window's upgrade component and its "检查升级" button.
#include "common/failure.h"
#include "common/handler_guard.h"
#include "common/hosts.h"
#include "common/message_boxes.h"
#include "config/config_manager.h"
#include "library/library_connection.h"
#include "shell/main_window.h"
#include "shell/program_version.h"
#include "upgrade/au_auto_updater.h"

#include <QTimer>

namespace {

QString UndoneUpgradeText(const QString& version, TauUndoReason reason) {
    switch (reason) {
    case urFilesChanged:
        return QStringLiteral("版本 %1 的升级文件在安装前被改动，未安装这次升级。").arg(version);
    case urNotInstalled:
        return QStringLiteral("版本 %1 的升级文件无法放入程序文件夹，已恢复到原来的版本。")
            .arg(version);
    case urNotStarted:
        break;
    }
    return QStringLiteral("升级到版本 %1 后客户端未能正常启动，已自动恢复到原来的版本。")
        .arg(version);
}

} // namespace

void TfrmMain::CreateAutoUpdater() {
    auAutoUpdater1 = new TauAutoUpdater(this);
    auAutoUpdater1->setObjectName(QStringLiteral("auAutoUpdater1"));
    auAutoUpdater1->InfoFileURL =
        QStringLiteral("http://") + VendorHost() + QStringLiteral("/down/update.xml");
    auAutoUpdater1->VersionControl = byNumber;
    auAutoUpdater1->VersionNumber = ProgramVersionNumber();
    auAutoUpdater1->VersionDate = ProgramVersionDate();
    auAutoUpdater1->VersionDateAutoSet = true;
    auAutoUpdater1->OnUnverified = [](TauAutoUpdater*, bool automatic) {
        if (!automatic)
            ShowPlainMessage(QStringLiteral("无法验证升级信息的真实性，本次不升级。"));
    };
    auAutoUpdater1->OnUpgraderFailed = [](TauAutoUpdater*, const QString& reason) {
        ShowPlainMessage(
            QStringLiteral("无法启动升级程序（%1），升级没有安装，客户端继续运行。").arg(reason));
    };
    // Told once the window is on screen, not before it.
    auAutoUpdater1->OnUpgradeUndone = [this](TauAutoUpdater*, const QString& version,
                                             TauUndoReason reason) {
        QTimer::singleShot(0, this,
                           [text = UndoneUpgradeText(version, reason)] { ShowPlainMessage(text); });
    };
    // A timer the system refuses is reported; the window opens all the same.
    RunHandler([this] { auAutoUpdater1->SetAutoCheck(true); });
    auAutoUpdater1->Loaded();
}

bool TfrmMain::StartedWell() const {
    if (!isVisible())
        return false;
    try {
        QString skin;
        TConfigManager::ReadValue(QStringLiteral("Skin"), skin);
        return qry_flash->Database().isOpen();
    } catch (const EFailure&) {
        return false;
    }
}

void TfrmMain::Button2Click() {
    // The check started here reports only through the component; the answer is the last one.
    if (!auAutoUpdater1->CheckUpdate(false))
        ShowPlainMessage(QStringLiteral("当前已是最新版本"));
}
