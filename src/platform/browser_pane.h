#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>

class QWebEngineLoadingInfo;

// An embedded browser that raises a before-navigation event, with the target address and a
// cancel flag, ahead of every navigation it is about to make (its own Navigate included).
class TBrowserPane : public QWebEngineView {
    Q_OBJECT
public:
    using TBeforeNavigate =
        std::function<void(TBrowserPane* pane, const QString& url, bool& cancel)>;
    // A page of the pane's own (HTML) for an address whose server gave no page.
    using TUnreachableNotice = std::function<QString(const QUrl& failedAddress)>;

    explicit TBrowserPane(const QString& objectName, QWidget* parent = nullptr);

    void Navigate(const QString& url);
    // Loads Url the first time ShownWith is shown (the pane itself, or the page of a pane kept
    // hidden behind others), or at once while it is on screen: a page no one looks at costs
    // nothing.
    void NavigateWhenShown(const QString& url, QWidget* shownWith = nullptr);
    void SetOnBeforeNavigate(TBeforeNavigate handler) { FOnBeforeNavigate = std::move(handler); }
    // From then on a load that fails shows the notice instead of the browser's error page.
    void SetUnreachableNotice(TUnreachableNotice notice);

    // The address the notice now shown stands for; empty while the pane shows anything else.
    QUrl UnreachableAddress() const { return FUnreachableAddress; }
    // Loads that address again.
    void RetryUnreachable();

    // From then on the pane's page goes nowhere but to Site ("host" or "host:port"): a link the
    // user follows to another web address opens in the desktop's browser, anything else is
    // refused. Frames within the page are the page's own business.
    void ConfineTo(const QString& site) { FSite = site; }

    // Asks the handler, then the confinement; true when the navigation may go on.
    bool
    AllowNavigation(const QUrl& target,
                    QWebEnginePage::NavigationType type = QWebEnginePage::NavigationTypeLinkClicked,
                    bool mainFrame = true);

signals:
    // The notice was shown (again), or the pane shows a page of its server once more.
    void UnreachableChanged();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Notes the user's clicks and keys on the page, and the showing of the widget it loads with.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnLoadingChanged(const QWebEngineLoadingInfo& loading);
    void ShowUnreachableNotice(const QUrl& failedAddress);
    void SetUnreachableAddress(const QUrl& address);

    bool Confined(const QUrl& target, QWebEnginePage::NavigationType type);
    // A script moves the page as a link does; only a navigation right after the user's own
    // click or key counts as the user's choice.
    bool UserJustActed() const;
    void WatchUserInput();

    TBeforeNavigate FOnBeforeNavigate;
    QString FSite;
    QString FAddressWhenShown;
    QPointer<QWidget> FShownWith;
    QElapsedTimer FSinceUserInput;
    QPointer<QWidget> FWatchedInput;
    TUnreachableNotice FUnreachableNotice;
    QUrl FUnreachableAddress;
    // The notice has been handed to the page and its load has not begun yet.
    bool FNoticeDue = false;
    // The load under way is of a page given as text (the notice), not of an address.
    bool FLoadingText = false;
};
