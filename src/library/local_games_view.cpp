#include "library/local_games_view.h"

#include "library/game_grid.h"
#include "library/library_reader.h"
#include "library/thumbnail_loader.h"

namespace {

constexpr QSize kThumbnailSize(121, 71);

// What an empty page says will come to it.
const std::array<QString, kLibraryPages> kEmptyNotes{
    QStringLiteral("这里还没有游戏。玩过的游戏会自动保存在这里，以后不联网也能再玩。"),
    QStringLiteral("还没有收藏的游戏。玩游戏时点“添加到我的收藏”，它就会出现在这里。"),
    QStringLiteral("最近七天没有新玩的游戏。这七天里第一次玩的游戏会出现在这里。"),
    QStringLiteral("还没有玩游戏的记录。从现在起玩过的游戏会按时间排在这里，最近玩的在前。"),
};

} // namespace

TLocalGamesView::TLocalGamesView(const TGrids& grids, const QString& databasePath,
                                 const QString& programFolder, TPlay play, TReport report,
                                 QObject* parent)
    : QObject(parent), FPlay(std::move(play)), FReport(std::move(report)),
      FThumbnails(new TThumbnailLoader(kThumbnailSize, TThumbnailLoader::kDefaultMaxBytes, this)),
      FReader(new TLibraryReader(databasePath, programFolder, this)) {
    for (size_t page = 0; page < grids.size(); ++page) {
        TGameGrid* grid = grids[page];
        FGrids[page] = grid;
        grid->SetThumbnails(FThumbnails);
        connect(grid, &TGameGrid::GameChosen, this, [this](const QModelIndex& index) {
            FPlay(index.data(TLibraryModel::IdRole).toString());
        });
    }
    ShowEmptyNotes();
    connect(FReader, &TLibraryReader::RowsRead, this, &TLocalGamesView::RowsRead);
    connect(FReader, &TLibraryReader::ListRead, this, &TLocalGamesView::ListRead);
    connect(FReader, &TLibraryReader::ReadFailed, this, &TLocalGamesView::ReadFailed);
}

// Grids that outlive the view show nothing more of it, unless another view took them over.
TLocalGamesView::~TLocalGamesView() {
    for (TGameGrid* grid : FGrids) {
        if (grid && grid->Thumbnails() == FThumbnails)
            grid->SetThumbnails(nullptr);
    }
}

QStringList TLocalGamesView::SortCaptions() {
    return {QStringLiteral("加入顺序"), QStringLiteral("名称"), QStringLiteral("最近玩过"),
            QStringLiteral("玩的次数")};
}

void TLocalGamesView::LoadLocalGames(int page) {
    FPage = page;
    FLoading = true;
    FReader->Read(TLibraryPage(page));
}

void TLocalGamesView::SetSearchText(const QString& text) {
    FModel.SetQuery(text);
    ShowEmptyNotes();
    FGrids[size_t(FPage)]->ShowTop();
}

void TLocalGamesView::SetSortOrder(TLibrarySort sort) {
    FModel.SetSort(sort);
    FGrids[size_t(FPage)]->ShowTop();
}

// A list in its own order is shown from its first rows on; otherwise its rows wait until the
// list is whole, so that the order of what is on screen never changes under the user's eyes.
void TLocalGamesView::RowsRead(const TRowBatch& batch) {
    if (batch.First) {
        FStreaming = FModel.ShowsListOrder();
        FPictureFolder = batch.PictureFolder;
        FRows.clear();
        if (FStreaming) {
            // Coming back to a page finds it where it was left.
            if (FGrids[size_t(FPage)]->model() == &FModel)
                FGrids[size_t(FPage)]->HoldPlace();
            FModel.Reset(FPictureFolder, batch.Rows);
            ShowModelOn(FPage);
            return;
        }
    }
    if (FStreaming)
        FModel.AddRows(batch.Rows);
    else
        FRows.append(batch.Rows);
}

void TLocalGamesView::ListRead(const TListEnd& end) {
    if (FStreaming) {
        FModel.Complete(end);
    } else {
        FModel.Reset(FPictureFolder, FRows, end);
        FRows.clear();
        ShowModelOn(FPage);
    }
    FLoading = false;
    emit ListShown();
}

void TLocalGamesView::ReadFailed(const QString& message) {
    FLoading = false;
    FReport(message);
}

void TLocalGamesView::ShowModelOn(int page) {
    for (size_t i = 0; i < FGrids.size(); ++i)
        FGrids[i]->setModel(int(i) == page ? &FModel : nullptr);
}

void TLocalGamesView::ShowEmptyNotes() {
    for (size_t page = 0; page < FGrids.size(); ++page)
        FGrids[page]->SetEmptyNote(
            FModel.IsSearching()
                ? QStringLiteral("没有找到名称或拼音与所输入的相符的游戏。按 Esc 清除搜索。")
                : kEmptyNotes[page]);
}
