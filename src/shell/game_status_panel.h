#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class TDownloadList;

// The "当前游戏" page's card while a game is on its way or could not come: the game's name,
// what is happening or what went wrong in the user's words, the technical detail small below,
// the download's progress, and the way on ("重试") or back ("返回"). It covers the page, so
// nothing of an earlier game or page shows behind it.
class TGameStatusPanel : public QWidget {
    Q_OBJECT
public:
    // Download: the panel of the download's progress, shown inside the card while it loads.
    explicit TGameStatusPanel(QWidget* download, QWidget* parent = nullptr);

    void ShowLoading(const QString& gameName, const QString& what);
    // Retry runs when the user presses the way on, "重试" unless RetryText names it otherwise.
    void ShowFailure(const QString& gameName, const QString& what, const QString& detail,
                     std::function<void()> retry, const QString& retryText = QString());

    QLabel* lblGameName = nullptr;
    QLabel* lblGameStatus = nullptr;
    QLabel* lblGameDetail = nullptr;
    QPushButton* btnRetry = nullptr;
    QPushButton* btnBack = nullptr;
    // Every download running, each with its own progress and "取消".
    TDownloadList* lstDownloads = nullptr;

signals:
    void BackRequested();

private:
    void ShowState(const QString& gameName, const QString& what, const QString& detail,
                   bool failed);

    QWidget* FDownload;
    std::function<void()> FRetry;
};
