#pragma once

#include "support/catalogue_process.h"

#include <QProcess>
#include <QString>
#include <QtGlobal>

// Command-line argument Index read as a count; Fallback when it is not given.
inline int CountArgument(int argc, char* argv[], int index, int fallback) {
    return argc > index ? QString::fromLocal8Bit(argv[index]).toInt() : fallback;
}

// Starts the demo catalogue and points the client at it; the catalogue's host, empty when it did
// not start.
inline QString StartBenchCatalogue(QProcess& catalogue) {
    const QString host = StartCatalogueProcess(catalogue);
    if (!host.isEmpty())
        qputenv("PEBBLO_CATALOGUE_HOST", host.toUtf8());
    return host;
}
