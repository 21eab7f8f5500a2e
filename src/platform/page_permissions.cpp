#include "platform/page_permissions.h"

#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>

void RefusePermissionRequests(QWebEnginePage& page, const QList<QWebEnginePage::Feature>& granted) {
    QObject::connect(&page, &QWebEnginePage::featurePermissionRequested, &page,
                     [&page, granted](const QUrl& origin, QWebEnginePage::Feature feature) {
                         page.setFeaturePermission(origin, feature,
                                                   granted.contains(feature)
                                                       ? QWebEnginePage::PermissionGrantedByUser
                                                       : QWebEnginePage::PermissionDeniedByUser);
                     });
    QObject::connect(&page, &QWebEnginePage::quotaRequested,
                     [](QWebEngineQuotaRequest request) { request.reject(); });
    QObject::connect(&page, &QWebEnginePage::registerProtocolHandlerRequested,
                     [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    QObject::connect(&page, &QWebEnginePage::fileSystemAccessRequested,
                     [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    QObject::connect(&page, &QWebEnginePage::fullScreenRequested,
                     [](QWebEngineFullScreenRequest request) { request.reject(); });
}
