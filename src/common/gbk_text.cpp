#include "common/gbk_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString FromGbk(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

QByteArray ToGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}
