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
    void SetOnBeforeNavigate(TBeforeNavigate handler) { FOnBeforeNavigate = std::move(handler); }

    // Asks the handler; true when the navigation may go on.
    bool AllowNavigation(const QUrl& target);

private:
    TBeforeNavigate FOnBeforeNavigate;
};
