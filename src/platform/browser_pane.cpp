#include "platform/browser_pane.h"

#include "platform/navigation_policy.h"
#include "platform/page_permissions.h"
#include "platform/pane_context_menu.h"
#include "platform/shell_open.h"
#include "platform/web_profile.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>
#include <utility>

namespace {

// The page a new window asks for: it loads nothing itself, but hands its first address on.
class TWindowRequest : public QWebEnginePage {
public:
    TWindowRequest(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}
    void SetOnAddress(std::function<void(const QUrl&)> onAddress) {
        FOnAddress = std::move(onAddress);
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        // A window opened empty is given its address afterwards.
        if (FOnAddress && url != QUrl(QStringLiteral("about:blank")))
            std::exchange(FOnAddress, {})(url);
        return false;
    }

private:
    std::function<void(const QUrl&)> FOnAddress;
};

class TPanePage : public QWebEnginePage {
public:
    TPanePage(TBrowserPane* pane) : QWebEnginePage(SharedWebProfile(), pane), FPane(pane) {
        RefusePermissionRequests(*this);
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool mainFrame) override {
        return FPane->AllowNavigation(url, type, mainFrame);
    }

    // Links that ask for a new window open in the pane itself, through the same event.
    QWebEnginePage* createWindow(WebWindowType) override {
        auto* request = new TWindowRequest(profile(), this);
        request->SetOnAddress([this, request](const QUrl& url) {
            // Once the engine's call has returned; the request has served its turn.
            QMetaObject::invokeMethod(
                this,
                [this, url] {
                    if (FPane->AllowNavigation(url))
                        setUrl(url);
                },
                Qt::QueuedConnection);
            request->deleteLater();
        });
        return request;
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
    FAddressWhenShown.clear();
    page()->setUrl(QUrl(url));
}

void TBrowserPane::NavigateWhenShown(const QString& url, QWidget* shownWith) {
    FShownWith = shownWith != nullptr ? shownWith : this;
    if (FShownWith->isVisible()) {
        Navigate(url);
        return;
    }
    FAddressWhenShown = url;
    if (FShownWith != this)
        FShownWith->installEventFilter(this);
}

void TBrowserPane::showEvent(QShowEvent* event) {
    QWebEngineView::showEvent(event);
    if (FShownWith == this && !FAddressWhenShown.isEmpty())
        Navigate(std::exchange(FAddressWhenShown, QString()));
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

bool TBrowserPane::AllowNavigation(const QUrl& target, QWebEnginePage::NavigationType type,
                                   bool mainFrame) {
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
    return !cancel && (!mainFrame || Confined(target, type));
}

bool TBrowserPane::Confined(const QUrl& target, QWebEnginePage::NavigationType type) {
    if (FSite.isEmpty())
        return true;
    const bool userChose = type == QWebEnginePage::NavigationTypeLinkClicked && UserJustActed();
    switch (JudgeNavigation(target, FSite, userChose)) {
    case TNavigationVerdict::Allow:
        return true;
    case TNavigationVerdict::OpenOutside:
        // Once the engine's call has returned: the desktop may take its time.
        QMetaObject::invokeMethod(
            this, [target] { OpenWithDesktop(target.toString(QUrl::FullyEncoded)); },
            Qt::QueuedConnection);
        return false;
    case TNavigationVerdict::Refuse:
        break;
    }
    return false;
}

bool TBrowserPane::UserJustActed() const {
    constexpr qint64 kChoiceMs = 1000;
    return FSinceUserInput.isValid() && FSinceUserInput.elapsed() < kChoiceMs;
}

// The page's input arrives at the engine's own widget, which exists once the page does.
void TBrowserPane::WatchUserInput() {
    QWidget* input = focusProxy();
    if (input == nullptr || input == FWatchedInput)
        return;
    input->installEventFilter(this);
    FWatchedInput = input;
}

bool TBrowserPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FShownWith && watched != this) {
        if (event->type() == QEvent::Show && !FAddressWhenShown.isEmpty()) {
            FShownWith->removeEventFilter(this);
            Navigate(std::exchange(FAddressWhenShown, QString()));
        }
        return QWebEngineView::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
        FSinceUserInput.start();
        break;
    default:
        break;
    }
    return QWebEngineView::eventFilter(watched, event);
}

void TBrowserPane::OnLoadingChanged(const QWebEngineLoadingInfo& loading) {
    WatchUserInput();
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
