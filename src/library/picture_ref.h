#pragma once

#include <QMetaType>
#include <QString>

// A picture file as the list pass found it: its path, length and modification time. A file
// rewritten since is another picture and is decoded again.
struct TPictureRef {
    QString Path; // empty: no picture
    qint64 Size = 0;
    qint64 ModifiedNs = 0;

    bool IsNull() const { return Path.isEmpty(); }
    friend bool operator==(const TPictureRef&, const TPictureRef&) = default;
};

size_t qHash(const TPictureRef& ref, size_t seed = 0);

// The regular file at Path, a null reference when there is none.
TPictureRef PictureRefOf(const QString& path);

Q_DECLARE_METATYPE(TPictureRef)
