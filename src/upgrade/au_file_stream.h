#pragma once

#include <QFile>
#include <memory>

// The output file of a transfer, created anew (an existing file is emptied). A read-only or
// hidden file is replaced too, and keeps the attributes it had.
class TauFileStream : public QFile {
public:
    // Fails with EFailure "Cannot create file "<path>". <reason>".
    static std::unique_ptr<TauFileStream> Create(const QString& fileName);

private:
    explicit TauFileStream(const QString& fileName) : QFile(fileName) {}
};
