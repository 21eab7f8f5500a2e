// The main window's place and size, maximised or not, and its folded side panes, kept in
// config.xml from one run to the next in keys of their own. A window never opens larger than
// its screen, nor off every screen.
#include "common/failure.h"
#include "common/text_conversions.h"
#include "config/config_manager.h"
#include "shell/main_window.h"
#include "shell/screen_fit.h"

namespace {

const QString kGeometryKey = QStringLiteral("WindowGeometry");
const QString kLeftPaneKey = QStringLiteral("LeftPaneFolded");
const QString kRightPaneKey = QStringLiteral("RightPaneFolded");

// Empty when the configuration cannot be read: start-up has reported that already.
QString ReadPlacement(const QString& key) {
    QString value;
    try {
        TConfigManager::ReadValue(key, value);
    } catch (const EFailure&) {
    }
    return value;
}

bool Folded(const QString& key) {
    try {
        return StrToBool(ReadPlacement(key));
    } catch (const EFailure&) {
        return false; // missing or unreadable: the panes open as they always did
    }
}

QString TruthText(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

} // namespace

void TfrmMain::RestorePlacement() {
    restoreGeometry(QByteArray::fromBase64(ReadPlacement(kGeometryKey).toLatin1()));
    KeepOnScreen(*this);
    if (Folded(kLeftPaneKey))
        Image1Click();
    if (Folded(kRightPaneKey))
        Image3Click();
}

void TfrmMain::SavePlacement() const {
    try {
        TConfigManager::WriteValue(kGeometryKey, QString::fromLatin1(saveGeometry().toBase64()));
        TConfigManager::WriteValue(kLeftPaneKey, TruthText(!PanelLeft->isVisibleTo(this)));
        TConfigManager::WriteValue(kRightPaneKey, TruthText(!pnlRIght->isVisibleTo(this)));
    } catch (const EFailure&) {
        // Not worth a message box on the way out: the next start opens the window as new.
    }
}
