#include "shell/catalogue_addresses.h"

#include "common/common_method.h"
#include "common/hosts.h"

QString GameInfoPrefix() {
    return QStringLiteral("HTTP://") + UpperCaseAscii(CatalogueHost()) +
           QStringLiteral("/GAMESOFT/GAMEINFO.ASP?ID=");
}

QString CategoryTreeAddress() {
    return QStringLiteral("http://") + CatalogueHost().toLower() +
           QStringLiteral("/gamesoft/left.asp");
}

QString CataloguePage(const QString& page) {
    return QStringLiteral("http://") + CatalogueHost() + QStringLiteral("/gamesoft/") + page;
}
