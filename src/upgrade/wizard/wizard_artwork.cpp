#include "upgrade/wizard/wizard_artwork.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <functional>

namespace {

// The sixteen colours of the classic palette, in the order of its table.
const QList<QRgb> kPalette16 = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

QColor Colour(int index) {
    return QColor(kPalette16[index]);
}

constexpr int kBlack = 0, kGreen = 2, kNavy = 4, kTeal = 6, kSilver = 7, kGrey = 8, kLime = 10,
              kYellow = 11, kBlue = 12, kAqua = 14, kWhite = 15;

constexpr int kSeeThrough = -1;

// Draws without smoothing, in the palette's colours only, on a background colour or, for an
// icon, on a see-through background.
QPixmap Drawn(QSize size, int background, const std::function<void(QPainter&)>& draw) {
    QImage canvas(size, QImage::Format_ARGB32);
    canvas.fill(background == kSeeThrough ? QColor(Qt::transparent) : Colour(background));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter);
    painter.end();
    return QPixmap::fromImage(canvas);
}

// A box of the program with a disk on its way in: what an upgrade brings.
void DrawSidePicture(QPainter& painter) {
    for (int band = 0; band < 6; ++band) // a night sky lightening towards the ground
        painter.fillRect(0, 140 + band * 13, 118, 13, Colour(band % 2 ? kTeal : kNavy));
    painter.setPen(Colour(kWhite));
    for (const QPoint star : {QPoint(14, 12), QPoint(92, 20), QPoint(40, 34), QPoint(104, 52),
                              QPoint(20, 70), QPoint(70, 8)})
        painter.drawPoint(star);

    painter.setPen(Colour(kBlack));
    painter.setBrush(Colour(kSilver)); // the computer
    painter.drawRect(22, 118, 74, 54);
    painter.setBrush(Colour(kBlue));
    painter.drawRect(28, 124, 62, 40);
    painter.setBrush(Colour(kGrey));
    painter.drawRect(40, 172, 38, 8);
    painter.drawRect(28, 180, 62, 10);

    painter.setBrush(Colour(kLime)); // the arrow coming down into the screen
    painter.drawPolygon(QPolygon({QPoint(50, 64), QPoint(68, 64), QPoint(68, 96), QPoint(80, 96),
                                  QPoint(59, 118), QPoint(38, 96), QPoint(50, 96)}));
    painter.setBrush(Colour(kYellow)); // the disk it brings
    painter.drawRect(42, 26, 34, 34);
    painter.setBrush(Colour(kWhite));
    painter.drawRect(48, 26, 22, 12);
    painter.setBrush(Colour(kGreen));
    painter.drawRect(48, 46, 22, 14);

    painter.setPen(Colour(kAqua)); // progress on the screen
    for (int row = 0; row < 3; ++row)
        painter.drawLine(34, 132 + row * 10, 34 + 16 * (row + 1), 132 + row * 10);
}

void DrawQuestionIcon(QPainter& painter) {
    painter.setPen(QPen(Colour(kNavy), 1));
    painter.setBrush(Colour(kBlue));
    painter.drawEllipse(2, 2, 28, 28);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour(kWhite)); // an upward arrow: a newer version
    painter.drawPolygon(QPolygon({QPoint(16, 6), QPoint(26, 17), QPoint(20, 17), QPoint(20, 26),
                                  QPoint(12, 26), QPoint(12, 17), QPoint(6, 17)}));
}

void DrawPasswordIcon(QPainter& painter) {
    painter.setPen(QPen(Colour(kGrey), 4)); // the shackle
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(9, 3, 14, 18, 0, 180 * 16);
    painter.drawLine(9, 12, 9, 16);
    painter.drawLine(23, 12, 23, 16);
    painter.setPen(QPen(Colour(kBlack), 1)); // the body with its keyhole
    painter.setBrush(Colour(kYellow));
    painter.drawRect(4, 15, 24, 15);
    painter.setBrush(Colour(kBlack));
    painter.drawEllipse(14, 19, 4, 4);
    painter.drawRect(15, 22, 2, 5);
}

} // namespace

QPixmap WizardSidePicture() {
    return Drawn(QSize(118, 218), kNavy, DrawSidePicture);
}

QPixmap UpgradeQuestionIcon() {
    return Drawn(QSize(32, 32), kSeeThrough, DrawQuestionIcon);
}

QPixmap PasswordIcon() {
    return Drawn(QSize(32, 32), kSeeThrough, DrawPasswordIcon);
}
