#include "upgrade/au_file_stream.h"

#include "common/failure.h"
#include "platform/file_attributes.h"

#include <QFileInfo>

std::unique_ptr<TauFileStream> TauFileStream::Create(const QString& fileName) {
    const std::optional<quint32> previous = ReadFileAttributes(fileName);
    if (previous && (*previous & (WindowsAttribute::ReadOnly | WindowsAttribute::Hidden)) != 0)
        WriteFileAttributes(fileName, WindowsAttribute::Archive);
    std::unique_ptr<TauFileStream> stream(new TauFileStream(fileName));
    if (!stream->open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        if (previous)
            WriteFileAttributes(fileName, *previous);
        throw EFailure(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QFileInfo(fileName).absoluteFilePath(), stream->errorString()));
    }
    if (previous)
        WriteFileAttributes(fileName, *previous);
    return stream;
}
