#pragma once

#include <QProcess>
#include <QString>

// Starts the demo catalogue program on a free loopback port; its "127.0.0.1:port", or empty when
// it did not come up. The process ends with Catalogue.
inline QString StartCatalogueProcess(QProcess& catalogue) {
    catalogue.start(QStringLiteral(CATALOGUE_EXECUTABLE),
                    {QStringLiteral("--port"), QStringLiteral("0")});
    if (!catalogue.waitForReadyRead(10000))
        return {};
    return QStringLiteral("127.0.0.1:") + QString::fromLatin1(catalogue.readLine().trimmed());
}
