#include "shell/game/file_ext.h"

QString ExtractFileExt(const QString& name) {
    for (qsizetype at = name.size() - 1; at >= 0; --at) {
        const QChar c = name.at(at);
        if (c == QLatin1Char('.'))
            return name.mid(at);
        if (c == QLatin1Char('\\') || c == QLatin1Char(':'))
            return {};
    }
    return {};
}
