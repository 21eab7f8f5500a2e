#include "platform/web_profile.h"

#include "platform/web_engine_start.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

QWebEngineProfile* SharedWebProfile() {
    static QWebEngineProfile* profile = [] {
        PrepareWebEngineStart();
        return new QWebEngineProfile(QStringLiteral("pebblo"), QCoreApplication::instance());
    }();
    return profile;
}
