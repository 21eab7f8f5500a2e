#pragma once

#include "library/library_list.h"
#include "library/library_search.h"
#include "library/library_sort.h"

#include <QAbstractListModel>
#include <QList>

// The games of one library list as the grid shows them: those the search lets through, in the
// chosen order. Rows are the list's rows themselves, never a widget each.
class TLibraryModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum TRole {
        IdRole = Qt::UserRole + 1,
        PictureRole,     // TPictureRef of the game's picture file
        PlaceholderRole, // TPictureRef shown while the picture is not decoded, or cannot be
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Qt::DisplayRole gives the caption, Qt::ToolTipRole its tooltip.
    QVariant data(const QModelIndex& index, int role) const override;

    // A new list in place of the old one, complete when End is given.
    void Reset(const QString& pictureFolder, const QList<TLibraryGame>& rows,
               const TListEnd& end = TListEnd());
    // More rows of a list shown in its own order, and what completes it.
    void AddRows(const QList<TLibraryGame>& rows);
    void Complete(const TListEnd& end);

    void SetQuery(const QString& text);
    void SetSort(TLibrarySort sort);
    // The list's own order, all rows: rows can be shown as they come.
    bool ShowsListOrder() const { return FQuery.IsEmpty() && FSort == TLibrarySort::Stored; }
    bool IsSearching() const { return !FQuery.IsEmpty(); }

    const TLibraryGame& GameAt(int row) const { return FGames[FShown[row]]; }

private:
    const TGameDetails* DetailsOf(int game) const;
    QList<int> Matching(int first) const;
    void Refilter();
    void ShowMatching();

    QString FPictureFolder;
    TPlaceholders FPlaceholders;
    QList<TLibraryGame> FGames;
    QList<TGameDetails> FDetails; // empty until the list is complete
    QList<int> FShown;            // indexes into FGames
    TLibraryQuery FQuery;
    TLibrarySort FSort = TLibrarySort::Stored;
};
