#include "shell/style_sheet_check.h"

#include <QStringDecoder>
#include <QWidget>

namespace {

QtMessageHandler PreviousHandler = nullptr;
bool ParseFailed = false;

// Qt's style-sheet parser is private; a sheet it cannot parse shows only as this warning.
void CatchParseWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("Could not parse"))) {
        ParseFailed = true;
        return;
    }
    if (PreviousHandler)
        PreviousHandler(type, context, text);
}

bool QtParses(const QString& sheet) {
    ParseFailed = false;
    PreviousHandler = qInstallMessageHandler(CatchParseWarning);
    {
        QWidget probe;
        probe.setStyleSheet(sheet);
        probe.ensurePolished();
    }
    qInstallMessageHandler(PreviousHandler);
    return !ParseFailed;
}

} // namespace

QString ValidStyleSheet(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString sheet = decoder(bytes);
    if (decoder.hasError() || sheet.trimmed().isEmpty() || !QtParses(sheet))
        return {};
    return sheet;
}
