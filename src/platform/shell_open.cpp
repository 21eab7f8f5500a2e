#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool OpenWithDesktop(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool StartProgram(const QString& program, const QStringList& arguments, QString* reason) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    const bool started = process.startDetached();
    if (!started && reason != nullptr)
        *reason = process.errorString();
    return started;
}
