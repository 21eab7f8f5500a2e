#include "common/common_method.h"
#include "common/date_time.h"
#include "common/program_folder.h"
#include "library/flash_statements.h"
#include "library/game_grid.h"
#include "library/library_connection.h"
#include "library/local_games_view.h"
#include "library/play_recorder.h"
#include "library/search_field.h"
#include "library/thumbnail_loader.h"
#include "picture_files.h"
#include "support/pump_events.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QColor kPlaceholderJpeg(250, 0, 250);
const QColor kPlaceholderGif(0, 250, 250);

PictureFormat FormatOf(const QString& picName) {
    const QString extension = QFileInfo(picName).suffix().toLower();
    if (extension == QLatin1String("gif"))
        return PictureFormat::Gif;
    if (extension == QLatin1String("png"))
        return PictureFormat::Png;
    if (extension == QLatin1String("bmp"))
        return PictureFormat::Bmp;
    return PictureFormat::Jpeg;
}

// A program folder with its library and pictures, and the four pages in a shown window, with the
// search field wired as the main window wires it.
class LocalGamesView : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("program"))); }

    void TearDown() override {
        FView.reset();
        FWindow.reset();
        FConnection.reset();
        SetProgramFolderForTesting(QString());
        TClock::SetNowForTesting(nullptr);
    }

    void Open(const QString& folderName) {
        FView.reset();
        FConnection.reset();
        ASSERT_TRUE(FRoot.isValid());
        FProgramFolder = FRoot.filePath(folderName) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(FProgramFolder + QStringLiteral("pic")));
        SetProgramFolderForTesting(FProgramFolder);
        QString errorText;
        ASSERT_TRUE(TCommonMethod::CreateDatabase(errorText)) << errorText.toStdString();
        FConnection = std::make_unique<TLibraryConnection>(LibraryDatabasePath());
        WritePicture(QStringLiteral("nopic.jpg"), kPlaceholderJpeg);
        WritePicture(QStringLiteral("nopic.gif"), kPlaceholderGif);
        FWindow = std::make_unique<QWidget>();
        auto* column = new QVBoxLayout(FWindow.get());
        FSearch = new TSearchField(QStringLiteral("edtSearchGames"));
        column->addWidget(FSearch);
        for (size_t page = 0; page < FGrids.size(); ++page) {
            FGrids[page] = new TGameGrid(QStringLiteral("grid%1").arg(page));
            column->addWidget(FGrids[page]);
        }
        FWindow->resize(640, 1000);
        FWindow->show();
        FView = std::make_unique<TLocalGamesView>(
            TLocalGamesView::TGrids{FGrids[0], FGrids[1], FGrids[2], FGrids[3]},
            LibraryDatabasePath(), FProgramFolder, [this](const QString& id) { FPlayed << id; },
            [this](const QString& failure) { FFailures << failure; });
        QObject::connect(FSearch, &QLineEdit::textChanged, FView.get(),
                         &TLocalGamesView::SetSearchText);
    }

    void WritePicture(const QString& name, QColor colour) const {
        WriteFile(FProgramFolder + QStringLiteral("pic/") + name,
                  Encoded(PlainImage(colour), FormatOf(name)));
    }

    void StoreGame(const QString& id, const QString& name, const QString& picName,
                   const QDateTime& storedAt = QDateTime::currentDateTime()) const {
        const TNamedValues values{
            {"id", id},         {"flashname", name},  {"flashurl", "http://h.example/a.swf"},
            {"nclass", ""},     {"classid", ""},      {"classname", ""},
            {"picUrl", "p"},    {"picName", picName}, {"body", ""},
            {"fDate", storedAt}};
        ASSERT_EQ(InsertGame(FConnection->Database(), values), 1);
    }

    // Games stored a minute apart, in the given order, each with a picture of its own colour.
    void StoreGamesWithPictures(int count, const QString& extension = QStringLiteral("jpg")) {
        const QDateTime first = QDateTime::currentDateTime().addSecs(-36000);
        for (int i = 0; i < count; ++i) {
            const QString picName = QStringLiteral("g%1.%2").arg(i).arg(extension);
            WritePicture(picName, ColourOf(i));
            StoreGame(QString::number(i), QStringLiteral("game %1").arg(i), picName,
                      first.addSecs(60 * i));
        }
    }

    static QColor ColourOf(int i) { return QColor::fromHsv((i * 37) % 360, 200, 220); }

    // Shows the page's list and waits until the pictures on screen are decoded and painted.
    [[nodiscard]] bool Load(int page) {
        FView->LoadLocalGames(page);
        return PumpEventsUntil([&] {
            return !FView->IsLoading() && (FGrids[page]->ScreenComplete() || !FFailures.isEmpty());
        });
    }

    QStringList ShownIds(int page) const {
        const QAbstractItemModel* model = FGrids[size_t(page)]->model();
        QStringList ids;
        for (int row = 0; model && row < model->rowCount(); ++row)
            ids.append(model->index(row, 0).data(TLibraryModel::IdRole).toString());
        return ids;
    }

    QModelIndex Cell(int page, int row) const {
        return FGrids[size_t(page)]->model()->index(row, 0);
    }

    // What the page painted at the centre of the cell's picture.
    bool Shows(int page, int row, QColor colour) const {
        TGameGrid* grid = FGrids[size_t(page)];
        const QImage painted = grid->viewport()->grab().toImage();
        const QColor centre = painted.pixelColor(grid->PictureRect(Cell(page, row)).center());
        return std::abs(centre.red() - colour.red()) <= 4 &&
               std::abs(centre.green() - colour.green()) <= 4 &&
               std::abs(centre.blue() - colour.blue()) <= 4;
    }

    QString EmptyNote(int page) const {
        const auto* note =
            FGrids[size_t(page)]->findChild<QLabel*>(QStringLiteral("lblEmptyLibrary"));
        return note && note->isVisibleTo(FGrids[size_t(page)]) ? note->text() : QString();
    }

    void Click(int page, const QPoint& at, Qt::MouseButton button = Qt::LeftButton) const {
        QWidget* viewport = FGrids[size_t(page)]->viewport();
        QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        QApplication::sendEvent(viewport, &release);
    }

    QTemporaryDir FRoot;
    QString FProgramFolder;
    std::unique_ptr<TLibraryConnection> FConnection;
    std::unique_ptr<QWidget> FWindow;
    TSearchField* FSearch = nullptr;
    std::array<TGameGrid*, kLibraryPages> FGrids{};
    std::unique_ptr<TLocalGamesView> FView;
    QStringList FPlayed;
    QStringList FFailures;
};

TEST_F(LocalGamesView, FillsRowsOfFourCellsInStoredOrderWithTheirPicturesAndTrimmedNames) {
    StoreGamesWithPictures(4);
    WritePicture(QStringLiteral("t.png"), Qt::red);
    StoreGame(QStringLiteral("it's"), QStringLiteral(" \t坦克<b>大战</b>  "),
              QStringLiteral("t.png"));
    ASSERT_TRUE(Load(0));
    ASSERT_EQ(ShownIds(0), QStringList({"0", "1", "2", "3", "it's"}));
    const QList<QPoint> corners{{5, 5}, {155, 5}, {305, 5}, {455, 5}, {5, 105}};
    const int lineHeight = FGrids[0]->fontMetrics().height();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(FGrids[0]->PictureRect(Cell(0, i)), QRect(corners[i], QSize(121, 71))) << i;
        EXPECT_EQ(FGrids[0]->CaptionRect(Cell(0, i)),
                  QRect(corners[i] + QPoint(0, 75), QSize(121, lineHeight)));
        EXPECT_TRUE(Shows(0, i, i < 4 ? ColourOf(i) : QColor(Qt::red))) << i;
        EXPECT_EQ(FGrids[0]->indexAt(corners[i] + QPoint(60, 90)), Cell(0, i));
    }
    EXPECT_EQ(Cell(0, 4).data().toString(), QStringLiteral("坦克<b>大战</b>"));
    const QString tip = Cell(0, 4).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(QStringLiteral("坦克&lt;b&gt;大战&lt;/b&gt;"))) << "never markup";
    EXPECT_TRUE(tip.contains(QStringLiteral("加入时间：") +
                             QDateTime::currentDateTime().toString("yyyy-MM-dd")));
    EXPECT_FALSE(tip.contains(QStringLiteral("it's"))) << "the id stays out of sight";
    EXPECT_TRUE(EmptyNote(0).isEmpty());
}

TEST_F(LocalGamesView, ARowWithoutItsPictureFileGivesItsCellToTheNext) {
    StoreGamesWithPictures(3);
    QFile::remove(FProgramFolder + QStringLiteral("pic/g1.jpg"));
    StoreGame(QStringLiteral("empty"), QStringLiteral("no name"), QString());
    StoreGame(QStringLiteral("outside"), QStringLiteral("no name"),
              QStringLiteral("../pic/g0.jpg"));
    WritePicture(QStringLiteral("Tank.JPG"), Qt::blue);
    StoreGame(QStringLiteral("case"), QStringLiteral("tank"), QStringLiteral("tank.jpg"));
    ASSERT_TRUE(Load(0));
    ASSERT_EQ(ShownIds(0), QStringList({"0", "2", "case"}));
    EXPECT_EQ(FGrids[0]->PictureRect(Cell(0, 1)).topLeft(), QPoint(155, 5));
    EXPECT_TRUE(Shows(0, 1, ColourOf(2)));
    EXPECT_TRUE(Shows(0, 2, Qt::blue));
}

TEST_F(LocalGamesView, AClickOnAPictureAfterAScrollPlaysThatGame) {
    StoreGamesWithPictures(203, QStringLiteral("gif"));
    ASSERT_TRUE(Load(0));
    ASSERT_EQ(ShownIds(0).size(), 203);
    TGameGrid* grid = FGrids[0];
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    ASSERT_EQ(grid->verticalScrollBar()->maximum(), 51 * 100 - grid->viewport()->height());
    ASSERT_TRUE(PumpEventsUntil([&] { return grid->ScreenComplete(); }));
    EXPECT_TRUE(Shows(0, 202, ColourOf(202)));
    const QRect picture = grid->PictureRect(Cell(0, 201));
    Click(0, picture.center(), Qt::RightButton);
    Click(0, grid->CaptionRect(Cell(0, 201)).center());
    EXPECT_TRUE(FPlayed.isEmpty()) << "only a left click on a picture plays";
    Click(0, picture.center());
    EXPECT_EQ(FPlayed, QStringList{"201"});
}

// A long list comes back in batches; the grid lays out the first before the rest arrive.
TEST(GameGrid, ARebuiltListComesBackWhereItWasLeftAsItsRowsCome) {
    TThumbnailLoader thumbnails(QSize(121, 71));
    TLibraryModel model;
    TGameGrid grid(QStringLiteral("sbAll"));
    grid.SetThumbnails(&thumbnails);
    grid.setModel(&model);
    grid.resize(640, 400);
    grid.show();
    const auto games = [](int first, int count) {
        QList<TLibraryGame> rows;
        for (int i = first; i < first + count; ++i)
            rows.append({QString::number(i), QStringLiteral("game %1").arg(i), "g.gif", 1, 1, 0});
        return rows;
    };
    model.Reset(QStringLiteral("/nowhere"), games(0, 400));
    QApplication::processEvents();
    grid.verticalScrollBar()->setValue(5000);

    grid.HoldPlace();
    model.Reset(QStringLiteral("/nowhere"), games(0, 64));
    QApplication::processEvents();
    EXPECT_LT(grid.verticalScrollBar()->value(), 5000);
    model.AddRows(games(64, 336));
    EXPECT_EQ(grid.verticalScrollBar()->value(), 5000);
    EXPECT_EQ(grid.indexAt(QPoint(10, 10)).row(), 200);

    // Another search or order starts from the top.
    grid.HoldPlace();
    model.SetQuery(QStringLiteral("game 1"));
    grid.ShowTop();
    model.AddRows(games(400, 100));
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
}

TEST_F(LocalGamesView, EveryBuildReplacesTheLastWhicheverPageHeldIt) {
    StoreGamesWithPictures(3);
    ASSERT_TRUE(Load(0));
    ASSERT_TRUE(Load(1));
    EXPECT_TRUE(ShownIds(0).isEmpty());
    EXPECT_TRUE(ShownIds(1).isEmpty());
    EXPECT_EQ(EmptyNote(1),
              QStringLiteral("还没有收藏的游戏。玩游戏时点“添加到我的收藏”，它就会出现在这里。"));
    EXPECT_TRUE(EmptyNote(0).isEmpty());

    // A favourite marked in the player shows at the next switch.
    ASSERT_EQ(MarkFavourite(FConnection->Database(), QStringLiteral("1")), 1);
    ASSERT_TRUE(Load(1));
    EXPECT_EQ(ShownIds(1), QStringList({"1"}));
    EXPECT_TRUE(EmptyNote(1).isEmpty());
    EXPECT_TRUE(Shows(1, 0, ColourOf(1)));

    ASSERT_TRUE(Load(0));
    EXPECT_EQ(ShownIds(0), QStringList({"0", "1", "2"}));
    EXPECT_TRUE(ShownIds(1).isEmpty());
}

TEST_F(LocalGamesView, TheWeekPageFollowsTheClock) {
    TClock::SetNowForTesting([] { return QDateTime(QDate(2008, 12, 17), QTime(15, 30)); });
    WritePicture(QStringLiteral("w.gif"), Qt::green);
    StoreGame(QStringLiteral("old"), QStringLiteral("old"), QStringLiteral("w.gif"),
              QDateTime(QDate(2008, 12, 10), QTime(23, 59)));
    StoreGame(QStringLiteral("new"), QStringLiteral("new"), QStringLiteral("w.gif"),
              QDateTime(QDate(2008, 12, 11), QTime(0, 0)));
    ASSERT_TRUE(Load(2));
    EXPECT_EQ(ShownIds(2), QStringList({"new"}));
}

TEST_F(LocalGamesView, UndecodablePicturesShowThePlaceholderAndTheListGoesOn) {
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("My GiF games")));
    const QByteArray whole = Encoded(PlainImage(Qt::red), PictureFormat::Jpeg);
    WriteFile(FProgramFolder + QStringLiteral("pic/cut.jpg"), whole.left(whole.size() / 2));
    WriteFile(FProgramFolder + QStringLiteral("pic/empty.png"), QByteArray());
    WriteFile(FProgramFolder + QStringLiteral("pic/page.gif"), "<html>404</html>");
    WriteFile(FProgramFolder + QStringLiteral("pic/odd.emf"), QByteArray(100, '\1'));
    WritePicture(QStringLiteral("fine.jpg"), Qt::blue);
    WritePicture(QStringLiteral("fine.bmp"), Qt::green);
    for (const char* name : {"cut.jpg", "empty.png", "page.gif", "odd.emf", "fine.jpg", "fine.bmp"})
        StoreGame(QLatin1String(name), QLatin1String(name), QLatin1String(name));
    ASSERT_TRUE(Load(0));
    ASSERT_EQ(ShownIds(0).size(), 6);
    EXPECT_TRUE(Shows(0, 0, kPlaceholderJpeg));
    EXPECT_TRUE(Shows(0, 1, kPlaceholderGif)); // no nopic.png here
    EXPECT_TRUE(Shows(0, 2, kPlaceholderGif));
    EXPECT_TRUE(Shows(0, 3, kPlaceholderGif));
    EXPECT_TRUE(Shows(0, 4, Qt::blue)) << "a folder named GIF decodes each file by its kind";
    EXPECT_TRUE(Shows(0, 5, Qt::green));
}

TEST_F(LocalGamesView, APictureChangedOnDiskShowsAtTheNextVisit) {
    StoreGamesWithPictures(1, QStringLiteral("gif"));
    ASSERT_TRUE(Load(0));
    ASSERT_TRUE(Shows(0, 0, ColourOf(0)));
    WritePicture(QStringLiteral("g0.gif"), Qt::yellow);
    QFile file(FProgramFolder + QStringLiteral("pic/g0.gif"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    ASSERT_TRUE(Load(0));
    EXPECT_TRUE(Shows(0, 0, Qt::yellow));
}

TEST_F(LocalGamesView, ADatabaseFailureIsReportedAndThePreviousListStays) {
    StoreGamesWithPictures(2);
    ASSERT_TRUE(Load(0));
    QSqlQuery(FConnection->Database()).exec(QStringLiteral("drop table flash"));
    ASSERT_TRUE(Load(1));
    EXPECT_EQ(FFailures, QStringList{"no such table: flash"});
    EXPECT_EQ(ShownIds(0), QStringList({"0", "1"}));
}

TEST_F(LocalGamesView, SearchFindsNamesByTextAndByPinyinFullOrInitialsAndEscClearsIt) {
    const QStringList names{"泡泡龙", "超级玛丽", "坦克大战", "Q版泡泡堂", "Pac-Man"};
    WritePicture(QStringLiteral("s.gif"), Qt::green);
    for (int i = 0; i < names.size(); ++i)
        StoreGame(QString::number(i), names[i], QStringLiteral("s.gif"));
    ASSERT_TRUE(Load(0));
    const auto found = [&](const QString& typed) {
        FSearch->setText(typed);
        PumpEventsUntil([&] { return FGrids[0]->ScreenComplete(); });
        return ShownIds(0);
    };
    EXPECT_EQ(found(QStringLiteral("泡泡")), QStringList({"0", "3"}));
    EXPECT_EQ(found(QStringLiteral("paopaolong")), QStringList{"0"});
    EXPECT_EQ(found(QStringLiteral("pao pao long")), QStringList{"0"});
    EXPECT_EQ(found(QStringLiteral("PPL")), QStringList{"0"});
    EXPECT_EQ(found(QStringLiteral("cj")), QStringList{"1"});
    EXPECT_EQ(found(QStringLiteral("pac")), QStringList{"4"});
    EXPECT_EQ(found(QStringLiteral("pa")), QStringList({"0", "3", "4"}));
    EXPECT_EQ(found(QStringLiteral("龙龙")), QStringList());
    EXPECT_EQ(EmptyNote(0),
              QStringLiteral("没有找到名称或拼音与所输入的相符的游戏。按 Esc 清除搜索。"));

    // A page visited while searching shows what the search finds on it.
    FSearch->setText(QStringLiteral("tkdz"));
    ASSERT_EQ(MarkFavourite(FConnection->Database(), QStringLiteral("2")), 1);
    ASSERT_TRUE(Load(1));
    EXPECT_EQ(ShownIds(1), QStringList{"2"});
    ASSERT_TRUE(Load(0));
    FSearch->setFocus();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(FSearch, &escape);
    EXPECT_TRUE(FSearch->text().isEmpty());
    EXPECT_EQ(ShownIds(0).size(), names.size());
}

TEST_F(LocalGamesView, SortsByLastPlayedByTimesPlayedAndByNameInChineseOrder) {
    const QStringList names{"坦克大战", "超级玛丽", "阿拉丁", "泡泡龙"};
    WritePicture(QStringLiteral("s.gif"), Qt::green);
    for (int i = 0; i < names.size(); ++i)
        StoreGame(QString::number(i), names[i], QStringLiteral("s.gif"));
    ASSERT_TRUE(Load(0)); // the first visit makes the history's table
    const QDateTime evening(QDate(2008, 12, 17), QTime(20, 0));
    TPlayRecorder plays([this] { return FConnection->Database(); });
    for (const auto& [id, minute] : {std::pair{"3", 0}, {"1", 5}, {"3", 10}, {"0", 20}}) {
        TClock::SetNowForTesting([=] { return evening.addSecs(60 * minute); });
        plays.Started(QLatin1String(id));
    }
    plays.Halted();

    const auto shownIn = [&](TLibrarySort sort, int page = 0) {
        FView->SetSortOrder(sort);
        EXPECT_TRUE(Load(page));
        return ShownIds(page);
    };
    EXPECT_EQ(shownIn(TLibrarySort::LastPlayed), QStringList({"0", "3", "1", "2"}));
    EXPECT_EQ(shownIn(TLibrarySort::TimesPlayed), QStringList({"3", "0", "1", "2"}));
    EXPECT_EQ(shownIn(TLibrarySort::Name), QStringList({"2", "1", "3", "0"}));
    EXPECT_EQ(shownIn(TLibrarySort::Stored), QStringList({"0", "1", "2", "3"}));
    EXPECT_EQ(shownIn(TLibrarySort::Stored, 3), QStringList({"0", "3", "1"}));
    const QString tip = Cell(3, 1).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(QStringLiteral("最近玩过：2008-12-17 20:10"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("玩过 2 次，共 15 分钟"))) << tip.toStdString();
}

} // namespace
