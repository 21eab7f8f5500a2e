#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;

// The application-wide key hook: sees every key going down or up in any window of the
// application, once per key, before the window's widgets do, and never takes it from them.
// Keys typed while Alt is held are the system's and are not shown to it.
class TApplicationEvents : public QObject {
    Q_OBJECT
public:
    using TOnMessage = std::function<void(const QKeyEvent& key)>;
    TApplicationEvents(TOnMessage onMessage, QObject* parent);
    ~TApplicationEvents() override;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    TOnMessage FOnMessage;
};
