#include "library/local_games_view.h"

#include "common/common_method.h"
#include "common/folder_lookup.h"
#include "library/flash_statements.h"
#include "library/picture_loader.h"
#include "library/picture_thumbnail.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QScrollArea>

namespace {

constexpr int kColumns = 4;
constexpr int kCellWidth = 150;
constexpr int kCellHeight = 100;
constexpr int kMargin = 5;
constexpr int kCaptionTop = 80;
constexpr QSize kThumbnailSize(121, 71);
// Well under what a user notices as a stall, while still building thousands of cells a second.
constexpr int kSliceBudgetMs = 30;

using TListStatement = QList<QSqlRecord> (*)(const QSqlDatabase&);
constexpr std::array<TListStatement, 3> kListOfPage{ListAllGames, ListFavouriteGames,
                                                    ListGamesOfThisWeek};

// The top left corner of the Index-th cell, filling rows left to right.
QPoint CellCorner(qsizetype index) {
    return {int(index % kColumns) * kCellWidth, int(index / kColumns) * kCellHeight};
}

} // namespace

TLocalGamesView::TLocalGamesView(QScrollArea* sbAll, QScrollArea* sbFavorite,
                                 QScrollArea* sbThisWeek, TDatabase database, QString programFolder,
                                 TPlay play, QObject* parent)
    : QObject(parent), FAreas{sbAll, sbFavorite, sbThisWeek}, FDatabase(std::move(database)),
      FProgramFolder(std::move(programFolder)), FPlay(std::move(play)),
      FSliceBudgetMs(kSliceBudgetMs) {
    FSliceTimer.setSingleShot(true);
    connect(&FSliceTimer, &QTimer::timeout, this, &TLocalGamesView::BuildSlice);
}

TLocalGamesView::~TLocalGamesView() {
    delete FGrid;
}

void TLocalGamesView::LoadLocalGames(int page) {
    QScrollArea* area = FAreas.at(size_t(page));
    const QList<QSqlRecord> rows = kListOfPage.at(size_t(page))(FDatabase());
    DestroyGrid();
    FFolder.emplace(FindInFolder(FProgramFolder, QStringLiteral("pic")));
    FPending = CellsOf(rows);
    StartGrid(area);
    BuildSlice();
}

QList<TLocalGamesView::TCell> TLocalGamesView::CellsOf(const QList<QSqlRecord>& rows) const {
    QList<TCell> cells;
    cells.reserve(rows.size());
    for (const QSqlRecord& row : rows) {
        const QString picture = FFolder->Find(FieldText(row, QStringLiteral("picName")));
        if (!picture.isEmpty())
            cells.append({FieldText(row, QStringLiteral("id")),
                          TrimBlanks(FieldText(row, QStringLiteral("flashname"))), picture});
    }
    return cells;
}

// The cells die with the grid widget in one sweep; deleting them one by one would search the
// parent's list of children for each.
void TLocalGamesView::DestroyGrid() {
    FSliceTimer.stop();
    FThumbnails.clear();
    FCaptions.clear();
    delete FGrid;
}

// The grid gets its full size at once, so adding cells never resizes or relays anything out.
void TLocalGamesView::StartGrid(QScrollArea* area) {
    FNext = 0;
    const qsizetype rows = (FPending.size() + kColumns - 1) / kColumns;
    auto* grid = new QWidget;
    grid->resize(kColumns * kCellWidth, int(rows) * kCellHeight);
    area->setWidget(grid);
    FGrid = grid;
    FCaptionHeight = grid->fontMetrics().height();
    FThumbnails.reserve(FPending.size());
    FCaptions.reserve(FPending.size());
}

void TLocalGamesView::BuildSlice() {
    QElapsedTimer clock;
    clock.start();
    while (IsBuilding()) {
        AddCell(FNext++);
        if (clock.elapsed() >= FSliceBudgetMs)
            break;
    }
    if (IsBuilding()) {
        FSliceTimer.start(0);
        return;
    }
    FPending.clear();
    FNext = 0;
    FFolder.reset();
    emit BuildFinished();
}

void TLocalGamesView::AddCell(qsizetype index) {
    const TCell& cell = FPending[index];
    const QPoint corner = CellCorner(index);
    auto* thumbnail = new TThumbnail(cell.Id, PictureOf(cell.PicturePath), FPlay, FGrid);
    thumbnail->setGeometry(QRect(corner + QPoint(kMargin, kMargin), kThumbnailSize));
    auto* caption = new QLabel(cell.Name, FGrid);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(corner.x() + kMargin, corner.y() + kCaptionTop, thumbnail->width(),
                         FCaptionHeight);
    // Cells made before the grid is first shown appear with it; later ones show themselves.
    if (FGrid->isVisible()) {
        thumbnail->show();
        caption->show();
    }
    FThumbnails.append(thumbnail);
    FCaptions.append(caption);
}

// An undecodable picture shows the placeholder of its own kind, else the GIF one.
QImage TLocalGamesView::PictureOf(const QString& path) {
    const QImage picture = FCache.Thumbnail(QFileInfo(path), kThumbnailSize);
    if (!picture.isNull())
        return picture;
    const QString extension = QFileInfo(path).suffix();
    for (const QString& name :
         {QStringLiteral("nopic.") + extension, QStringLiteral("nopic.gif")}) {
        const QString placeholder =
            PictureKindOf(name) == TPictureKind::Unknown ? QString() : FFolder->Find(name);
        if (!placeholder.isEmpty()) {
            const QImage substitute = FCache.Thumbnail(QFileInfo(placeholder), kThumbnailSize);
            if (!substitute.isNull())
                return substitute;
        }
    }
    return {};
}
