#pragma once

#include "library/flash_statements.h"
#include "library/library_model.h"
#include "library/library_sort.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

class TGameGrid;
class TLibraryReader;
class TThumbnailLoader;
struct TListEnd;
struct TRowBatch;

// The local library's pages: every stored game, the favourites, the games stored this week and
// the games played, the last played first. Each visit reads the page's list afresh and shows it
// in place of the list shown before, whichever page held that. The list is read off the UI
// thread; shown in its own order, its first screen comes with its first rows, the rest as it is
// read. Searched or sorted otherwise, it comes once it is whole. ListShown tells when it is.
class TLocalGamesView : public QObject {
    Q_OBJECT
public:
    using TGrids = std::array<TGameGrid*, kLibraryPages>;
    using TPlay = std::function<void(const QString& id)>;
    using TReport = std::function<void(const QString& failureText)>;

    // Play receives the id of the game whose picture was clicked; Report the engine's message
    // when a list cannot be read, and the page then keeps what it showed.
    TLocalGamesView(const TGrids& grids, const QString& databasePath, const QString& programFolder,
                    TPlay play, TReport report, QObject* parent = nullptr);
    ~TLocalGamesView() override;

    // Page is the index of TLibraryPage.
    void LoadLocalGames(int page);
    void SetSearchText(const QString& text);
    void SetSortOrder(TLibrarySort sort);

    // The captions of TLibrarySort's orders, in its order.
    static QStringList SortCaptions();

    bool IsLoading() const { return FLoading; }
    const TLibraryModel& Model() const { return FModel; }
    TThumbnailLoader& Thumbnails() const { return *FThumbnails; }

signals:
    void ListShown();

private:
    void RowsRead(const TRowBatch& batch);
    void ListRead(const TListEnd& end);
    void ReadFailed(const QString& message);
    void ShowModelOn(int page);
    void ShowEmptyNotes();

    std::array<QPointer<TGameGrid>, kLibraryPages> FGrids;
    TPlay FPlay;
    TReport FReport;
    TThumbnailLoader* FThumbnails;
    TLibraryReader* FReader;
    TLibraryModel FModel;
    int FPage = 0;
    bool FLoading = false;
    // A list shown once whole: its rows so far, with the picture folder of its first batch.
    bool FStreaming = false;
    QString FPictureFolder;
    QList<TLibraryGame> FRows;
};
