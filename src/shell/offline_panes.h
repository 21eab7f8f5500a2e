#pragma once

#include <QList>
#include <QObject>

class TBrowserPane;
class TServerProbe;

// The catalogue panes while the catalogue cannot be reached: each shows the notice instead of
// the browser's error page, and while any does, the catalogue is asked now and then whether it
// answers again; once it does, every pane showing the notice loads its page again.
class TOfflinePanes : public QObject {
    Q_OBJECT
public:
    TOfflinePanes(const QList<TBrowserPane*>& panes, QObject* parent);

private:
    void PaneChanged(TBrowserPane* pane);
    void RetryAll();

    QList<TBrowserPane*> FPanes;
    TServerProbe* FProbe;
};
