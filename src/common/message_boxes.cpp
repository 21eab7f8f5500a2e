#include "common/message_boxes.h"

#include "common/application_title.h"

#include <QApplication>
#include <QMessageBox>

namespace {

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

void SetMessageSinkForTesting(TMessageSink sink) {
    Sink() = std::move(sink);
}
