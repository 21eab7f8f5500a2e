#include "platform/desktop_handler.h"

#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int kQueryMilliseconds = 5000;

QString DefaultApplication(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(kQueryMilliseconds) || query.exitCode() != 0) {
        query.kill();
        return {};
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

// The general escapes of desktop entry values; the quoting of Exec lines stays as it is.
QString Unescaped(const QString& value) {
    QString text;
    for (qsizetype at = 0; at < value.size(); ++at) {
        if (value.at(at) != QLatin1Char('\\') || at + 1 == value.size()) {
            text += value.at(at);
            continue;
        }
        const QChar escaped = value.at(++at);
        text += escaped == QLatin1Char('s')   ? QChar(QLatin1Char(' '))
                : escaped == QLatin1Char('t') ? QChar(QLatin1Char('\t'))
                                              : escaped;
    }
    return text;
}

QString ExecLine(const QString& desktopFile) {
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec=")))
            return Unescaped(line.mid(5));
    }
    return {};
}

} // namespace

QString DefaultHandlerCommand(const QString& extension) {
    const QString mimeType =
        QMimeDatabase()
            .mimeTypeForFile(QStringLiteral("file") + extension, QMimeDatabase::MatchExtension)
            .name();
    const QString application = DefaultApplication(mimeType);
    if (application.isEmpty())
        return {};
    const QString desktopFile =
        QStandardPaths::locate(QStandardPaths::ApplicationsLocation, application);
    return desktopFile.isEmpty() ? QString() : ExecLine(desktopFile);
}
