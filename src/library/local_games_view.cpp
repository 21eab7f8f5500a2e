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
// Cells live in bands of rows rather than all side by side: Qt walks a widget's later siblings
// whenever it repaints it, and a parent's list of children whenever one of them goes, so ten
// thousand siblings would make both slow.
constexpr int kRowsPerBand = 8;
constexpr int kCellsPerBand = kColumns * kRowsPerBand;

using TListStatement = QList<QSqlRecord> (*)(const QSqlDatabase&);
constexpr std::array<TListStatement, 3> kListOfPage{ListAllGames, ListFavouriteGames,
                                                    ListGamesOfThisWeek};

// What an empty page says will come to it.
const std::array<QString, 3> kEmptyNotes{
    QStringLiteral("这里还没有游戏。玩过的游戏会自动保存在这里，以后不联网也能再玩。"),
    QStringLiteral("还没有收藏的游戏。玩游戏时点“添加到我的收藏”，它就会出现在这里。"),
    QStringLiteral("最近七天没有新玩的游戏。这七天里第一次玩的游戏会出现在这里。"),
};

// The top left corner of the Index-th cell within its band, filling rows left to right.
QPoint CellCorner(qsizetype index) {
    return {int(index % kColumns) * kCellWidth,
            int(index % kCellsPerBand / kColumns) * kCellHeight};
}

} // namespace

TLocalGamesView::TLocalGamesView(QScrollArea* sbAll, QScrollArea* sbFavorite,
                                 QScrollArea* sbThisWeek, TDatabase database, QString programFolder,
                                 TPlay play, QObject* parent)
    : QObject(parent), FAreas{sbAll, sbFavorite, sbThisWeek}, FDatabase(std::move(database)),
      FProgramFolder(std::move(programFolder)), FPlay(std::move(play)),
      FSliceBudgetMs(kSliceBudgetMs) {
    FSliceTimer.setSingleShot(true);
    connect(&FSliceTimer, &QTimer::timeout, this, &TLocalGamesView::NextSlice);
}

TLocalGamesView::~TLocalGamesView() {
    for (const QPointer<QWidget>& grid : FRetired)
        delete grid;
    delete FGrid;
}

void TLocalGamesView::LoadLocalGames(int page) {
    FSliceClock.start();
    const QList<QSqlRecord> rows = kListOfPage.at(size_t(page))(FDatabase());
    DestroyGrid();
    FFolder.emplace(FindInFolder(FProgramFolder, QStringLiteral("pic")));
    FPending = CellsOf(rows);
    StartGrid(page);
    AddCells();
    FSliceTimer.start(0);
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

// The cells leave the view at once; their grid is freed later, a band at a time.
void TLocalGamesView::DestroyGrid() {
    FSliceTimer.stop();
    FThumbnails.clear();
    FCaptions.clear();
    if (FGrid) {
        FGrid->hide();
        FRetired.append(FGrid);
    }
}

// Each page keeps one widget of its own in its scroll area for the grids to come and go in.
QWidget* TLocalGamesView::PageOf(int page) {
    QPointer<QWidget>& holder = FPages.at(size_t(page));
    QScrollArea* area = FAreas.at(size_t(page));
    if (holder.isNull() || area->widget() != holder) {
        holder = new QWidget;
        area->setWidget(holder);
    }
    return holder;
}

// The grid gets its full size at once, so adding cells never resizes or relays anything out.
void TLocalGamesView::StartGrid(int page) {
    FNext = 0;
    const qsizetype rows = (FPending.size() + kColumns - 1) / kColumns;
    QWidget* holder = PageOf(page);
    auto* grid = new QWidget(holder);
    grid->resize(kColumns * kCellWidth, int(rows) * kCellHeight);
    holder->resize(grid->size());
    if (holder->isVisible())
        grid->show();
    FGrid = grid;
    if (FPending.isEmpty())
        ShowEmptyNote(grid, page);
    FCaptionHeight = grid->fontMetrics().height();
    FThumbnails.reserve(FPending.size());
    FCaptions.reserve(FPending.size());
}

void TLocalGamesView::ShowEmptyNote(QWidget* grid, int page) {
    auto* note = new QLabel(kEmptyNotes.at(size_t(page)), grid);
    note->setObjectName(QStringLiteral("lblEmptyLibrary"));
    note->setWordWrap(true);
    note->setGeometry(kMargin * 4, kMargin * 4, kColumns * kCellWidth - kMargin * 8,
                      kCellHeight / 2);
    note->show();
    grid->resize(kColumns * kCellWidth, kCellHeight);
    grid->parentWidget()->resize(grid->size());
}

// The first slice runs within LoadLocalGames and shares its budget with the statement. The
// turns after it add the remaining cells; once the new grid is complete, the previous one is
// freed a band at a time, so neither the new grid nor the window waits for it.
void TLocalGamesView::NextSlice() {
    FSliceClock.start();
    if (IsBuilding())
        AddCells();
    else
        FreeRetiredBands();
    if (IsBuilding() || !FRetired.isEmpty())
        FSliceTimer.start(0);
}

void TLocalGamesView::FreeRetiredBands() {
    while (!FRetired.isEmpty()) {
        QWidget* grid = FRetired.first();
        const QList<QWidget*> bands =
            grid != nullptr ? grid->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)
                            : QList<QWidget*>();
        if (bands.isEmpty()) {
            delete grid;
            FRetired.removeFirst();
        } else {
            delete bands.last();
        }
        if (FSliceClock.elapsed() >= FSliceBudgetMs)
            return;
    }
}

// Cells until the slice's time is up, at least one.
void TLocalGamesView::AddCells() {
    while (IsBuilding()) {
        AddCell(FNext++);
        if (FSliceClock.elapsed() >= FSliceBudgetMs)
            break;
    }
    if (IsBuilding())
        return;
    FPending.clear();
    FNext = 0;
    FFolder.reset();
    emit BuildFinished();
}

QWidget* TLocalGamesView::BandOf(qsizetype index) {
    if (index % kCellsPerBand == 0) {
        FBand = new QWidget(FGrid);
        FBand->setGeometry(0, int(index / kColumns) * kCellHeight, kColumns * kCellWidth,
                           kRowsPerBand * kCellHeight);
    }
    return FBand;
}

void TLocalGamesView::AddCell(qsizetype index) {
    const TCell& cell = FPending[index];
    const QPoint corner = CellCorner(index);
    QWidget* band = BandOf(index);
    auto* thumbnail = new TThumbnail(cell.Id, PictureOf(cell.PicturePath), FPlay, band);
    thumbnail->setGeometry(QRect(corner + QPoint(kMargin, kMargin), kThumbnailSize));
    auto* caption = new QLabel(band);
    caption->setTextFormat(Qt::PlainText); // a name from the catalogue is never markup
    caption->setText(cell.Name);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(corner.x() + kMargin, corner.y() + kCaptionTop, thumbnail->width(),
                         FCaptionHeight);
    FThumbnails.append(thumbnail);
    FCaptions.append(caption);
    // A band comes on screen once, with all its cells: showing each cell by itself would post
    // and handle a round of events per widget.
    const bool bandComplete = (index + 1) % kCellsPerBand == 0 || index + 1 == FPending.size();
    if (bandComplete && FGrid->isVisible())
        band->show();
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
