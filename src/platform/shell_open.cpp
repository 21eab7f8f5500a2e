#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool OpenWithDesktop(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool StartProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}
