#pragma once

#include <QAbstractItemDelegate>

class TThumbnailLoader;

// Paints one cell of the local games grid, 150 × 100 pixels: the game's picture stretched over
// 121 × 71 pixels 5 pixels in, and under it the name, centred on one line of the view's font.
// A picture not decoded yet, or one that cannot be, shows the placeholder of its kind.
class TGameCellDelegate : public QAbstractItemDelegate {
    Q_OBJECT
public:
    static constexpr QSize kCellSize{150, 100};

    explicit TGameCellDelegate(TThumbnailLoader* thumbnails, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Whether the cell shows what it will go on showing: its picture, or for a picture that
    // cannot be decoded, the placeholder.
    bool ShowsFinalPicture(const QModelIndex& index) const;

    // The parts of the cell at Cell.
    static QRect PictureRect(const QRect& cell);
    static QRect CaptionRect(const QRect& cell, const QFontMetrics& metrics);

private:
    QImage PictureOf(const QModelIndex& index) const;

    TThumbnailLoader* FThumbnails;
};
