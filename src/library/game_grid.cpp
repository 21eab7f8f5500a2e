#include "library/game_grid.h"

#include "library/game_cell_delegate.h"
#include "library/library_model.h"
#include "library/thumbnail_loader.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace {

constexpr int kCellWidth = TGameCellDelegate::kCellSize.width();
constexpr int kCellHeight = TGameCellDelegate::kCellSize.height();
constexpr int kGridWidth = TGameGrid::kColumns * kCellWidth;
constexpr int kScrollStep = 20;
constexpr int kNoteMargin = 20;

int GridRows(int cells) {
    return (cells + TGameGrid::kColumns - 1) / TGameGrid::kColumns;
}

} // namespace

TGameGrid::TGameGrid(const QString& objectName, QWidget* parent)
    : QAbstractItemView(parent), FEmptyNote(new QLabel(viewport())) {
    setObjectName(objectName);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    // The page's own background, as behind the pictures of old, not an item view's white.
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setMouseTracking(true);
    FEmptyNote->setObjectName(QStringLiteral("lblEmptyLibrary"));
    FEmptyNote->setWordWrap(true);
    FEmptyNote->setGeometry(kNoteMargin, kNoteMargin, kGridWidth - 2 * kNoteMargin,
                            kCellHeight / 2);
    FEmptyNote->hide();
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { FWantedOffset = -1; });
}

void TGameGrid::SetThumbnails(TThumbnailLoader* thumbnails) {
    setModel(nullptr);
    setItemDelegate(nullptr);
    delete FCells;
    FCells = nullptr;
    if (FThumbnails)
        FThumbnails->disconnect(this);
    FThumbnails = thumbnails;
    if (!thumbnails)
        return;
    FCells = new TGameCellDelegate(thumbnails, this);
    setItemDelegate(FCells);
    connect(thumbnails, &TThumbnailLoader::Decoded, this, &TGameGrid::ThumbnailDecoded);
}

void TGameGrid::SetEmptyNote(const QString& text) {
    FEmptyNote->setText(text);
    ShowEmptyNote();
}

QRect TGameGrid::PictureRect(const QModelIndex& index) const {
    return TGameCellDelegate::PictureRect(visualRect(index));
}

QRect TGameGrid::CaptionRect(const QModelIndex& index) const {
    return TGameCellDelegate::CaptionRect(visualRect(index), fontMetrics());
}

QRect TGameGrid::visualRect(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    return {row % kColumns * kCellWidth - horizontalOffset(),
            row / kColumns * kCellHeight - verticalOffset(), kCellWidth, kCellHeight};
}

void TGameGrid::scrollTo(const QModelIndex& index, ScrollHint) {
    const QRect cell = visualRect(index);
    if (cell.top() < 0)
        verticalScrollBar()->setValue(verticalOffset() + cell.top());
    else if (cell.bottom() >= viewport()->height())
        verticalScrollBar()->setValue(verticalOffset() + cell.bottom() + 1 - viewport()->height());
}

QModelIndex TGameGrid::indexAt(const QPoint& point) const {
    const QPoint at = point + QPoint(horizontalOffset(), verticalOffset());
    if (!model() || at.x() < 0 || at.y() < 0 || at.x() >= kGridWidth)
        return {};
    const int row = at.y() / kCellHeight * kColumns + at.x() / kCellWidth;
    return row < RowCount() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

void TGameGrid::HoldPlace() {
    FWantedOffset = verticalScrollBar()->value();
}

void TGameGrid::ShowTop() {
    FWantedOffset = -1;
    scrollToTop();
}

void TGameGrid::reset() {
    FScreenComplete = false;
    QAbstractItemView::reset();
    ShowEmptyNote();
}

QModelIndex TGameGrid::moveCursor(CursorAction, Qt::KeyboardModifiers) {
    return {};
}

int TGameGrid::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int TGameGrid::verticalOffset() const {
    return verticalScrollBar()->value();
}

bool TGameGrid::isIndexHidden(const QModelIndex&) const {
    return false;
}

void TGameGrid::setSelection(const QRect&, QItemSelectionModel::SelectionFlags) {}

QRegion TGameGrid::visualRegionForSelection(const QItemSelection&) const {
    return {};
}

void TGameGrid::updateGeometries() {
    const QSize view = viewport()->size();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, GridRows(RowCount()) * kCellHeight - view.height()));
    vertical->setPageStep(view.height());
    vertical->setSingleStep(kScrollStep);
    horizontalScrollBar()->setRange(0, std::max(0, kGridWidth - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(kScrollStep);
    if (FWantedOffset >= 0) {
        vertical->setValue(FWantedOffset);
        if (vertical->value() == FWantedOffset)
            FWantedOffset = -1;
    }
    QAbstractItemView::updateGeometries();
}

void TGameGrid::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    ShowEmptyNote();
    viewport()->update();
}

// Cells whose placeholders came are complete only once painted with them.
void TGameGrid::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                            const QList<int>& roles) {
    FScreenComplete = false;
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

// Cells scrolled into view are complete only once painted with their pictures.
void TGameGrid::scrollContentsBy(int dx, int dy) {
    FScreenComplete = false;
    QAbstractItemView::scrollContentsBy(dx, dy);
}

void TGameGrid::paintEvent(QPaintEvent* event) {
    if (!FCells || !model())
        return;
    const auto [first, last] = RowsWithin(verticalOffset(), viewport()->height());
    AskForPictures(first, last);
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    bool complete = true;
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        option.rect = visualRect(index);
        if (event->region().intersects(option.rect))
            FCells->paint(&painter, option, index);
        complete = complete && FCells->ShowsFinalPicture(index);
    }
    FScreenComplete = complete;
    if (complete)
        emit ScreenCompleted();
}

// The cells on screen first, then those of a screen above and below, so that scrolling finds
// them decoded; what scrolled away is no longer asked for.
void TGameGrid::AskForPictures(int first, int last) {
    const auto [above, below] =
        RowsWithin(verticalOffset() - viewport()->height(), 3 * viewport()->height());
    QList<TPictureRef> onScreen;
    QList<TPictureRef> nearby;
    FOnScreen.clear();
    for (int row = above; row <= below; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        const auto picture = index.data(TLibraryModel::PictureRole).value<TPictureRef>();
        if (row < first || row > last) {
            nearby.append(picture);
            continue;
        }
        const auto placeholder = index.data(TLibraryModel::PlaceholderRole).value<TPictureRef>();
        onScreen << placeholder << picture;
        FOnScreen.insert(placeholder);
        FOnScreen.insert(picture);
    }
    FThumbnails->Request(onScreen, nearby);
}

void TGameGrid::ThumbnailDecoded(const TPictureRef& ref) {
    if (FOnScreen.contains(ref))
        viewport()->update();
}

void TGameGrid::mousePressEvent(QMouseEvent* event) {
    FPressed =
        event->button() == Qt::LeftButton ? PictureAt(event->position().toPoint()) : QModelIndex();
}

void TGameGrid::mouseReleaseEvent(QMouseEvent* event) {
    const QModelIndex released = PictureAt(event->position().toPoint());
    const bool chosen =
        event->button() == Qt::LeftButton && released.isValid() && released == FPressed;
    FPressed = QModelIndex();
    if (chosen)
        emit GameChosen(released);
}

void TGameGrid::mouseMoveEvent(QMouseEvent* event) {
    const bool onPicture = PictureAt(event->position().toPoint()).isValid();
    viewport()->setCursor(onPicture ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

// Only the caption has a tooltip; the picture has none.
bool TGameGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QAbstractItemView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    if (index.isValid() && CaptionRect(index).contains(help->pos()))
        QToolTip::showText(help->globalPos(), index.data(Qt::ToolTipRole).toString(), viewport(),
                           CaptionRect(index));
    else
        QToolTip::hideText();
    return true;
}

int TGameGrid::RowCount() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

std::pair<int, int> TGameGrid::RowsWithin(int top, int height) const {
    const int firstRow = std::max(0, top) / kCellHeight;
    const int lastRow = std::max(0, top + height - 1) / kCellHeight;
    return {std::min(firstRow * kColumns, RowCount()),
            std::min((lastRow + 1) * kColumns, RowCount()) - 1};
}

QModelIndex TGameGrid::PictureAt(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    return index.isValid() && PictureRect(index).contains(point) ? index : QModelIndex();
}

void TGameGrid::ShowEmptyNote() {
    FEmptyNote->setVisible(model() && RowCount() == 0 && !FEmptyNote->text().isEmpty());
}
