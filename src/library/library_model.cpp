#include "library/library_model.h"

#include "library/game_tool_tip.h"

#include <QThreadPool>

namespace {

// Freeing the 100,000 rows of a list takes the UI thread some 25 ms: a pool thread does it.
template <typename... TLists> void FreeElsewhere(TLists&&... lists) {
    QThreadPool::globalInstance()->start(
        [freed = std::make_tuple(std::move(lists)...)]() mutable { freed = {}; });
}

} // namespace

int TLibraryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(FShown.size());
}

QVariant TLibraryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= FShown.size())
        return {};
    const int game = FShown[index.row()];
    const TLibraryGame& row = FGames[game];
    switch (role) {
    case Qt::DisplayRole:
        return row.Name;
    case Qt::ToolTipRole:
        return GameToolTip(row, DetailsOf(game));
    case IdRole:
        return row.Id;
    case PictureRole:
        return QVariant::fromValue(TPictureRef{FPictureFolder + QLatin1Char('/') + row.PictureName,
                                               row.PictureSize, row.PictureModifiedNs});
    case PlaceholderRole:
        return QVariant::fromValue(PlaceholderOf(FPlaceholders, row.PictureName));
    default:
        return {};
    }
}

void TLibraryModel::Reset(const QString& pictureFolder, const QList<TLibraryGame>& rows,
                          const TListEnd& end) {
    beginResetModel();
    FreeElsewhere(std::exchange(FGames, rows), std::exchange(FDetails, end.Details),
                  std::exchange(FShown, {}));
    FPictureFolder = pictureFolder;
    FPlaceholders = end.Placeholders;
    ShowMatching();
    endResetModel();
}

void TLibraryModel::AddRows(const QList<TLibraryGame>& rows) {
    const int first = int(FGames.size());
    FGames.append(rows);
    const QList<int> added = Matching(first);
    if (added.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(FShown.size()), int(FShown.size() + added.size() - 1));
    FShown.append(added);
    endInsertRows();
}

void TLibraryModel::Complete(const TListEnd& end) {
    FPlaceholders = end.Placeholders;
    FDetails = end.Details;
    // Rows that came in batches left room for more behind them.
    FGames.squeeze();
    FShown.squeeze();
    if (!ShowsListOrder())
        Refilter();
    else if (!FShown.isEmpty())
        emit dataChanged(index(0), index(int(FShown.size()) - 1),
                         {Qt::ToolTipRole, PlaceholderRole});
}

void TLibraryModel::SetQuery(const QString& text) {
    FQuery = TLibraryQuery(text);
    Refilter();
}

void TLibraryModel::SetSort(TLibrarySort sort) {
    FSort = sort;
    Refilter();
}

const TGameDetails* TLibraryModel::DetailsOf(int game) const {
    return FDetails.isEmpty() ? nullptr : &FDetails[game];
}

QList<int> TLibraryModel::Matching(int first) const {
    QList<int> matching;
    for (int game = first; game < FGames.size(); ++game) {
        if (FQuery.IsEmpty() || FQuery.Matches(FGames[game], DetailsOf(game)))
            matching.append(game);
    }
    return matching;
}

void TLibraryModel::Refilter() {
    beginResetModel();
    ShowMatching();
    endResetModel();
}

void TLibraryModel::ShowMatching() {
    FShown = Matching(0);
    SortShown(FShown, FSort, FDetails);
}
