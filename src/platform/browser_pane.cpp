#include "platform/browser_pane.h"

#include "platform/pane_context_menu.h"
#include "platform/web_profile.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>
#include <utility>

namespace {

class TPanePage : public QWebEnginePage {
public:
    TPanePage(TBrowserPane* pane) : QWebEnginePage(SharedWebProfile(), pane), FPane(pane) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override {
        return FPane->AllowNavigation(url, type);
    }

    // Links that ask for a new window open in the pane itself, through the same event.
    QWebEnginePage* createWindow(WebWindowType) override {
        auto* popup = new QWebEnginePage(profile(), this);
        connect(popup, &QWebEnginePage::urlChanged, this, [this, popup](const QUrl& url) {
            popup->deleteLater();
            if (FPane->AllowNavigation(url))
                setUrl(url);
        });
        return popup;
    }

private:
    TBrowserPane* FPane;
};

bool IsText(const QUrl& url) {
    return url.scheme() == QLatin1String("data");
}

} // namespace

TBrowserPane::TBrowserPane(const QString& objectName, QWidget* parent) : QWebEngineView(parent) {
    setObjectName(objectName);
    setPage(new TPanePage(this));
    connect(page(), &QWebEnginePage::loadingChanged, this, &TBrowserPane::OnLoadingChanged);
}

void TBrowserPane::Navigate(const QString& url) {
    page()->setUrl(QUrl(url));
}

void TBrowserPane::SetUnreachableNotice(TUnreachableNotice notice) {
    FUnreachableNotice = std::move(notice);
    // The notice takes the error page's place in the history instead of following it.
    page()->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
}

void TBrowserPane::RetryUnreachable() {
    if (!FUnreachableAddress.isEmpty())
        page()->setUrl(FUnreachableAddress);
}

bool TBrowserPane::AllowNavigation(const QUrl& target, QWebEnginePage::NavigationType type) {
    if (FUnreachableNotice && IsText(target)) {
        if (std::exchange(FNoticeDue, false))
            return true;
        // Reloading the notice means trying its address again.
        if (type == QWebEnginePage::NavigationTypeReload && !FUnreachableAddress.isEmpty()) {
            QMetaObject::invokeMethod(this, &TBrowserPane::RetryUnreachable, Qt::QueuedConnection);
            return false;
        }
    }
    bool cancel = false;
    if (FOnBeforeNavigate)
        FOnBeforeNavigate(this, target.toString(QUrl::FullyEncoded), cancel);
    return !cancel;
}

void TBrowserPane::OnLoadingChanged(const QWebEngineLoadingInfo& loading) {
    if (!FUnreachableNotice)
        return;
    switch (loading.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        FLoadingText = IsText(loading.url());
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        // The notice's load ends under the address it stands for.
        SetUnreachableAddress(FLoadingText && !IsText(loading.url()) ? loading.url() : QUrl());
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        // An error status comes with the server's own page, which stays. Every other failure
        // left no page of the server's (the browser's error page is off).
        if (loading.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
            SetUnreachableAddress(QUrl());
        else
            ShowUnreachableNotice(loading.url());
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        // Stopped by the user or cancelled before it began: the page shown stays.
        break;
    }
}

// Every notice shown is told, so that a new failure of the same address asks the server again.
void TBrowserPane::SetUnreachableAddress(const QUrl& address) {
    if (address.isEmpty() && FUnreachableAddress.isEmpty())
        return;
    FUnreachableAddress = address;
    emit UnreachableChanged();
}

void TBrowserPane::ShowUnreachableNotice(const QUrl& failedAddress) {
    FNoticeDue = true;
    // Under the failed address, so that what the pane shows is named by it.
    page()->setHtml(FUnreachableNotice(failedAddress), failedAddress);
}

void TBrowserPane::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    KeepPlayerActions(*menu, *page());
    if (menu->isEmpty()) {
        delete menu;
        return;
    }
    menu->popup(event->globalPos());
}
