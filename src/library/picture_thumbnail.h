#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// One game's picture in the local games grid: stretched over the whole widget, drawn with its
// transparency, clicked with a hand-point cursor. The game's id rides along as the property
// "hint", read with property("hint") by whoever gets the thumbnail as the click's sender; it is
// never shown, since it is not a tooltip.
class TThumbnail : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString hint READ Hint CONSTANT)
public:
    using TOnClick = std::function<void(QObject* thumbnail)>;

    TThumbnail(const QString& hint, const QImage& picture, TOnClick onClick, QWidget* parent);

    const QString& Hint() const { return FHint; }
    const QImage& Picture() const { return FPicture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString FHint;
    QImage FPicture;
    TOnClick FOnClick;
};
