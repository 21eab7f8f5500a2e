#pragma once

#include <QWebEngineView>
#include <functional>

// An embedded browser that raises a before-navigation event, with the target address and a
// cancel flag, ahead of every navigation it is about to make (its own Navigate included).
class TBrowserPane : public QWebEngineView {
    Q_OBJECT
public:
    using TBeforeNavigate =
        std::function<void(TBrowserPane* pane, const QString& url, bool& cancel)>;

    explicit TBrowserPane(const QString& objectName, QWidget* parent = nullptr);

    void Navigate(const QString& url);
    // A page of the pane's own (HTML) shown instead of the browser's error page when the pane's
    // server cannot be reached; none by default.
    void SetUnreachableNotice(const QString& html) { FUnreachableNotice = html; }
    void SetOnBeforeNavigate(TBeforeNavigate handler) { FOnBeforeNavigate = std::move(handler); }

    // Asks the handler; true when the navigation may go on.
    bool AllowNavigation(const QUrl& target);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnLoadingChanged(const class QWebEngineLoadingInfo& loading);

    TBeforeNavigate FOnBeforeNavigate;
    QString FUnreachableNotice;
};
