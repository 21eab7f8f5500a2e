#include "library/game_cell_delegate.h"

#include "library/library_model.h"
#include "library/thumbnail_loader.h"

#include <QPainter>

namespace {

constexpr int kMargin = 5;
constexpr int kCaptionTop = 80;
constexpr QSize kPictureSize(121, 71);

TPictureRef RefOf(const QModelIndex& index, int role) {
    return index.data(role).value<TPictureRef>();
}

} // namespace

TGameCellDelegate::TGameCellDelegate(TThumbnailLoader* thumbnails, QObject* parent)
    : QAbstractItemDelegate(parent), FThumbnails(thumbnails) {}

QRect TGameCellDelegate::PictureRect(const QRect& cell) {
    return {cell.topLeft() + QPoint(kMargin, kMargin), kPictureSize};
}

QRect TGameCellDelegate::CaptionRect(const QRect& cell, const QFontMetrics& metrics) {
    return {cell.left() + kMargin, cell.top() + kCaptionTop, kPictureSize.width(),
            metrics.height()};
}

void TGameCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QImage picture = PictureOf(index);
    if (!picture.isNull())
        painter->drawImage(PictureRect(option.rect), picture);
    const QRect caption = CaptionRect(option.rect, option.fontMetrics);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(
        caption, Qt::AlignCenter,
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, caption.width()));
}

QSize TGameCellDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return kCellSize;
}

bool TGameCellDelegate::ShowsFinalPicture(const QModelIndex& index) const {
    switch (FThumbnails->Find(RefOf(index, TLibraryModel::PictureRole))) {
    case TThumbnailLoader::TState::Decoded:
        return true;
    case TThumbnailLoader::TState::Failed: {
        const TPictureRef placeholder = RefOf(index, TLibraryModel::PlaceholderRole);
        return placeholder.IsNull() ||
               FThumbnails->Find(placeholder) != TThumbnailLoader::TState::Waiting;
    }
    case TThumbnailLoader::TState::Waiting:
        break;
    }
    return false;
}

QImage TGameCellDelegate::PictureOf(const QModelIndex& index) const {
    QImage picture;
    if (FThumbnails->Find(RefOf(index, TLibraryModel::PictureRole), &picture) !=
        TThumbnailLoader::TState::Decoded)
        FThumbnails->Find(RefOf(index, TLibraryModel::PlaceholderRole), &picture);
    return picture;
}
