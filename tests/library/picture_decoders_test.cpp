#include "library/picture_decoders.h"
#include "library/picture_folder.h"
#include "library/picture_loader.h"
#include "picture_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

constexpr QSize kThumbnail(121, 71);

QImage DecodeAs(PictureFormat format, const QByteArray& bytes) {
    switch (format) {
    case PictureFormat::Jpeg:
        return DecodeJpeg(bytes, kThumbnail);
    case PictureFormat::Gif:
        return DecodeGif(bytes);
    case PictureFormat::Png:
        return DecodePng(bytes);
    case PictureFormat::Bmp:
        return DecodeWithQtReader(bytes, "bmp");
    }
    return {};
}

const char* NameOf(PictureFormat format) {
    constexpr const char* kNames[] = {"Bmp", "Gif", "Jpeg", "Png"};
    return kNames[int(format)];
}

class EachDecoder : public ::testing::TestWithParam<PictureFormat> {
protected:
    QByteArray Thumbnail() const { return Encoded(GameThumbnail(), GetParam()); }
};

TEST_P(EachDecoder, GivesTheMakersPixels) {
    const QImage decoded = DecodeAs(GetParam(), Thumbnail());
    // JPEG is lossy (the bars' edges ring); the others carry the picture exactly.
    const double allowed = GetParam() == PictureFormat::Jpeg ? 10.0 : 0.0;
    EXPECT_LE(MeanDifference(decoded, ToQImage(GameThumbnail())), allowed);
    if (GetParam() == PictureFormat::Jpeg) {
        EXPECT_LE(MeanDifference(decoded, QImage::fromData(Thumbnail(), "jpg")), 1.0);
    }
}

TEST_P(EachDecoder, RefusesEmptyTruncatedAndForeignBytes) {
    const QByteArray whole = Thumbnail();
    EXPECT_TRUE(DecodeAs(GetParam(), QByteArray()).isNull());
    EXPECT_TRUE(DecodeAs(GetParam(), whole.left(whole.size() / 2)).isNull());
    EXPECT_TRUE(DecodeAs(GetParam(), QByteArray(300, '\xff')).isNull());
    EXPECT_TRUE(DecodeAs(GetParam(), "<html><body>Not Found</body></html>").isNull());
    for (PictureFormat other :
         {PictureFormat::Bmp, PictureFormat::Gif, PictureFormat::Jpeg, PictureFormat::Png}) {
        if (other != GetParam()) {
            EXPECT_TRUE(DecodeAs(GetParam(), Encoded(GameThumbnail(), other)).isNull())
                << "read a " << NameOf(other) << " file";
        }
    }
}

constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kGiB = 1024 * kMiB;

qint64 PeakAddressSpace() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmPeak:"))
            return line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// Runs in a freshly started child, so the peak of its address space is its own: a decoder that
// believed a header would reserve what the header claims there. Exits 0 when Decode gave what
// was expected and the peak grew by less than Allowed; the address space may grow by Cap at
// most, so even a wrong decoder cannot harm the machine.
[[noreturn]] void ExitByPeakGrowth(qint64 cap, qint64 allowed,
                                   const std::function<bool()>& decodesAsExpected) {
    const qint64 before = PeakAddressSpace();
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = rlim_t(before + cap);
    setrlimit(RLIMIT_AS, &limit);
    if (!decodesAsExpected())
        std::exit(1);
    std::exit(PeakAddressSpace() - before < allowed ? 0 : 2);
}

TEST_P(EachDecoder, AnEnormousDeclaredSizeAllocatesNothingOfThatSize) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto refused = [this] {
        for (int side : {8000, 20000}) {
            if (!DecodeAs(GetParam(), WithDeclaredSize(Thumbnail(), GetParam(), side, side))
                     .isNull())
                return false;
        }
        return true;
    };
    EXPECT_EXIT(ExitByPeakGrowth(kGiB, kMaxPictureBytes, refused), ::testing::ExitedWithCode(0),
                "");
}

INSTANTIATE_TEST_SUITE_P(Pictures, EachDecoder,
                         ::testing::Values(PictureFormat::Bmp, PictureFormat::Gif,
                                           PictureFormat::Jpeg, PictureFormat::Png),
                         [](const auto& info) { return std::string(NameOf(info.param)); });

TEST(JpegDecoder, ScalesALargePictureWhileDecodingToJustAboveTheTarget) {
    const QByteArray large =
        Encoded(PlainImage(QColor(200, 40, 90), 1600, 1200), PictureFormat::Jpeg);
    const QImage decoded = DecodeJpeg(large, kThumbnail);
    EXPECT_EQ(decoded.size(), QSize(200, 150));
    EXPECT_NEAR(qRed(decoded.pixel(100, 75)), 200, 3);
    const QByteArray small = Encoded(PlainImage(QColor(200, 40, 90), 120, 90), PictureFormat::Jpeg);
    EXPECT_EQ(DecodeJpeg(small, kThumbnail).size(), QSize(120, 90));
}

// Every coefficient of a progressive file is kept until its last scan: 5000 × 5000 pixels
// declared in a few hundred bytes would take some 75 MiB before the data runs out.
TEST(JpegDecoder, AProgressiveFileHoldsNoMoreThanThePictureBound) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QByteArray progressive = ProgressiveJpeg(GameThumbnail());
    EXPECT_LE(MeanDifference(DecodeJpeg(progressive, kThumbnail), ToQImage(GameThumbnail())), 10.0);
    const QByteArray claims = WithDeclaredSize(progressive, PictureFormat::Jpeg, 5000, 5000);
    EXPECT_EXIT(ExitByPeakGrowth(kGiB, kMaxPictureBytes,
                                 [&] { return DecodeJpeg(claims, kThumbnail).isNull(); }),
                ::testing::ExitedWithCode(0), "");
}

// 41 bytes whose compressed-text chunk declares 2 GiB, which libpng would allocate before it
// found the file ends. Text chunks in a whole file are passed over.
TEST(PngDecoder, AChunkClaimingGigabytesCostsNothingAndTextChunksArePassedOver) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QByteArray claims = PngSignatureAndHeader(1, 1) + QByteArray("\x7f\xff\xff\xffzTXt", 8);
    ASSERT_EQ(claims.size(), 41);
    EXPECT_EXIT(
        ExitByPeakGrowth(3 * kGiB, kMaxPictureBytes, [&] { return DecodePng(claims).isNull(); }),
        ::testing::ExitedWithCode(0), "");

    const QByteArray png = Encoded(GameThumbnail(), PictureFormat::Png);
    const QByteArray text = PngChunk("tEXt", QByteArray("Comment\0made by the catalogue", 30));
    const QByteArray broken = PngChunk("zTXt", QByteArray("Comment\0\0not deflate", 21));
    EXPECT_EQ(MeanDifference(DecodePng(WithChunkAfterHeader(png, text + broken)),
                             ToQImage(GameThumbnail())),
              0.0);
}

// A PNG icon goes through the bounded PNG decoder, not Qt's, which would allocate the 2 GiB its
// text chunk declares. Bitmap icons stay with Qt; an entry reaching beyond the file is no icon.
TEST(IconDecoder, PngIconsAreHeldToThePictureBound) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto icon = [](const QByteArray& picture, int width, int height) {
        return QByteArray::fromStdString(iconOf(picture.toStdString(), width, height));
    };
    const IndexedImage thumbnail = GameThumbnail();
    for (PictureFormat format : {PictureFormat::Png, PictureFormat::Bmp}) {
        const QImage decoded =
            DecodeIco(icon(Encoded(thumbnail, format), thumbnail.width, thumbnail.height));
        EXPECT_EQ(MeanDifference(decoded, ToQImage(thumbnail)), 0.0);
    }
    const QByteArray claims =
        icon(PngSignatureAndHeader(1, 1) + QByteArray("\x7f\xff\xff\xffzTXt", 8), 1, 1);
    EXPECT_EXIT(
        ExitByPeakGrowth(3 * kGiB, kMaxPictureBytes, [&] { return DecodeIco(claims).isNull(); }),
        ::testing::ExitedWithCode(0), "");
    QByteArray beyond = icon(Encoded(thumbnail, PictureFormat::Png), 120, 90);
    beyond.chop(1);
    EXPECT_TRUE(DecodeIco(beyond).isNull());
}

// Sizes that multiply out beyond any file (or to nothing) are refused before a reader sees
// them, with no arithmetic that overflows on the way.
TEST(BitmapDecoder, AHeaderWhoseSizesDoNotAddUpIsNoPicture) {
    const QByteArray bitmap = Encoded(PlainImage(Qt::red), PictureFormat::Bmp);
    for (const auto& [width, height] :
         {std::pair(INT32_MAX, INT32_MAX), std::pair(INT32_MAX, INT32_MIN), std::pair(0, 90),
          std::pair(-120, 90)}) {
        EXPECT_TRUE(
            DecodeWithQtReader(WithDeclaredSize(bitmap, PictureFormat::Bmp, width, height), "bmp")
                .isNull())
            << width << " x " << height;
    }
}

TEST(GifDecoder, KeepsTheTransparentColourOfTheFirstFrame) {
    const QImage decoded = DecodeGif(TransparentGif());
    ASSERT_EQ(decoded.size(), QSize(4, 2));
    EXPECT_EQ(qAlpha(decoded.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(decoded.pixel(1, 1)), 0);
    EXPECT_EQ(decoded.pixel(2, 0), qRgb(255, 0, 0));
    EXPECT_EQ(decoded.pixel(3, 1), qRgb(255, 0, 0));
}

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FFolder.isValid()); }

    QString Write(const QString& name, const QByteArray& bytes) const {
        const QString path = FFolder.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        WriteFile(path, bytes);
        return path;
    }

    static QRgb CentreOf(const QImage& image) {
        return image.pixel(image.width() / 2, image.height() / 2);
    }

    QTemporaryDir FFolder;
};

TEST_F(PictureFiles, TheFilesOwnExtensionChoosesTheDecoderNotItsFolder) {
    EXPECT_EQ(PictureKindOf(QStringLiteral("/a/GIF/b.JPG")), TPictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf(QStringLiteral("/a/gifs/b.jpeg")), TPictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf(QStringLiteral("b.gif.Png")), TPictureKind::Png);
    EXPECT_EQ(PictureKindOf(QStringLiteral("b.BMP")), TPictureKind::Bmp);
    EXPECT_EQ(PictureKindOf(QStringLiteral("b.ico")), TPictureKind::Ico);
    EXPECT_EQ(PictureKindOf(QStringLiteral("b.emf")), TPictureKind::Unknown);
    EXPECT_EQ(PictureKindOf(QStringLiteral("/a.gif/nopic")), TPictureKind::Unknown);

    const QString jpeg = Write(QStringLiteral("gif folder/x.JPG"),
                               Encoded(PlainImage(Qt::green), PictureFormat::Jpeg));
    const QImage thumbnail = LoadThumbnail(jpeg, kThumbnail);
    EXPECT_EQ(thumbnail.size(), kThumbnail);
    EXPECT_NEAR(qGreen(CentreOf(thumbnail)), 255, 3);
}

TEST_F(PictureFiles, PngAndIconFilesLoadAndOthersDoNot) {
    const QString png =
        Write(QStringLiteral("p.png"), Encoded(PlainImage(Qt::blue), PictureFormat::Png));
    EXPECT_EQ(CentreOf(LoadThumbnail(png, kThumbnail)), qRgb(0, 0, 255));

    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::yellow);
    ASSERT_TRUE(icon.save(FFolder.filePath(QStringLiteral("i.ico")), "ico"));
    EXPECT_EQ(CentreOf(LoadThumbnail(FFolder.filePath(QStringLiteral("i.ico")), kThumbnail)),
              qRgb(255, 255, 0));

    const QString emf = Write(QStringLiteral("p.emf"), QByteArray(64, '\1'));
    EXPECT_TRUE(LoadThumbnail(emf, kThumbnail).isNull());
    EXPECT_TRUE(
        LoadThumbnail(FFolder.filePath(QStringLiteral("missing.png")), kThumbnail).isNull());
    QByteArray oversized = Encoded(PlainImage(Qt::blue), PictureFormat::Png);
    oversized.resize(kMaxPictureFileBytes + 1);
    EXPECT_TRUE(LoadThumbnail(Write(QStringLiteral("big.png"), oversized), kThumbnail).isNull());
}

// A file of a few dozen bytes costs a few dozen bytes to read, not the file size limit.
TEST_F(PictureFiles, ASmallFileIsReadWithoutReservingTheFileLimit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString path =
        Write(QStringLiteral("small.png"), Encoded(PlainImage(Qt::blue, 2, 2), PictureFormat::Png));
    ASSERT_LT(QFileInfo(path).size(), 100);
    EXPECT_EXIT(
        ExitByPeakGrowth(kGiB, 4 * kMiB, [&] { return !LoadThumbnail(path, kThumbnail).isNull(); }),
        ::testing::ExitedWithCode(0), "");
}

TEST_F(PictureFiles, FolderFindsNamesWithoutRegardToCaseAndNeverOutsideIt) {
    Write(QStringLiteral("pic/Game.JPG"), "x");
    Write(QStringLiteral("pic/game.jpg"), "x");
    Write(QStringLiteral("pic/Other.Gif"), "x");
    Write(QStringLiteral("secret.gif"), "x");
    QDir().mkpath(FFolder.filePath(QStringLiteral("pic/folder.gif")));
    const TPictureFolder folder(FFolder.filePath(QStringLiteral("pic")));
    const QString pic = FFolder.filePath(QStringLiteral("pic/"));
    EXPECT_EQ(folder.Find(QStringLiteral("Game.JPG")), pic + QStringLiteral("Game.JPG"));
    EXPECT_EQ(folder.Find(QStringLiteral("game.jpg")), pic + QStringLiteral("game.jpg"));
    EXPECT_EQ(folder.Find(QStringLiteral("OTHER.GIF")), pic + QStringLiteral("Other.Gif"));
    EXPECT_EQ(folder.Find(QStringLiteral("../secret.gif")), QString());
    EXPECT_EQ(folder.Find(QStringLiteral("folder.gif")), QString());
    EXPECT_EQ(folder.Find(QString()), QString());
}

} // namespace
