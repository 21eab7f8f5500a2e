#pragma once

#include "library/picture_ref.h"

#include <QAbstractItemView>
#include <QSet>

class QLabel;
class TGameCellDelegate;
class TThumbnailLoader;

// The grid of one local library page: four cells of 150 × 100 pixels to a row, in the model's
// order, the first at the top left. It costs what is on screen: only the cells in view are
// painted, and only their pictures and those of the cells a screen above and below are asked
// of the thumbnail loader. A left click on a picture chooses its game.
class TGameGrid : public QAbstractItemView {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;

    explicit TGameGrid(const QString& objectName, QWidget* parent = nullptr);

    // The loader of the pictures; null lets go of the loader and of the model.
    void SetThumbnails(TThumbnailLoader* thumbnails);
    TThumbnailLoader* Thumbnails() const { return FThumbnails; }
    // What the page says while its list is shown and empty.
    void SetEmptyNote(const QString& text);
    // The next list keeps the place scrolled to, as far as its rows reach as they come in.
    void HoldPlace();
    // Shows the top of the list, and lets go of a place held.
    void ShowTop();

    // Where the cell's parts lie in the viewport.
    QRect PictureRect(const QModelIndex& index) const;
    QRect CaptionRect(const QModelIndex& index) const;
    // The cells on screen show what they will go on showing: the last paint left nothing to
    // wait for.
    bool ScreenComplete() const { return FScreenComplete; }

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void reset() override;

signals:
    void GameChosen(const QModelIndex& index);
    // A paint has left every cell on screen complete.
    void ScreenCompleted();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void scrollContentsBy(int dx, int dy) override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    int RowCount() const;
    // The first and last row of the cells within Height pixels from Top of the grid.
    std::pair<int, int> RowsWithin(int top, int height) const;
    QModelIndex PictureAt(const QPoint& point) const;
    void AskForPictures(int first, int last);
    void ShowEmptyNote();
    void ThumbnailDecoded(const TPictureRef& ref);

    TThumbnailLoader* FThumbnails = nullptr;
    TGameCellDelegate* FCells = nullptr;
    QLabel* FEmptyNote;
    QSet<TPictureRef> FOnScreen;
    QPersistentModelIndex FPressed;
    bool FScreenComplete = false;
    // The place held, taken up again as rows come in; -1 when none is.
    int FWantedOffset = -1;
};
