#pragma once

#include <QWidget>

class QTimer;
class QQuickWindow;

// A black sheet laid over the player view while its page has not drawn the movie at the view's
// new size: meanwhile Chromium shows the last frame of the old size in a corner, or nothing. It
// takes no keys, so the game keeps the keyboard, and lifts by itself after a few seconds, should
// the page never say that it has drawn.
class TPlayerCover : public QWidget {
    Q_OBJECT
public:
    explicit TPlayerCover(QWidget* view);

    void Cover();
    void Uncover();
    // The page's word that it has drawn comes before its frame is on screen: the cover lifts
    // once Frames, the view's own rendering, has shown two frames more.
    void UncoverAfterTwoFrames(QQuickWindow* frames);
    bool Covering() const { return !isHidden(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* FGiveUp = nullptr;
    QMetaObject::Connection FFrames;
    int FFramesShown = 0;
};
