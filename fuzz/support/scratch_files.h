#pragma once

#include <QByteArray>
#include <QString>

// Harnesses that reach their parser through a file (thumbnails, config.xml) keep it in a
// folder of this process's own under the temporary folder, removed when the process ends.
QString ScratchPath(const QString& name);

// Replaces the file's contents with Bytes; aborts when it cannot, since the run would mean
// nothing.
void WriteScratchFile(const QString& path, const QByteArray& bytes);
QByteArray ReadScratchFile(const QString& path);
