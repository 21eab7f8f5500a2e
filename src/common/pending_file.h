#pragma once

#include <QTemporaryFile>

// A file written under a temporary name beside its target, which takes the target's name only
// when it is published and is removed otherwise, so a half-written file never bears the
// target's name. It is not forced to disk before the rename: what it holds (a downloaded game)
// can be fetched again, and forcing hundreds of megabytes to disk would halve the download.
class TPendingFile : public QTemporaryFile {
public:
    explicit TPendingFile(const QString& targetPath);

    // Closes the file and gives it the target's name, replacing a file of that name.
    bool Publish();

private:
    QString FTargetPath;
};
