#include "platform/web_profile.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

QWebEngineProfile* SharedWebProfile() {
    static QWebEngineProfile* profile =
        new QWebEngineProfile(QStringLiteral("pebblo"), QCoreApplication::instance());
    return profile;
}
