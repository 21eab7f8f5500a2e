#pragma once

#include <QString>
#include <QUrl>

// A catalogue pane's page when the catalogue cannot be reached: what happened, where the games
// already played are, and a way to try FailedAddress again. It reads in the narrow side panes
// too.
QString CatalogueUnreachablePage(const QUrl& failedAddress);
