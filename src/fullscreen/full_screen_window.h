#pragma once

#include <QWidget>

class QAbstractButton;
class QTimer;
class TApplicationEvents;
class TFullScreenHint;

// What the full-screen window borrows from the main window.
struct TFullScreenParts {
    QWidget* mainWindow = nullptr;
    QWidget* player = nullptr;
    // The panel the player lives in while not on the full screen.
    QWidget* playerHome = nullptr;
    // "使用F1快速关闭程序": F1 closes the main window while it is ticked.
    QAbstractButton* closeWithF1 = nullptr;
};

// The borderless full-screen window. Entering moves the main window's player, with its movie
// running, into it and hides the main window; Esc or a close request moves it back. Its key hook
// watches Esc and F1 in every window of the application from its creation on.
class TfrmFullScreen : public QWidget {
    Q_OBJECT
public:
    explicit TfrmFullScreen(const TFullScreenParts& parts);
    ~TfrmFullScreen() override;

    void EnterFullScreen();
    void ReturnPlayer();

    TApplicationEvents* ApplicationEvents1 = nullptr;
    QTimer* Timer2 = nullptr;
    // "按 Esc 退出全屏", for a few seconds after entering.
    TFullScreenHint* lblEscHint = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplicationEvents1Message(const QKeyEvent& key);
    void FormShow();
    void Timer2Timer();
    bool FormCloseQuery();
    static void PlaceAndFocus(QWidget* player, const QSize& size);

    TFullScreenParts FParts;
};
