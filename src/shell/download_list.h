#pragma once

#include "shell/progress_relay.h"

#include <QElapsedTimer>
#include <QHash>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// One running download in the list: its name, progress, speed and time left, and "取消".
class TDownloadRow : public QWidget {
    Q_OBJECT
public:
    // AlsoShow gets every count shown, for a display of the download outside the list.
    TDownloadRow(const QString& name, std::function<void(qint64)> alsoShow,
                 QWidget* parent = nullptr);

    // Set by "取消"; the download's worker looks at it and stops.
    const std::shared_ptr<std::atomic<bool>>& Cancelled() const { return FCancelled; }
    TProgressFeed Feed() { return FRelay->Feed(); }
    void Begin(qint64 total);
    // Shows the last count posted now.
    void Flush() { FRelay->Flush(); }

    QLabel* lblDownloadName = nullptr;
    QProgressBar* pbDownload = nullptr;
    QLabel* lblDownloadSpeed = nullptr;
    QPushButton* btnCancelDownload = nullptr;

private:
    void ShowCount(qint64 count);

    std::function<void(qint64)> FAlsoShow;
    std::shared_ptr<std::atomic<bool>> FCancelled = std::make_shared<std::atomic<bool>>(false);
    TProgressRelay* FRelay;
    QElapsedTimer FClock;
    qint64 FTotal = -1;
    qint64 FFirstCount = -1;
};

// The downloads running now, one row each, so that any of them can be followed and cancelled.
// Lives on the UI thread; the workers reach their rows through the window.
class TDownloadList : public QWidget {
    Q_OBJECT
public:
    explicit TDownloadList(QWidget* parent = nullptr);

    TDownloadRow* Add(const QString& key, const QString& name,
                      std::function<void(qint64)> alsoShow);
    TDownloadRow* Row(const QString& key) const { return FRows.value(key); }
    void Remove(const QString& key);
    int Count() const { return int(FRows.size()); }

private:
    QVBoxLayout* FColumn;
    QHash<QString, TDownloadRow*> FRows;
};
