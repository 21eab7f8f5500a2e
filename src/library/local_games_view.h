#pragma once

#include "library/picture_cache.h"
#include "library/picture_folder.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QScrollArea;
class TThumbnail;

// The grids of the local library's three pages: every stored game, the favourites, the games
// stored this week. Each build reads its list afresh and replaces the previous grid, whichever
// page held it. A grid larger than one slice is built over several turns of the event loop, so
// the window stays responsive; BuildFinished tells when the last cell is in place.
class TLocalGamesView : public QObject {
    Q_OBJECT
public:
    using TDatabase = std::function<QSqlDatabase()>;
    using TPlay = std::function<void(QObject* thumbnail)>;

    // Play receives the clicked thumbnail; its property "hint" holds the game's id.
    TLocalGamesView(QScrollArea* sbAll, QScrollArea* sbFavorite, QScrollArea* sbThisWeek,
                    TDatabase database, QString programFolder, TPlay play,
                    QObject* parent = nullptr);
    ~TLocalGamesView() override;

    // Page 0, 1 or 2. A failing statement raises an EFailure with the engine's message and
    // leaves the previous grid as it was.
    void LoadLocalGames(int page);

    // The cells of the last build, one per shown game, in the list's order.
    const QList<TThumbnail*>& Thumbnails() const { return FThumbnails; }
    const QList<QLabel*>& Captions() const { return FCaptions; }
    bool IsBuilding() const { return FNext < FPending.size(); }

    void SetSliceBudgetForTesting(int milliseconds) { FSliceBudgetMs = milliseconds; }

signals:
    void BuildFinished();

private:
    struct TCell {
        QString Id;
        QString Name;
        QString PicturePath;
    };

    QList<TCell> CellsOf(const QList<QSqlRecord>& rows) const;
    void DestroyGrid();
    QWidget* PageOf(int page);
    void StartGrid(int page);
    void ShowEmptyNote(QWidget* grid, int page);
    void NextSlice();
    void AddCells();
    void FreeRetiredBands();
    QWidget* BandOf(qsizetype index);
    void AddCell(qsizetype index);
    QImage PictureOf(const QString& path);

    std::array<QScrollArea*, 3> FAreas;
    TDatabase FDatabase;
    QString FProgramFolder;
    TPlay FPlay;
    TPictureCache FCache;
    int FSliceBudgetMs;
    QTimer FSliceTimer;
    QElapsedTimer FSliceClock;

    std::array<QPointer<QWidget>, 3> FPages;
    QPointer<QWidget> FGrid;
    // Previous grids, hidden, freed a band at a time once the new grid is complete.
    QList<QPointer<QWidget>> FRetired;
    QWidget* FBand = nullptr; // the band of rows now being filled
    QList<TThumbnail*> FThumbnails;
    QList<QLabel*> FCaptions;
    std::optional<TPictureFolder> FFolder;
    QList<TCell> FPending;
    qsizetype FNext = 0;
    int FCaptionHeight = 0;
};
