#include "library/thumbnail_loader.h"
#include "picture_files.h"
#include "support/pump_events.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr QSize kThumbnail(121, 71);
constexpr qsizetype kThumbnailBytes = 121 * 71 * 4;

class ThumbnailLoader : public ::testing::Test {
protected:
    TPictureRef Write(const QString& name, const QByteArray& bytes) const {
        const QString path = FFolder.filePath(name);
        WriteFile(path, bytes);
        return PictureRefOf(path);
    }
    TPictureRef Write(const QString& name, QColor colour) const {
        return Write(name, Encoded(PlainImage(colour), PictureFormat::Gif));
    }

    static QRgb DecodedCentre(TThumbnailLoader& loader, const TPictureRef& ref) {
        QImage picture;
        if (loader.Find(ref, &picture) != TThumbnailLoader::TState::Decoded)
            return 0;
        EXPECT_EQ(picture.size(), kThumbnail);
        return picture.pixel(60, 35);
    }

    static void Load(TThumbnailLoader& loader, const QList<TPictureRef>& refs) {
        loader.Request(refs, {});
        ASSERT_TRUE(PumpEventsUntil([&] {
            return std::none_of(refs.begin(), refs.end(), [&](const TPictureRef& ref) {
                return loader.Find(ref) == TThumbnailLoader::TState::Waiting;
            });
        }));
    }

    QTemporaryDir FFolder;
};

TEST_F(ThumbnailLoader, DecodesWhatIsAskedOnceAndAFileAgainOnlyWhenItChanged) {
    TThumbnailLoader loader(kThumbnail);
    QList<TPictureRef> decoded;
    QObject::connect(&loader, &TThumbnailLoader::Decoded,
                     [&](const TPictureRef& ref) { decoded.append(ref); });
    const TPictureRef red = Write(QStringLiteral("a.gif"), Qt::red);
    const TPictureRef broken = Write(QStringLiteral("b.png"), QByteArray("<html>404</html>"));
    EXPECT_EQ(loader.Find(red), TThumbnailLoader::TState::Waiting);
    ASSERT_NO_FATAL_FAILURE(Load(loader, {red, broken, red}));
    EXPECT_EQ(decoded.size(), 2);
    EXPECT_EQ(DecodedCentre(loader, red), qRgb(255, 0, 0));
    EXPECT_EQ(loader.Find(broken), TThumbnailLoader::TState::Failed);

    loader.Request({red, broken}, {red});
    EXPECT_EQ(loader.Pending(), 0) << "nothing known is decoded again";

    // The same file rewritten is another picture.
    QFile(red.Path).remove();
    const TPictureRef blue = Write(QStringLiteral("a.gif"), Qt::blue);
    ASSERT_NE(blue, red);
    ASSERT_NO_FATAL_FAILURE(Load(loader, {blue}));
    EXPECT_EQ(DecodedCentre(loader, blue), qRgb(0, 0, 255));
}

TEST_F(ThumbnailLoader, StaysWithinItsBoundAndDropsTheLeastRecentlyFound) {
    TThumbnailLoader loader(kThumbnail, 2 * kThumbnailBytes);
    QList<TPictureRef> refs;
    for (const char* name : {"a.gif", "b.gif", "c.gif"})
        refs.append(Write(QLatin1String(name), Qt::green));
    ASSERT_NO_FATAL_FAILURE(Load(loader, {refs[0]}));
    ASSERT_NO_FATAL_FAILURE(Load(loader, {refs[1]}));
    EXPECT_EQ(loader.Find(refs[0]), TThumbnailLoader::TState::Decoded);
    ASSERT_NO_FATAL_FAILURE(Load(loader, {refs[2]}));
    EXPECT_LE(loader.Bytes(), 2 * kThumbnailBytes);
    EXPECT_EQ(loader.Find(refs[1]), TThumbnailLoader::TState::Waiting);
    EXPECT_EQ(loader.Find(refs[0]), TThumbnailLoader::TState::Decoded);
    EXPECT_EQ(loader.Find(refs[2]), TThumbnailLoader::TState::Decoded);
}

// The pool is told to stop what it has not begun; the loader can go while pictures decode.
TEST_F(ThumbnailLoader, GoesAtOnceWithHundredsOfPicturesAsked) {
    QList<TPictureRef> refs;
    const QByteArray bytes = Encoded(PlainImage(Qt::red, 800, 600), PictureFormat::Png);
    for (int i = 0; i < 300; ++i)
        refs.append(Write(QStringLiteral("%1.png").arg(i), bytes));
    auto loader = std::make_unique<TThumbnailLoader>(kThumbnail);
    loader->Request(refs, {});
    ASSERT_TRUE(PumpEventsUntil(
        [&] { return loader->Find(refs[0]) != TThumbnailLoader::TState::Waiting; }));
    loader.reset();
    QCoreApplication::processEvents();
}

} // namespace
