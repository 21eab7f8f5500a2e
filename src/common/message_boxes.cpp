#include "common/message_boxes.h"

#include "common/application_title.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

// What a title bar spends beside its caption: the window's icon, three buttons and margins.
constexpr int kTitleBarDecorations = 144;

TMessageSink& Sink() {
    static TMessageSink sink;
    return sink;
}

void Show(TMessageKind kind, const QString& text) {
    if (Sink()) {
        Sink()(kind, text);
        return;
    }
    QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    ApplicationTitle(), text, QMessageBox::Ok, QApplication::activeWindow());
    // Texts come from the catalogue and the network: "<b>" is shown as sent, never as markup.
    box.setTextFormat(Qt::PlainText);
    KeepCaptionWhole(box);
    box.exec();
}

} // namespace

QString StandardErrorText(const QString& failureText) {
    if (!failureText.isEmpty() && failureText.back() > QLatin1Char('.'))
        return failureText + QLatin1Char('.');
    return failureText;
}

void ShowStandardError(const QString& failureText) {
    Show(TMessageKind::Error, StandardErrorText(failureText));
}

void ShowPlainMessage(const QString& text) {
    Show(TMessageKind::Plain, text);
}

// A box is only as wide as its text and buttons, and room for the caption is reckoned in the
// application's font (Tahoma 8 here) plus 50 pixels, while the window manager draws it in its
// larger, bold title font beside its buttons: "Pebblo客户端" came out as "P...". The caption is
// measured in the title font, a quarter larger for managers whose font is larger still.
void KeepCaptionWhole(QMessageBox& box) {
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) * 5 / 4;
    // The box sizes itself to its layout's minimum when shown; a spacer of no height raises it.
    auto* layout = qobject_cast<QGridLayout*>(box.layout());
    if (layout == nullptr)
        return;
    layout->addItem(new QSpacerItem(captionWidth + kTitleBarDecorations, 0, QSizePolicy::Fixed,
                                    QSizePolicy::Fixed),
                    layout->rowCount() - 1, 0, 1, layout->columnCount());
}

void SetMessageSinkForTesting(TMessageSink sink) {
    Sink() = std::move(sink);
}
