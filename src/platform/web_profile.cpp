#include "platform/web_profile.h"

#include "platform/web_engine_start.h"

#include <QCoreApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

QWebEngineProfile* SharedWebProfile() {
    static QWebEngineProfile* profile = [] {
        PrepareWebEngineStart();
        auto* made = new QWebEngineProfile(QStringLiteral("pebblo"), QCoreApplication::instance());
        // Games come through the client's own download; nothing a page offers is saved.
        QObject::connect(made, &QWebEngineProfile::downloadRequested,
                         [](QWebEngineDownloadRequest* download) { download->cancel(); });
        return made;
    }();
    return profile;
}
