#include "platform/program_resources.h"

#include <QFile>

std::optional<QByteArray> ReadProgramResource(const QString& type, const QString& name) {
    QFile resource(QStringLiteral(":/") + type + QLatin1Char('/') + name);
    if (!resource.open(QIODevice::ReadOnly))
        return std::nullopt;
    return resource.readAll();
}
