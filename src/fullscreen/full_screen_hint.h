#pragma once

#include <QLabel>

class QTimer;

// "按 Esc 退出全屏" near the top of the full-screen window for a few seconds after entering. It
// lies over the game but takes neither its keys nor its clicks.
class TFullScreenHint : public QLabel {
    Q_OBJECT
public:
    explicit TFullScreenHint(QWidget* window);

    void ShowForAWhile();
    void Withdraw();

protected:
    // Keeps the hint centred while the window takes its full-screen size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QTimer* FShowing = nullptr;
};
