#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QUrl>

bool OpenWithDesktop(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}
