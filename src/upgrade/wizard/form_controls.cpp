#include "upgrade/wizard/form_controls.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

void SetCentredClientSize(QDialog* dialog, int clientWidth, int clientHeight) {
    dialog->setFixedSize(clientWidth, clientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), dialog->size());
        frame.moveCenter(screen->availableGeometry().center());
        dialog->move(frame.topLeft());
    }
}

} // namespace

void MakeDialogFrame(QDialog* dialog, int clientWidth, int clientHeight) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    dialog->setAttribute(Qt::WA_QuitOnClose, false);
    SetCentredClientSize(dialog, clientWidth, clientHeight);
}

QWidget* MakeBottomPanel(QDialog* dialog, int height) {
    return Placed<QWidget>(dialog, QStringLiteral("BottomPanel"),
                           QRect(0, dialog->height() - height, dialog->width(), height));
}

QLabel* PlacedLabel(QWidget* parent, const QString& name, int left, int top) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    return label;
}

QLabel* WrappingLabel(QWidget* parent, const QString& name, int left, int top, int width) {
    QLabel* label = PlacedLabel(parent, name, left, top);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFixedWidth(width);
    return label;
}

QLabel* PictureLabel(QWidget* parent, const QString& name, const QRect& geometry,
                     const QPixmap& picture) {
    auto* label = Placed<QLabel>(parent, name, geometry);
    label->setScaledContents(true);
    label->setPixmap(picture);
    return label;
}

void SetLabelText(QLabel* label, const QString& text) {
    label->setText(text);
    if (label->wordWrap())
        label->setFixedHeight(label->heightForWidth(label->width()));
    else
        label->adjustSize();
}

void FitToMessage(QDialog* dialog, const QLabel* message, QWidget* bottomPanel) {
    const int width = dialog->width();
    const int bottomHeight = bottomPanel->height();
    const int height = message->y() + message->height() + bottomHeight;
    SetCentredClientSize(dialog, width, height);
    bottomPanel->setGeometry(0, height - bottomHeight, width, bottomHeight);
}
