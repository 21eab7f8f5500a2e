#include "common/common_method.h"
#include "common/date_time.h"
#include "common/failure.h"
#include "common/program_folder.h"
#include "library/flash_statements.h"
#include "library/library_connection.h"
#include "library/local_games_view.h"
#include "library/picture_thumbnail.h"
#include "picture_files.h"
#include "support/pump_events.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollArea>
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

// A program folder with its library and pictures, and the three pages in a shown window.
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
        for (QScrollArea*& area : FAreas) {
            area = new QScrollArea;
            area->setWidget(new QWidget);
            column->addWidget(area);
        }
        FWindow->resize(640, 900);
        FWindow->show();
        FView = std::make_unique<TLocalGamesView>(
            FAreas[0], FAreas[1], FAreas[2], [this] { return FConnection->Database(); },
            FProgramFolder, [this](QObject* thumbnail) { FPlayed.append(thumbnail); });
        // The small grids here are built whole in their first slice, even in a slow (sanitizer)
        // build; the test of slices sets its own budget.
        FView->SetSliceBudgetForTesting(1000);
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
        const QDateTime first = QDateTime::currentDateTime().addSecs(-3600);
        for (int i = 0; i < count; ++i) {
            const QString picName = QStringLiteral("g%1.%2").arg(i).arg(extension);
            WritePicture(picName, ColourOf(i));
            StoreGame(QString::number(i), QStringLiteral("game %1").arg(i), picName,
                      first.addSecs(60 * i));
        }
    }

    static QColor ColourOf(int i) { return QColor::fromHsv((i * 37) % 360, 200, 220); }

    QStringList ShownIds() const {
        QStringList ids;
        for (const TThumbnail* thumbnail : FView->Thumbnails())
            ids.append(thumbnail->property("hint").toString());
        return ids;
    }

    // Where a cell sits in its page's scroll area, whatever widgets lie between.
    QPoint GridPosition(const QWidget* cell) const {
        for (const QScrollArea* area : FAreas) {
            if (area->widget() && area->widget()->isAncestorOf(cell))
                return cell->mapTo(area->widget(), QPoint(0, 0));
        }
        return {-1, -1};
    }

    bool IsOnPage(const QWidget* cell, int page) const {
        return FAreas[size_t(page)]->widget() && FAreas[size_t(page)]->widget()->isAncestorOf(cell);
    }

    qsizetype VisibleThumbnailsOn(int page) const {
        const QList<TThumbnail*> all = FAreas[size_t(page)]->widget()->findChildren<TThumbnail*>();
        return std::count_if(all.begin(), all.end(), [](auto* t) { return t->isVisible(); });
    }

    static bool Shows(const TThumbnail* thumbnail, QColor colour, int tolerance = 4) {
        const QRgb centre = thumbnail->Picture().pixel(60, 35);
        return std::abs(qRed(centre) - colour.red()) <= tolerance &&
               std::abs(qGreen(centre) - colour.green()) <= tolerance &&
               std::abs(qBlue(centre) - colour.blue()) <= tolerance;
    }

    static void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF at(10, 10);
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }

    QTemporaryDir FRoot;
    QString FProgramFolder;
    std::unique_ptr<TLibraryConnection> FConnection;
    std::unique_ptr<QWidget> FWindow;
    std::array<QScrollArea*, 3> FAreas{};
    std::unique_ptr<TLocalGamesView> FView;
    QList<QObject*> FPlayed;
};

TEST_F(LocalGamesView, FillsRowsOfFourCellsInStoredOrder) {
    StoreGamesWithPictures(5);
    FView->LoadLocalGames(0);
    ASSERT_EQ(ShownIds(), QStringList({"0", "1", "2", "3", "4"}));
    const QList<QPoint> corners{{5, 5}, {155, 5}, {305, 5}, {455, 5}, {5, 105}};
    for (int i = 0; i < 5; ++i) {
        const TThumbnail* thumbnail = FView->Thumbnails()[i];
        const QLabel* caption = FView->Captions()[i];
        EXPECT_EQ(GridPosition(thumbnail), corners[i]) << i;
        EXPECT_EQ(thumbnail->size(), QSize(121, 71));
        EXPECT_EQ(GridPosition(caption), QPoint(corners[i].x(), corners[i].y() + 75));
        EXPECT_EQ(caption->width(), 121);
        EXPECT_EQ(caption->height(), caption->fontMetrics().height());
        EXPECT_EQ(caption->alignment(), Qt::AlignCenter);
        EXPECT_FALSE(caption->autoFillBackground());
        EXPECT_EQ(caption->text(), QStringLiteral("game %1").arg(i));
        EXPECT_TRUE(thumbnail->isVisible() && caption->isVisible());
        EXPECT_EQ(thumbnail->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(Shows(thumbnail, ColourOf(i))) << i;
    }
    EXPECT_EQ(GridPosition(FView->Captions()[4]).y(), 180);
}

TEST_F(LocalGamesView, TrimsNamesShowsThemAsSentAndKeepsTheIdOutOfSight) {
    WritePicture(QStringLiteral("a.gif"), Qt::red);
    StoreGame(QStringLiteral("it's"), QStringLiteral(" \t坦克大战  "), QStringLiteral("a.gif"));
    StoreGame(QStringLiteral("2"), QStringLiteral("<b>粗</b>&amp;<br>"), QStringLiteral("a.gif"));
    FView->LoadLocalGames(0);
    ASSERT_EQ(FView->Captions().size(), 2);
    EXPECT_EQ(FView->Captions()[0]->text(), QStringLiteral("坦克大战"));
    EXPECT_EQ(FView->Captions()[1]->text(), QStringLiteral("<b>粗</b>&amp;<br>"));
    EXPECT_EQ(FView->Captions()[1]->textFormat(), Qt::PlainText) << "a name is never markup";
    EXPECT_EQ(FView->Thumbnails()[0]->property("hint").toString(), QStringLiteral("it's"));
    EXPECT_TRUE(FView->Thumbnails()[0]->toolTip().isEmpty());
}

TEST_F(LocalGamesView, ALeftClickPlaysTheClickedGame) {
    StoreGamesWithPictures(2);
    WritePicture(QStringLiteral("q.png"), Qt::red);
    StoreGame(QStringLiteral("a'b"), QStringLiteral("quoted"), QStringLiteral("q.png"));
    FView->LoadLocalGames(0);
    ASSERT_EQ(FView->Thumbnails().size(), 3);
    Click(FView->Thumbnails()[2], Qt::RightButton);
    EXPECT_TRUE(FPlayed.isEmpty());
    Click(FView->Thumbnails()[2]);
    ASSERT_EQ(FPlayed.size(), 1);
    EXPECT_EQ(FPlayed[0], FView->Thumbnails()[2]);
    EXPECT_EQ(FPlayed[0]->property("hint").toString(), QStringLiteral("a'b"));
}

TEST_F(LocalGamesView, ARowWithoutItsPictureFileGivesItsCellToTheNext) {
    StoreGamesWithPictures(3);
    QFile::remove(FProgramFolder + QStringLiteral("pic/g1.jpg"));
    StoreGame(QStringLiteral("empty"), QStringLiteral("no name"), QString());
    FView->LoadLocalGames(0);
    ASSERT_EQ(ShownIds(), QStringList({"0", "2"}));
    EXPECT_EQ(GridPosition(FView->Thumbnails()[1]), QPoint(155, 5));
}

TEST_F(LocalGamesView, FindsPicturesWithoutRegardToLetterCase) {
    WritePicture(QStringLiteral("Tank.JPG"), Qt::blue);
    StoreGame(QStringLiteral("1"), QStringLiteral("tank"), QStringLiteral("tank.jpg"));
    FView->LoadLocalGames(0);
    ASSERT_EQ(FView->Thumbnails().size(), 1);
    EXPECT_TRUE(Shows(FView->Thumbnails()[0], Qt::blue));
}

TEST_F(LocalGamesView, EveryBuildReplacesTheLastWhicheverPageHeldIt) {
    StoreGamesWithPictures(3);
    FView->LoadLocalGames(0);
    const QPointer<TThumbnail> first = FView->Thumbnails()[0];

    FView->LoadLocalGames(1);
    EXPECT_TRUE(FView->Thumbnails().isEmpty());
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    // An empty page says what will come to it.
    const auto emptyNote = [this](int page) {
        const QList<QLabel*> notes =
            FAreas[page]->widget()->findChildren<QLabel*>(QStringLiteral("lblEmptyLibrary"));
        for (QLabel* note : notes) {
            if (note->isVisibleTo(FAreas[page]->widget()))
                return note->text();
        }
        return QString();
    };
    EXPECT_EQ(emptyNote(1),
              QStringLiteral("还没有收藏的游戏。玩游戏时点“添加到我的收藏”，它就会出现在这里。"));
    EXPECT_EQ(VisibleThumbnailsOn(0), 0);
    EXPECT_TRUE(PumpEventsUntil([&] { return first.isNull(); }));

    // A favourite marked in the player shows at the next switch.
    ASSERT_EQ(MarkFavourite(FConnection->Database(), QStringLiteral("1")), 1);
    FView->LoadLocalGames(1);
    ASSERT_EQ(ShownIds(), QStringList({"1"}));
    EXPECT_TRUE(emptyNote(1).isEmpty());
    EXPECT_TRUE(IsOnPage(FView->Thumbnails()[0], 1));
    EXPECT_EQ(GridPosition(FView->Thumbnails()[0]), QPoint(5, 5));

    FView->LoadLocalGames(0);
    EXPECT_EQ(ShownIds(), QStringList({"0", "1", "2"}));
    EXPECT_EQ(VisibleThumbnailsOn(0), 3);
    EXPECT_EQ(VisibleThumbnailsOn(1), 0);
    EXPECT_TRUE(PumpEventsUntil(
        [this] { return FAreas[1]->widget()->findChildren<TThumbnail*>().isEmpty(); }));
}

TEST_F(LocalGamesView, TheWeekPageFollowsTheClock) {
    TClock::SetNowForTesting([] { return QDateTime(QDate(2008, 12, 17), QTime(15, 30)); });
    WritePicture(QStringLiteral("w.gif"), Qt::green);
    StoreGame(QStringLiteral("old"), QStringLiteral("old"), QStringLiteral("w.gif"),
              QDateTime(QDate(2008, 12, 10), QTime(23, 59)));
    StoreGame(QStringLiteral("new"), QStringLiteral("new"), QStringLiteral("w.gif"),
              QDateTime(QDate(2008, 12, 11), QTime(0, 0)));
    FView->LoadLocalGames(2);
    EXPECT_EQ(ShownIds(), QStringList({"new"}));
    EXPECT_TRUE(IsOnPage(FView->Thumbnails()[0], 2));
}

TEST_F(LocalGamesView, AFolderNamedGifDecodesEachPictureByItsOwnKind) {
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("My GiF games")));
    WritePicture(QStringLiteral("a.jpg"), Qt::red);
    WritePicture(QStringLiteral("b.bmp"), Qt::blue);
    WritePicture(QStringLiteral("c.png"), Qt::green);
    StoreGame(QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("a.jpg"));
    StoreGame(QStringLiteral("b"), QStringLiteral("b"), QStringLiteral("b.bmp"));
    StoreGame(QStringLiteral("c"), QStringLiteral("c"), QStringLiteral("c.png"));
    FView->LoadLocalGames(0);
    ASSERT_EQ(FView->Thumbnails().size(), 3);
    EXPECT_TRUE(Shows(FView->Thumbnails()[0], Qt::red));
    EXPECT_TRUE(Shows(FView->Thumbnails()[1], Qt::blue));
    EXPECT_TRUE(Shows(FView->Thumbnails()[2], Qt::green));
}

TEST_F(LocalGamesView, UndecodablePicturesShowThePlaceholderAndTheBuildGoesOn) {
    const QByteArray whole = Encoded(PlainImage(Qt::red), PictureFormat::Jpeg);
    WriteFile(FProgramFolder + QStringLiteral("pic/cut.jpg"), whole.left(whole.size() / 2));
    WriteFile(FProgramFolder + QStringLiteral("pic/empty.png"), QByteArray());
    WriteFile(FProgramFolder + QStringLiteral("pic/page.gif"), "<html>404</html>");
    WriteFile(FProgramFolder + QStringLiteral("pic/odd.emf"), QByteArray(100, '\1'));
    WritePicture(QStringLiteral("fine.jpg"), Qt::blue);
    for (const char* name : {"cut.jpg", "empty.png", "page.gif", "odd.emf", "fine.jpg"})
        StoreGame(QLatin1String(name), QLatin1String(name), QLatin1String(name));
    FView->LoadLocalGames(0);
    ASSERT_EQ(FView->Thumbnails().size(), 5);
    EXPECT_TRUE(Shows(FView->Thumbnails()[0], kPlaceholderJpeg));
    EXPECT_TRUE(Shows(FView->Thumbnails()[1], kPlaceholderGif)); // no nopic.png here
    EXPECT_TRUE(Shows(FView->Thumbnails()[2], kPlaceholderGif));
    EXPECT_TRUE(Shows(FView->Thumbnails()[3], kPlaceholderGif));
    EXPECT_TRUE(Shows(FView->Thumbnails()[4], Qt::blue));
}

TEST_F(LocalGamesView, APictureChangedOnDiskShowsAtTheNextVisit) {
    StoreGamesWithPictures(1, QStringLiteral("gif"));
    FView->LoadLocalGames(0);
    ASSERT_TRUE(Shows(FView->Thumbnails()[0], ColourOf(0)));
    WritePicture(QStringLiteral("g0.gif"), Qt::yellow);
    QFile file(FProgramFolder + QStringLiteral("pic/g0.gif"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    FView->LoadLocalGames(0);
    EXPECT_TRUE(Shows(FView->Thumbnails()[0], Qt::yellow));
}

TEST_F(LocalGamesView, ADatabaseFailureKeepsThePreviousGrid) {
    StoreGamesWithPictures(2);
    FView->LoadLocalGames(0);
    const QPointer<TThumbnail> shown = FView->Thumbnails()[0];
    QSqlQuery(FConnection->Database()).exec(QStringLiteral("drop table flash"));
    try {
        FView->LoadLocalGames(1);
        ADD_FAILURE() << "no failure";
    } catch (const EFailure& failure) {
        EXPECT_EQ(failure.Message(), QStringLiteral("no such table: flash"));
    }
    EXPECT_FALSE(shown.isNull());
    EXPECT_EQ(ShownIds(), QStringList({"0", "1"}));
}

TEST_F(LocalGamesView, ATallGridScrolls) {
    StoreGamesWithPictures(40, QStringLiteral("png"));
    FView->LoadLocalGames(0);
    EXPECT_EQ(FAreas[0]->widget()->height(), 1000);
    QApplication::processEvents();
    EXPECT_GT(FAreas[0]->verticalScrollBar()->maximum(), 0);
}

TEST_F(LocalGamesView, ALargeGridIsBuiltInSlicesAndANewBuildCancelsIt) {
    StoreGamesWithPictures(41, QStringLiteral("bmp"));
    FView->SetSliceBudgetForTesting(0);
    FView->LoadLocalGames(0);
    EXPECT_TRUE(FView->IsBuilding());
    EXPECT_EQ(FView->Thumbnails().size(), 1);
    FView->LoadLocalGames(0);
    ASSERT_TRUE(PumpEventsUntil([this] { return !FView->IsBuilding(); }));
    ASSERT_EQ(FView->Thumbnails().size(), 41);
    // The cancelled build's cells go band by band once the new grid is complete.
    EXPECT_TRUE(PumpEventsUntil(
        [&] { return FAreas[0]->widget()->findChildren<TThumbnail*>().size() == 41; }));
    EXPECT_EQ(FAreas[0]->widget()->findChildren<QLabel*>().size(), 41);
    for (int i = 0; i < 41; ++i) {
        const TThumbnail* thumbnail = FView->Thumbnails()[i];
        EXPECT_EQ(GridPosition(thumbnail), QPoint(i % 4 * 150 + 5, i / 4 * 100 + 5)) << i;
        EXPECT_EQ(GridPosition(FView->Captions()[i]), QPoint(i % 4 * 150 + 5, i / 4 * 100 + 80));
        EXPECT_TRUE(thumbnail->isVisible() && FView->Captions()[i]->isVisible()) << i;
    }
}

} // namespace
