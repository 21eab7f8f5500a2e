#include "platform/browser_pane.h"

#include "platform/pane_context_menu.h"
#include "platform/web_profile.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

namespace {

class TPanePage : public QWebEnginePage {
public:
    TPanePage(TBrowserPane* pane) : QWebEnginePage(SharedWebProfile(), pane), FPane(pane) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        return FPane->AllowNavigation(url);
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

} // namespace

TBrowserPane::TBrowserPane(const QString& objectName, QWidget* parent) : QWebEngineView(parent) {
    setObjectName(objectName);
    setPage(new TPanePage(this));
    connect(page(), &QWebEnginePage::loadingChanged, this, &TBrowserPane::OnLoadingChanged);
}

void TBrowserPane::OnLoadingChanged(const QWebEngineLoadingInfo& loading) {
    if (FUnreachableNotice.isEmpty() ||
        loading.status() != QWebEngineLoadingInfo::LoadFailedStatus ||
        loading.errorDomain() != QWebEngineLoadingInfo::ConnectionErrorDomain)
        return;
    // Under the failed address, so that a reload tries the server again.
    page()->setHtml(FUnreachableNotice, loading.url());
}

void TBrowserPane::Navigate(const QString& url) {
    page()->setUrl(QUrl(url));
}

bool TBrowserPane::AllowNavigation(const QUrl& target) {
    bool cancel = false;
    if (FOnBeforeNavigate)
        FOnBeforeNavigate(this, target.toString(QUrl::FullyEncoded), cancel);
    return !cancel;
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
